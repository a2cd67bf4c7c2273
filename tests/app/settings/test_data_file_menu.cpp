// "Zapis" and "Odczyt" against the link session with a fake port: what goes
// on the line, what reaches the disk, and what the user is told.
#include "app/settings/DataFileMenu.h"
#include "app/common/StatusNotice.h"
#include "app/common/UserMessage.h"

#include "settings/DataFile.h"

#include "i18n/LanguageTable.h"

#include "tests/session/SessionHarness.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QIODevice>
#include <QMainWindow>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <string>

using namespace session_test;

namespace {

constexpr int Seconds = 17;

QByteArray contentsOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A settings answer to the read-all whose bytes differ from the handshake's.
QByteArray savedBlock()
{
    QByteArray data(597, '\0');
    data[0] = 3;
    data[1] = 7;
    data[2] = 7;
    for (int i = 3; i < data.size(); ++i)
        data[i] = char(i * 13 + 5);
    return answer(0x66, data);
}

class DataFileMenuTest : public SessionHarness
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        window.setStatusBar(new QStatusBar(&window));
        UserMessage::setInterceptor([this](const QString &text) { messages << text; });
        menu.setFileChooser([this](DataFileMenu::Dialog which) {
            dialogs << which;
            if (whileChoosing)
                whileChoosing();
            return chosen;
        });
        menu.setSeconds([] { return Seconds; });
    }

    void TearDown() override { UserMessage::setInterceptor({}); }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString text(const char *key) const { return texts.programText(QString::fromLatin1(key)); }
    QString notice() { return StatusNotice::current(&window); }

    // One tick and the whole frame it wrote (a long frame leaves in pieces).
    QByteArray tickFrame()
    {
        const qsizetype before = writer.writes.size();
        tick();
        QByteArray line;
        for (qsizetype i = before; i < writer.writes.size(); ++i)
            line += writer.writes[i];
        if (line.isEmpty())
            return {};
        EXPECT_EQ(uint8_t(line[0]), CommandFrame::Lead);
        return WireCodec::decodeCommand(line.mid(1));
    }

    // The whole save: the menu, the read-all and its answer, then the write
    // the session asks for once the block is applied.
    void save()
    {
        menu.Zapis1Click(&window);
        ASSERT_EQ(tickFrame(), body("aa660010"));
        receive(savedBlock());
        tick();
        ASSERT_EQ(view.dataFileWrites, 1);
        menu.Zapis1Click(nullptr);
    }

    QTemporaryDir dir;
    LanguageTable texts = LanguageTable::builtIn();
    QMainWindow window;
    DataFileMenu menu{&window, session, [this](const QString &key) { return texts.programText(key); }};
    QString chosen;
    QList<DataFileMenu::Dialog> dialogs;
    std::function<void()> whileChoosing;
    QStringList messages;
};

} // namespace

TEST_F(DataFileMenuTest, SaveReadsTheBlockAfreshAndWritesItsFile)
{
    connectAndHandshake();
    chosen = path("golf");
    menu.Zapis1Click(&window);
    EXPECT_EQ(dialogs, QList<DataFileMenu::Dialog>{DataFileMenu::Dialog::Save});
    EXPECT_EQ(menu.boundFile(), path("golf.zen"));
    // A long exchange until the answer is in.
    EXPECT_FALSE(view.windowEnabled);
    EXPECT_TRUE(view.panelsGrey);
    EXPECT_EQ(poll.intervalMs, 240 | 1024);
    EXPECT_EQ(session.commandRetries(), 4); // 5, one used by the framing
    EXPECT_FALSE(QFile::exists(path("golf.zen")));

    EXPECT_EQ(tickFrame(), body("aa660010"));
    receive(savedBlock());
    tick();
    ASSERT_EQ(view.dataFileWrites, 1);
    EXPECT_TRUE(view.windowEnabled);
    menu.Zapis1Click(nullptr);

    const QByteArray file = contentsOf(path("golf.zen"));
    EXPECT_EQ(file.size(), 1219);
    EXPECT_EQ(file, DataFile::encode(savedBlock(), Seconds));
    EXPECT_TRUE(menu.boundFile().isEmpty());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
    EXPECT_TRUE(notice().contains(QDir::toNativeSeparators(path("golf.zen")))) << notice().toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("golf.zen")});
}

// A save the session will not finish: no file, and the user is told why
// once the tick is over. The session's side is in its own tests.
TEST_F(DataFileMenuTest, SaveWhoseAnswerIsShortWritesNothingAndSaysSo)
{
    connectAndHandshake();
    chosen = path("golf");
    menu.Zapis1Click(&window);
    EXPECT_EQ(tickFrame(), body("aa660010"));
    receive(answer(0x66, QByteArray(40, '\x11')));
    tick();
    ASSERT_EQ(view.droppedSaves, QList<LinkView::SaveDropped>{LinkView::SaveDropped::ShortAnswer});
    EXPECT_EQ(view.dataFileWrites, 0);
    menu.saveDropped(view.droppedSaves.last());
    EXPECT_TRUE(menu.boundFile().isEmpty());
    EXPECT_TRUE(messages.isEmpty()); // not inside the tick
    QCoreApplication::processEvents();
    EXPECT_EQ(messages, QStringList{text("datafile.save_short_answer")});
    EXPECT_FALSE(QFile::exists(path("golf.zen")));
    // A later write request finds no file bound.
    menu.Zapis1Click(nullptr);
    EXPECT_FALSE(QFile::exists(path("golf.zen")));

    menu.saveDropped(LinkView::SaveDropped::GroupUnfinished); // nothing bound: nothing to say
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(DataFileMenuTest, SaveBehindAnUnfinishedGroupSaysSo)
{
    connectAndHandshake();
    chosen = path("golf");
    menu.Zapis1Click(&window);
    menu.saveDropped(LinkView::SaveDropped::GroupUnfinished);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages, QStringList{text("datafile.save_group_unfinished")});
    EXPECT_TRUE(menu.boundFile().isEmpty());
}

TEST_F(DataFileMenuTest, SaveKeepsAnOwnExtensionAndReplacesAnOldFileWithoutAQuestion)
{
    connectAndHandshake();
    put(path("golf.txt"), "old contents");
    chosen = path("golf.txt");
    save();
    EXPECT_EQ(contentsOf(path("golf.txt")), DataFile::encode(savedBlock(), Seconds));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_FALSE(QFile::exists(path("golf.txt.zen")));
}

TEST_F(DataFileMenuTest, LoadSendsTheFilesSettingsThenReadsTheBlockBack)
{
    connectAndHandshake();
    QByteArray block = savedBlock();
    block[22] = session.storedSettings()[22]; // the controller's own cylinder count: no injector changes
    put(path("golf.zen"), DataFile::encode(block, 44));
    chosen = path("golf.zen");
    menu.Odczyt1Click(&window);
    EXPECT_EQ(dialogs, QList<DataFileMenu::Dialog>{DataFileMenu::Dialog::Open});
    EXPECT_FALSE(view.windowEnabled);
    EXPECT_EQ(poll.intervalMs, 240 | 1024);

    const QByteArray writeAll = tickFrame();
    ASSERT_EQ(writeAll.size(), 543);
    EXPECT_EQ(writeAll, CommandFrame::frame(QByteArray(1, char(0x1A)) + block.mid(21, 540)));
    receive(liveAnswer(0x1A));
    tick();                    // acknowledged: the read-all is framed
    EXPECT_EQ(tickFrame(), body("aa660010"));
    QByteArray kept = block;
    kept[30] = char(0x42); // what the controller keeps is what shows
    receive(kept);
    tick();
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(session.storedSettings(), kept);
    EXPECT_EQ(view.settingsFrames.last(), kept);
    EXPECT_EQ(view.dataFileWrites, 0);
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
}

// Files the loader refuses: the message "Data file error", nothing on the
// line, and the link polling on as before.
struct RefusedCase
{
    const char *name;
    QByteArray file;
};

class DataFileLoadRefused : public DataFileMenuTest, public testing::WithParamInterface<RefusedCase>
{
};

TEST_P(DataFileLoadRefused, NothingIsSent)
{
    connectAndHandshake();
    put(path("bad.zen"), GetParam().file);
    chosen = path("bad.zen");
    const qsizetype writes = writer.writes.size();
    menu.Odczyt1Click(&window);
    EXPECT_EQ(messages, QStringList{DataFileMenu::DataFileError});
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(poll.intervalMs, 240);
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_EQ(writer.writes.size(), writes);
    EXPECT_EQ(tickFrame(), pollFrame);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DataFileLoadRefused,
    testing::Values(RefusedCase{"Empty", QByteArray()},
                    RefusedCase{"LastHeaderCharDiffers",
                                DataFile::encode(savedBlock(), 3).replace(22, 1, "8")},
                    RefusedCase{"TooShortForTheWriteAll", DataFile::encode(savedBlock(), 3).left(1138)},
                    RefusedCase{"HeaderOnly", DataFile::encode(QByteArray(), 3)}),
    [](const testing::TestParamInfo<RefusedCase> &info) { return std::string(info.param.name); });

TEST_F(DataFileMenuTest, UnreadableFileIsNamedWithItsReasonAndNothingIsSent)
{
    connectAndHandshake();
    for (const QString &name : {path("missing.zen"), dir.path()}) {
        SCOPED_TRACE(name.toStdString());
        messages.clear();
        chosen = name;
        menu.Odczyt1Click(&window);
        ASSERT_EQ(messages.size(), 1);
        EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(name))) << messages[0].toStdString();
        EXPECT_NE(messages[0], text("datafile.read_failed")); // the reason is filled in
        EXPECT_TRUE(session.queue().current().isEmpty());
        EXPECT_TRUE(view.windowEnabled);
    }
    EXPECT_EQ(tickFrame(), pollFrame);
}

TEST_F(DataFileMenuTest, SaveWhereNoFileCanBeWrittenAsksTheControllerNothing)
{
    connectAndHandshake();
    // Not even the superuser can create a file in /proc.
    chosen = QStringLiteral("/proc/golf");
    menu.Zapis1Click(&window);
    ASSERT_EQ(messages.size(), 1);
    const QString start = text("datafile.save_failed").arg(QStringLiteral("/proc/golf.zen"), QString());
    EXPECT_TRUE(messages[0].startsWith(start)) << messages[0].toStdString();
    EXPECT_GT(messages[0].size(), start.size()); // the reason follows
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_TRUE(menu.boundFile().isEmpty());
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(tickFrame(), pollFrame);
    EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/golf.zen")));
}

TEST_F(DataFileMenuTest, SaveIntoAReadOnlyFolderLeavesTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    connectAndHandshake();
    put(path("golf.zen"), "old contents");
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    chosen = path("golf.zen");
    menu.Zapis1Click(&window);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(path("golf.zen")));
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_EQ(contentsOf(path("golf.zen")), "old contents");
}

TEST_F(DataFileMenuTest, SaveInterruptedMidWriteKeepsTheOldFileAndTellsOnceTheTickIsOver)
{
    connectAndHandshake();
    put(path("golf.zen"), "old contents");
    chosen = path("golf.zen");
    menu.setWriteStep([](QIODevice &file, const QByteArray &bytes) {
        file.write(bytes.left(600));
        return qint64(-1);
    });
    save();
    // No box inside the link's tick.
    EXPECT_TRUE(messages.isEmpty());
    QTest::qWait(0);
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(path("golf.zen")))) << messages[0].toStdString();
    EXPECT_EQ(contentsOf(path("golf.zen")), "old contents");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("golf.zen")});
    // The link runs on.
    EXPECT_EQ(tickFrame(), pollFrame);
    EXPECT_FALSE(session.linkState().isEmpty());
}

TEST_F(DataFileMenuTest, WithoutAControllerNeitherAsksForAFileAndTheStatusBarSaysSo)
{
    chosen = path("golf.zen");
    put(chosen, DataFile::encode(savedBlock(), 1));
    menu.Zapis1Click(&window);
    EXPECT_EQ(notice(), text("datafile.save_offline"));
    menu.Odczyt1Click(&window);
    EXPECT_EQ(notice(), text("datafile.load_offline"));
    EXPECT_TRUE(dialogs.isEmpty());
    EXPECT_TRUE(writer.writes.isEmpty());
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(view.windowEnabled);
}

TEST_F(DataFileMenuTest, LinkEndingWhileTheDialogIsOpenSendsNothing)
{
    connectAndHandshake();
    chosen = path("golf.zen");
    put(chosen, DataFile::encode(savedBlock(), 1));
    whileChoosing = [this] { session.rozlacz1Click(); };
    const qsizetype writes = writer.writes.size();
    menu.Odczyt1Click(&window);
    EXPECT_EQ(notice(), text("datafile.load_offline"));
    menu.Zapis1Click(&window);
    EXPECT_EQ(notice(), text("datafile.save_offline"));
    EXPECT_EQ(writer.writes.size(), writes);
    EXPECT_TRUE(menu.boundFile().isEmpty());
    EXPECT_TRUE(view.windowEnabled);
}

TEST_F(DataFileMenuTest, CancelledDialogsChangeNothing)
{
    connectAndHandshake();
    chosen.clear();
    menu.Zapis1Click(&window);
    menu.Odczyt1Click(&window);
    EXPECT_EQ(dialogs.size(), 2);
    EXPECT_TRUE(session.queue().current().isEmpty());
    EXPECT_TRUE(view.windowEnabled);
    EXPECT_EQ(tickFrame(), pollFrame);
}

// During the seconds a save or load keeps the window locked the status bar
// says what is going on, and afterwards what happened, naming the file.
TEST_F(DataFileMenuTest, SaveAndLoadSayWhatTheyDoThenNameTheFile)
{
    connectAndHandshake();
    chosen = path("golf");
    menu.Zapis1Click(&window);
    EXPECT_EQ(notice(), text("datafile.saving"));
    EXPECT_EQ(tickFrame(), body("aa660010"));
    receive(savedBlock());
    tick();
    menu.settingsApplied(); // the window tells every applied block; a save is not a load
    EXPECT_EQ(notice(), text("datafile.saving"));
    menu.Zapis1Click(nullptr);
    EXPECT_EQ(notice(), text("datafile.saved").arg(QDir::toNativeSeparators(path("golf.zen"))));

    chosen = path("golf.zen");
    menu.Odczyt1Click(&window);
    EXPECT_EQ(notice(), text("datafile.loading"));
    EXPECT_EQ(menu.loadingFile(), path("golf.zen"));
    tickFrame();
    receive(liveAnswer(0x1A));
    tick();
    EXPECT_EQ(tickFrame(), body("aa660010"));
    receive(savedBlock());
    tick();
    menu.settingsApplied();
    EXPECT_EQ(notice(), text("datafile.loaded").arg(QDir::toNativeSeparators(path("golf.zen"))));
    EXPECT_TRUE(menu.loadingFile().isEmpty());
    EXPECT_TRUE(messages.isEmpty()) << messages.join(" | ").toStdString();
}

TEST_F(DataFileMenuTest, ALinkEndingMidwaySaysTheFileWasNotLoaded)
{
    connectAndHandshake();
    chosen = path("golf.zen");
    put(chosen, DataFile::encode(savedBlock(), 3));
    menu.Odczyt1Click(&window);
    session.rozlacz1Click();
    menu.linkEnded(); // as the window passes the link's end on
    EXPECT_EQ(notice(), text("datafile.load_broken").arg(QDir::toNativeSeparators(chosen)));
    menu.settingsApplied();
    EXPECT_EQ(notice(), text("datafile.load_broken").arg(QDir::toNativeSeparators(chosen)));
}

// A file with another cylinder count brings its gas injectors (byte 20, not
// in the write-all) as a request for the fuel in use, between the write-all
// and the read-all.
TEST_F(DataFileMenuTest, AFileWithAnotherCylinderCountBringsItsGasInjectors)
{
    connectAndHandshake();
    QByteArray block = savedBlock();
    block[22] = char(uint8_t(session.storedSettings()[22]) == 3 ? 5 : 3);
    block[20] = char(0x3F);
    put(path("six.zen"), DataFile::encode(block, 44));
    bool gas = true;
    menu.setGasInUse([&] { return gas; });
    chosen = path("six.zen");
    menu.Odczyt1Click(&window);
    EXPECT_EQ(tickFrame(), CommandFrame::frame(QByteArray(1, char(0x1A)) + block.mid(21, 540)));
    receive(liveAnswer(0x1A));
    tick();
    EXPECT_EQ(tickFrame(), CommandFrame::frame(QByteArray::fromHex("03033f")));
    receive(liveAnswer(0x03));
    tick();
    EXPECT_EQ(tickFrame(), body("aa660010"));
}

// The dialogs open where the fitter last was, at first in "ZENU" in the documents.
TEST_F(DataFileMenuTest, DialogsOpenInTheLastFolderUsed)
{
    QStandardPaths::setTestModeEnabled(true);
    const QString first = DataFileMenu::defaultFolder();
    EXPECT_TRUE(first.endsWith(QStringLiteral("/ZENU")));
    EXPECT_EQ(menu.dialogFolder(), first);
    EXPECT_TRUE(QFileInfo(first).isDir()) << "made for the first dialog";
    connectAndHandshake();
    chosen = path("golf");
    menu.Zapis1Click(&window);
    EXPECT_EQ(menu.dialogFolder(), QFileInfo(dir.path()).absoluteFilePath());
    QStandardPaths::setTestModeEnabled(false);
}

TEST(DataFileDialogs, CarryTheirNamesAndFilters)
{
    QWidget parent;
    std::unique_ptr<QFileDialog> save(DataFileMenu::makeDialog(DataFileMenu::Dialog::Save, &parent));
    EXPECT_EQ(save->objectName(), QStringLiteral("SaveDialog1"));
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(save->nameFilters(), QStringList{QStringLiteral("*.zen data file (*.zen)")});
    EXPECT_TRUE(save->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_TRUE(save->defaultSuffix().isEmpty());
    std::unique_ptr<QFileDialog> open(DataFileMenu::makeDialog(DataFileMenu::Dialog::Open, &parent));
    EXPECT_EQ(open->objectName(), QStringLiteral("OpenDialog1"));
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
    // Handed the filter with its two blanks; the toolkit shows them as one.
    EXPECT_EQ(open->nameFilters(), QStringList{QStringLiteral("*.zen data file (*.zen)")});
}
