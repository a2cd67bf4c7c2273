// Recording and replay on the real window (offscreen): the controls offered
// while offline, a replay driving the same displays as the link while the
// port stays closed and connecting is held off, seeking, the end giving the
// port back, a damaged file refused with its message, and the captions
// following a language switch.
#include "tests/app/WindowFixture.h"

#include "app/recording/RecordingControl.h"
#include "app/recording/RecordingRoom.h"
#include "app/recording/ReplayPanel.h"
#include "app/recording/SessionRecorder.h"
#include "app/common/StatusNotice.h"
#include "app/window/WindowLinkView.h"

#include "link/Session.h"
#include "link/TSerialPort.h"
#include "record/RecordingReader.h"
#include "record/RecordingWriter.h"

#include "tests/live/LiveFrameBytes.h"

#include "widgets/TAnalogGControl.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QToolButton>

namespace {

constexpr int RpmOffset = 21; // engine speed / 100

QByteArray answerAt(int rpmHundreds)
{
    return liveFrame({{RpmOffset, rpmHundreds}});
}

class RecordingWindow : public WindowFixture
{
protected:
    void SetUp() override
    {
        WindowFixture::SetUp();
        ASSERT_TRUE(files.isValid());
        start({QStringLiteral("COM5")});
    }

    // A recording of a settings block and answers at 1000, 2000, ... ms
    // with engine speeds of the given hundreds.
    QString writeRecording(const QList<int> &speeds, const QString &name = QStringLiteral("r.zrec"))
    {
        const QString path = files.filePath(name);
        RecordingWriter writer;
        EXPECT_TRUE(writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()))
            << writer.errorText().toStdString();
        writer.append(RecordKind::Settings, 0, settingsBlock);
        for (int i = 0; i < speeds.size(); ++i) {
            writer.append(RecordKind::Command, 1000 * (i + 1) - 240, QByteArray::fromHex("cc55"));
            writer.append(RecordKind::Answer, 1000 * (i + 1), answerAt(speeds[i]));
        }
        writer.close();
        return path;
    }

    // A file with a recording's name that holds something else.
    QString writeForeignFile(const char *text)
    {
        const QString path = files.filePath(QStringLiteral("notes.zrec"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }

    RecordingRoom &room() { return window->recording(); }
    ReplayPanel &replay() { return room().replay(); }
    float rpm() { return window->component<TAnalogGControl>(QStringLiteral("RPM_Edit"))->Value(); }
    bool enabled(const char *name) { return window->component<QWidget>(QString::fromLatin1(name))->isEnabled(); }

    QTemporaryDir files;
    QByteArray settingsBlock = QByteArray(602, '\x01');
};

TEST_F(RecordingWindow, OfflineRecordingIsNotOfferedAndReplayIs)
{
    EXPECT_FALSE(item(QStringLiteral("Nagrywanie1"))->isEnabled());
    EXPECT_FALSE(enabled("Nagrywanie_button"));
    EXPECT_TRUE(item(QStringLiteral("Odtwarzanie1"))->isEnabled());
    EXPECT_TRUE(item(QStringLiteral("EksportCSV1"))->isEnabled());
    EXPECT_FALSE(window->component(QStringLiteral("Replay_panel"))->isVisibleTo(window.get()));

    room().control().recordClicked();
    EXPECT_FALSE(room().recorder().recording());
    EXPECT_EQ(StatusNotice::current(window.get()), window->languageTable()->programText(u"recording.not_connected"));
}

TEST_F(RecordingWindow, FileMenuHoldsRecordReplayAndExportAsAGroupBeforeExit)
{
    QStringList names;
    for (const QAction *a : window->Pliki1->actions())
        names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(names, (QStringList{"Odczyt1", "Zapis1", "Reset1", "PokazPlik1", "Porownaj1", "-", "Nagrywanie1",
                                  "Odtwarzanie1", "EksportCSV1", "Chart_open", "Chart_live", "-", "Exit1"}));
}

TEST_F(RecordingWindow, AReplayDrivesTheDisplaysWithThePortClosedAndConnectingHeldOff)
{
    const int framesBefore = window->linkView().liveFramesApplied();
    ASSERT_TRUE(replay().open(writeRecording({8, 25, 31})));
    ASSERT_TRUE(replay().replaying());
    replay().clock()->pause();

    EXPECT_TRUE(window->component(QStringLiteral("Replay_panel"))->isVisibleTo(window.get()));
    EXPECT_FALSE(window->PortCOM->menuAction()->isEnabled());
    EXPECT_FALSE(window->polacz->isEnabled());
    EXPECT_FALSE(item(QStringLiteral("COM5"))->isEnabled());
    EXPECT_FALSE(enabled("Polacz_switch"));
    EXPECT_FALSE(item(QStringLiteral("Nagrywanie1"))->isEnabled());
    EXPECT_TRUE(window->session().storedSettings() == settingsBlock) << "the settings controls read the recorded block";

    replay().clock()->seek(2000);
    EXPECT_FLOAT_EQ(rpm(), 2500);
    replay().clock()->seek(1500);
    EXPECT_FLOAT_EQ(rpm(), 800) << "backwards shows the answer before the new position";
    replay().clock()->seek(0);
    EXPECT_FLOAT_EQ(rpm(), 0) << "before the first answer the displays rest";
    replay().clock()->seek(1500);
    EXPECT_EQ(window->component<QSlider>(QStringLiteral("Replay_position"))->value(), 1500);
    EXPECT_EQ(window->component<QLabel>(QStringLiteral("Replay_time"))->text(), "00:01 / 00:03");

    window->component<QComboBox>(QStringLiteral("Replay_speed"))->setCurrentIndex(3);
    EXPECT_EQ(replay().clock()->speed(), ReplaySpeed::Sixteen);
    window->component<QToolButton>(QStringLiteral("Replay_play"))->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return replay().clock()->atEnd(); }, 5000));
    EXPECT_FLOAT_EQ(rpm(), 3100);
    EXPECT_GT(window->linkView().liveFramesApplied(), framesBefore);
    EXPECT_FALSE(window->ComPort1->connected()) << "the port is never opened";
    EXPECT_TRUE(window->session().linkState().isEmpty());

    window->component<QPushButton>(QStringLiteral("Replay_end"))->click();
    EXPECT_FALSE(replay().replaying());
    EXPECT_FALSE(window->component(QStringLiteral("Replay_panel"))->isVisibleTo(window.get()));
    EXPECT_TRUE(window->PortCOM->menuAction()->isEnabled());
    EXPECT_TRUE(window->polacz->isEnabled());
    EXPECT_TRUE(item(QStringLiteral("COM5"))->isEnabled());
    EXPECT_TRUE(enabled("Polacz_switch"));
    EXPECT_FLOAT_EQ(rpm(), 0) << "the rest look of a disconnect";
    EXPECT_TRUE(window->session().storedSettings().isEmpty()) << "the session's own block is back";
    EXPECT_TRUE(messages.isEmpty()) << messages.join(QStringLiteral(" | ")).toStdString();
}

TEST_F(RecordingWindow, AClickOnThePositionBarGoesToThatPlace)
{
    ASSERT_TRUE(replay().open(writeRecording({8, 12, 16, 20, 24, 28, 32, 36, 40, 44})));
    replay().clock()->pause();
    auto *slider = window->component<QSlider>(QStringLiteral("Replay_position"));
    window->show();
    slider->resize(400, slider->height());
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() * 3 / 4, slider->height() / 2));
    const qint64 position = replay().clock()->position();
    EXPECT_NEAR(double(position), 7500.0, 1000.0) << "not a page step of 10 s from the start";
    EXPECT_FLOAT_EQ(rpm(), float(100 * (8 + 4 * (position / 1000 - 1))));
}

TEST_F(RecordingWindow, ADamagedOrForeignFileIsRefusedWithItsMessage)
{
    const QString foreign = writeForeignFile("these are not the frames you are looking for\n");

    RecordingError error;
    ASSERT_FALSE(RecordingReader::read(foreign, &error).has_value());
    EXPECT_FALSE(replay().open(foreign));
    EXPECT_EQ(messages, (QStringList{recordingErrorText(foreign, error)}));
    EXPECT_FALSE(replay().replaying());
    EXPECT_TRUE(window->polacz->isEnabled());

    messages.clear();
    EXPECT_FALSE(replay().open(files.filePath(QStringLiteral("missing.zrec"))));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("missing.zrec")));
}

TEST_F(RecordingWindow, AFileMessageSpeaksTheChosenLanguage)
{
    const QString foreign = writeForeignFile("plain text, not a recording\n");

    window->Check_jazyk(item(QStringLiteral("AngielskiGB")));
    EXPECT_FALSE(replay().open(foreign));
    ASSERT_EQ(messages.size(), 1);
    const QString english = window->languageTable()->programText(u"record.not_a_recording").arg(foreign);
    EXPECT_EQ(messages[0], english);
    EXPECT_NE(english, window->languageTable()->programText(u"record.not_a_recording", LanguageTable::Polish).arg(foreign))
        << "the Polish text differs, so the check can tell them apart";
}

TEST_F(RecordingWindow, ATruncatedRecordingPlaysWhatIsThere)
{
    const QString path = writeRecording({8, 25, 31});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(f.size() - 5)); // into the last answer
    f.close();

    ASSERT_TRUE(replay().open(path));
    EXPECT_TRUE(replay().recording().truncatedTail);
    EXPECT_EQ(StatusNotice::current(window.get()), window->languageTable()->programText(u"replay.truncated"));
    replay().clock()->seek(replay().clock()->duration());
    EXPECT_FLOAT_EQ(rpm(), 2500) << "the last whole answer";
}

TEST_F(RecordingWindow, AShortSettingsRecordIsNotTakenForABlock)
{
    settingsBlock = QByteArray(40, '\x07');
    ASSERT_TRUE(replay().open(writeRecording({8, 25})));
    replay().clock()->seek(2000);
    EXPECT_TRUE(window->session().storedSettings().isEmpty());
    EXPECT_FLOAT_EQ(rpm(), 2500) << "the answers still play";
}

// A reconnect that read other settings, or found another controller, leaves
// a second settings block in the recording; the replay says so when it
// gets there, and not when a seek passes over it.
TEST_F(RecordingWindow, ASettingsBlockUnlikeTheOneBeforeIsToldWhenPlayedThrough)
{
    QByteArray first = settingsBlock;
    first[4] = 3, first[5] = 7, first[6] = 7;
    QByteArray otherSettings = first;
    otherSettings[100] = '\x22';
    QByteArray otherFirmware = otherSettings;
    otherFirmware[5] = 8, otherFirmware[6] = 1;
    const QString path = files.filePath(QStringLiteral("reconnects.zrec"));
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()));
    writer.append(RecordKind::Settings, 0, first);
    writer.append(RecordKind::Answer, 1000, answerAt(8));
    writer.append(RecordKind::Settings, 2500, otherSettings);
    for (int ms = 3000; ms <= 8000; ms += 1000)
        writer.append(RecordKind::Answer, ms, answerAt(9));
    writer.append(RecordKind::Settings, 8500, otherFirmware);
    writer.append(RecordKind::Answer, 9000, answerAt(10));
    writer.close();

    ASSERT_TRUE(replay().open(path));
    replay().clock()->pause();
    const QString before = StatusNotice::current(window.get());
    replay().clock()->seek(9000);
    replay().clock()->seek(2400);
    EXPECT_EQ(StatusNotice::current(window.get()), before) << "a seek passes over the blocks silently";
    EXPECT_TRUE(window->session().storedSettings() == first);

    LanguageTable *texts = window->languageTable();
    const QString settingsNote = texts->programText(u"replay.settings_changed").arg(QStringLiteral("00:02"));
    replay().clock()->play();
    EXPECT_TRUE(QTest::qWaitFor([&] { return StatusNotice::current(window.get()) == settingsNote; }, 5000))
        << StatusNotice::current(window.get()).toStdString();
    EXPECT_TRUE(window->session().storedSettings() == otherSettings) << "the controls follow the new block";

    replay().clock()->seek(8400);
    replay().clock()->play();
    const QString firmwareNote =
        texts->programText(u"replay.firmware_changed").arg(QStringLiteral("00:08"), QStringLiteral("3.08.01"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return StatusNotice::current(window.get()) == firmwareNote; }, 5000))
        << StatusNotice::current(window.get()).toStdString();
}

// Where the link was lost in the car (answers more than 2 s apart) the
// replay greys the top panels over the last values, as the car's window did,
// and says so once; played through or sought, and given back at the end.
TEST_F(RecordingWindow, WhereTheLinkWasLostThePanelsAreGreyAndTheStatusBarSaysSo)
{
    const QString path = files.filePath(QStringLiteral("gap.zrec"));
    RecordingWriter writer;
    ASSERT_TRUE(writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()));
    writer.append(RecordKind::Settings, 0, settingsBlock);
    for (int ms : {1000, 1400, 1800, 6800, 7200})
        writer.append(RecordKind::Answer, ms, answerAt(ms / 100));
    writer.close();

    const QColor face = QApplication::palette().color(QPalette::Button);
    const auto grey = [this, face] { return window->Panel1Gora->palette().color(QPalette::Window) != face; };
    const QString note = window->languageTable()->programText(u"replay.link_gap").arg(QStringLiteral("00:01"),
                                                                                       QStringLiteral("00:06"));
    ASSERT_TRUE(replay().open(path));
    replay().clock()->pause();
    replay().clock()->seek(1500);
    EXPECT_FALSE(grey());
    replay().clock()->play();
    ASSERT_TRUE(QTest::qWaitFor(grey, 5000)) << "played into the gap";
    EXPECT_GT(replay().clock()->position(), 1800);
    EXPECT_EQ(StatusNotice::current(window.get()), note);
    EXPECT_EQ(rpm(), 1800) << "the last values stay";

    replay().clock()->seek(6700);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !grey(); }, 5000)) << "the link is back";
    EXPECT_GE(replay().clock()->position(), 6800);

    replay().clock()->pause();
    replay().clock()->seek(4000);
    EXPECT_TRUE(grey()) << "a seek into the gap";
    replay().end();
    EXPECT_FALSE(grey()) << "the end gives the panels back";
}

TEST_F(RecordingWindow, OpeningAnotherRecordingEndsTheFirst)
{
    ASSERT_TRUE(replay().open(writeRecording({8})));
    ASSERT_TRUE(replay().open(writeRecording({12, 14}, QStringLiteral("second.zrec"))));
    EXPECT_EQ(replay().clock()->duration(), 2000);
    replay().end();
    EXPECT_TRUE(window->polacz->isEnabled());
}

TEST_F(RecordingWindow, CaptionsFollowALanguageSwitch)
{
    ASSERT_TRUE(replay().open(writeRecording({8})));
    replay().clock()->pause();
    window->Check_jazyk(item(QStringLiteral("AngielskiGB")));
    EXPECT_EQ(item(QStringLiteral("Nagrywanie1"))->text(), "Record session");
    EXPECT_EQ(item(QStringLiteral("Odtwarzanie1"))->text(), "Replay a recording…");
    EXPECT_EQ(window->component<QPushButton>(QStringLiteral("Replay_end"))->text(), "End replay");
    EXPECT_EQ(window->component<QToolButton>(QStringLiteral("Replay_play"))->text(), "Play");
    EXPECT_EQ(window->component<QLabel>(QStringLiteral("Replay_file"))->text(), "Replay: r.zrec");
    window->Check_jazyk(item(QStringLiteral("NiemieckiDE")));
    EXPECT_EQ(window->component<QToolButton>(QStringLiteral("Nagrywanie_button"))->text(), "● Aufzeichnen");
}

} // namespace
