// The recording controls on their own: a menu, a port group and a recorder
// writing to a list. Offered only while connected; a start names a new file
// in the recordings folder and puts the settings block first; a stop says
// where the file is; a full disk ends the recording and a box names the file
// after the answer that found it has been handled.
#include "app/recording/RecordingControl.h"
#include "app/recording/SessionRecorder.h"
#include "app/common/StatusNotice.h"
#include "app/common/UserMessage.h"

#include "record/RecordingWriter.h"
#include "tests/live/LiveFrameBytes.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Disk
{
    QString path;
    QList<RecordKind> kinds;
    int room = 1000;
};

class ListSink : public RecordSink
{
public:
    explicit ListSink(Disk &disk) : m_disk(disk) {}
    bool open(const QString &path, const QString &, const QDateTime &) override
    {
        m_disk.path = path;
        return true;
    }
    void append(RecordKind kind, qint64, const QByteArray &) override
    {
        if (m_disk.kinds.size() >= m_disk.room)
            m_failed = true;
        else
            m_disk.kinds << kind;
    }
    void close() override {}
    bool failed() const override { return m_failed; }
    QString errorText() const override { return QStringLiteral("No space left on device"); }

private:
    Disk &m_disk;
    bool m_failed = false;
};

class RecordingControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        UserMessage::setInterceptor([this](const QString &text) { boxes << text; });
        window.setStatusBar(new QStatusBar(&window));
        auto *file = new QMenu(&window);
        file->addSeparator();
        file->addAction(QStringLiteral("Exit"));
        portGroup = new QWidget(&window);
        new QVBoxLayout(portGroup);
        RecordingControl::Link link;
        link.connected = [this] { return connected; };
        link.portName = [] { return QStringLiteral("COM5"); };
        link.storedSettings = [] { return QByteArray(602, 'K'); };
        control = std::make_unique<RecordingControl>(&window, file, portGroup, recorder, std::move(link),
                                                     [](const QString &key) { return key + QStringLiteral(" %1 %2"); });
        control->setFolder(folder.filePath(QStringLiteral("ZENU recordings")));
        menu = file;
    }
    void TearDown() override { UserMessage::setInterceptor({}); }

    QTemporaryDir folder;
    Disk disk;
    SessionRecorder recorder{[this] { return std::make_unique<ListSink>(disk); }};
    QMainWindow window;
    QWidget *portGroup = nullptr;
    QMenu *menu = nullptr;
    std::unique_ptr<RecordingControl> control;
    bool connected = false;
    QStringList boxes;
};

TEST_F(RecordingControlTest, ItemsGoBeforeTheSeparatorAndTheButtonUnderTheSwitch)
{
    const QList<QAction *> items = menu->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0], control->recordItem());
    EXPECT_EQ(items[1], control->exportItem());
    EXPECT_TRUE(items[2]->isSeparator());
    EXPECT_EQ(portGroup->layout()->indexOf(control->button()), 0);
}

TEST_F(RecordingControlTest, OfferedOnlyWhileConnected)
{
    EXPECT_FALSE(control->recordItem()->isEnabled());
    EXPECT_FALSE(control->button()->isEnabled());
    connected = true;
    control->refresh();
    EXPECT_TRUE(control->recordItem()->isEnabled());
    EXPECT_TRUE(control->button()->isEnabled());
    EXPECT_TRUE(control->recordItem()->text().startsWith(QStringLiteral("recording.menu_start")));
}

TEST_F(RecordingControlTest, StartAndStopNameTheFileInTheRecordingsFolder)
{
    connected = true;
    control->refresh();
    control->button()->click();
    ASSERT_TRUE(recorder.recording());
    EXPECT_TRUE(QFileInfo(disk.path).dir().exists()) << "the folder is made";
    EXPECT_EQ(QFileInfo(disk.path).dir().dirName(), "ZENU recordings");
    EXPECT_TRUE(QFileInfo(disk.path).fileName().contains(
        QRegularExpression(QStringLiteral("^ZENU-\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.zrec$"))));
    EXPECT_EQ(disk.kinds, (QList<RecordKind>{RecordKind::Settings}));
    EXPECT_TRUE(control->recordItem()->text().startsWith(QStringLiteral("recording.menu_stop")));
    EXPECT_TRUE(control->button()->text().startsWith(QStringLiteral("recording.button_stop 00:00")));

    control->recordItem()->trigger();
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(StatusNotice::current(&window),
              QStringLiteral("recording.saved %1 %2").arg(QDir::toNativeSeparators(disk.path)));
    EXPECT_TRUE(control->recordItem()->text().startsWith(QStringLiteral("recording.menu_start")));
    EXPECT_TRUE(boxes.isEmpty());
}

TEST_F(RecordingControlTest, AFullDiskStopsAndABoxNamesTheFileOnceTheAnswerIsHandled)
{
    disk.room = 3;
    connected = true;
    control->refresh();
    control->recordClicked();
    for (int i = 0; i < 5; ++i)
        recorder.answerApplied(RecordKind::Answer, QByteArray(57, 'L'));
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(disk.kinds.size(), 3);
    EXPECT_TRUE(control->recordItem()->text().startsWith(QStringLiteral("recording.menu_start")));
    EXPECT_TRUE(boxes.isEmpty()) << "not inside the link's handler";
    QCoreApplication::processEvents();
    EXPECT_EQ(boxes, (QStringList{QStringLiteral("recording.write_failed %1 No space left on device")
                                      .arg(QDir::toNativeSeparators(disk.path))}));
}

TEST_F(RecordingControlTest, ExportWritesTheChosenRecordingAsCsvAndRefusesAForeignFile)
{
    const QString recording = folder.filePath(QStringLiteral("drive.zrec"));
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(recording, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()));
    writer.append(RecordKind::Settings, 0, QByteArray(602, '\x01'));
    writer.append(RecordKind::Answer, 240, liveFrame({{21, 30}}));
    writer.append(RecordKind::Answer, 480, liveFrame({{21, 31}}));
    writer.close();

    QString source = recording;
    QString style = QStringLiteral("plain");
    control->setFileChooser([&](RecordingControl::Dialog which) {
        switch (which) {
        case RecordingControl::Dialog::ExportSource: return source;
        case RecordingControl::Dialog::ExportStyle: return style;
        default: return folder.filePath(QStringLiteral("drive"));
        }
    });
    control->exportItem()->trigger();
    QFile csv(folder.filePath(QStringLiteral("drive.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << "the extension is added";
    const QByteArray plain = csv.readAll();
    csv.close();
    EXPECT_EQ(plain.count('\n'), 3) << "a header and one row per answer";
    EXPECT_TRUE(plain.startsWith("time_s,rpm,"));
    EXPECT_TRUE(StatusNotice::current(&window).startsWith(QStringLiteral("record.exported 2 ")));
    EXPECT_TRUE(boxes.isEmpty());

    // For a spreadsheet: the same rows with semicolons; no choice made, no file.
    style = QStringLiteral("sheet");
    control->exportClicked();
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray sheet = csv.readAll();
    csv.close();
    EXPECT_EQ(sheet.count('\n'), 3);
    EXPECT_TRUE(sheet.startsWith("\xEF\xBB\xBFtime_s;rpm;"));
    ASSERT_TRUE(QFile::remove(csv.fileName()));
    style.clear();
    control->exportClicked();
    EXPECT_FALSE(QFile::exists(csv.fileName())) << "cancelled at the style";
    EXPECT_TRUE(boxes.isEmpty());
    style = QStringLiteral("plain");

    source = folder.filePath(QStringLiteral("foreign.zrec"));
    QFile foreign(source);
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("not a recording at all");
    foreign.close();
    control->exportClicked();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("foreign.zrec")));
}

TEST_F(RecordingControlTest, NotConnectedSaysWhyAndStartsNothing)
{
    control->recordClicked();
    EXPECT_FALSE(recorder.recording());
    EXPECT_TRUE(disk.path.isEmpty());
    EXPECT_TRUE(StatusNotice::current(&window).startsWith(QStringLiteral("recording.not_connected")));
}

} // namespace
