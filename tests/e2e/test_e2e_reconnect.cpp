// Staying connected in the car, window to simulated controller, with the
// reconnect option on: a burst of noise, a silence and a pulled adapter each
// leave the program polling again soon after the fault ends, without a box;
// a recording goes on in the same file across it.
#include "E2eFixture.h"

#include "app/recording/RecordingControl.h"
#include "app/recording/RecordingRoom.h"
#include "app/recording/SessionRecorder.h"

#include "record/RecordingReader.h"

#include "widgets/TToggleSwitch.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>

namespace {

constexpr int PollCode = 0x55;
// Polling again within 5 s of the fault's end; asserted with a tenfold margin
// (two shared cores), the figure itself is printed.
constexpr int BackWithinMs = 5000;

struct LineFault
{
    const char *name;
    const char *start;
    const char *end;
    int lastsMs;
    const char *noteInFault; // part of the status bar's link note as the fault ends
};

void PrintTo(const LineFault &f, std::ostream *os)
{
    *os << f.name;
}

class Reconnecting : public E2eFixture
{
protected:
    void SetUp() override
    {
        E2eFixture::SetUp();
        reconnect = true;
    }

    void connectAndPoll()
    {
        startBoth({QStringLiteral("--warm")});
        window->polacz->trigger();
        ASSERT_TRUE(waitConnected()) << linkReport();
        polls(3);
    }

    // Runs a fault for its time, ends it, and returns how long the program
    // took to poll again (answers the controller gave after the end), -1 if
    // it did not within the margin.
    qint64 rideOut(const LineFault &fault)
    {
        sim->command(QString::fromLatin1(fault.start));
        QTest::qWait(fault.lastsMs);
        captionInFault = connectionSwitch()->TextOn();
        if (auto *note = window->findChild<QLabel *>(QStringLiteral("LinkNote")))
            noteInFault = note->text();
        sim->command(QString::fromLatin1(fault.end));
        QElapsedTimer since;
        since.start();
        const int answersAtEnd = countOut(PollCode);
        const bool back = waitFor(
            [&] { return countOut(PollCode) >= answersAtEnd + 3 && !session().reconnecting(); }, 10 * BackWithinMs);
        return back ? since.elapsed() : -1;
    }

    // Connected, polling, and recording into a folder of the test's own;
    // `path` is the recording's file.
    void connectAndRecord(QString &path)
    {
        ASSERT_TRUE(recordings.isValid());
        connectAndPoll();
        RecordingRoom &room = window->recording();
        room.control().setFolder(recordings.filePath(QStringLiteral("ZENU recordings")));
        room.control().recordClicked();
        ASSERT_TRUE(room.recorder().recording()) << room.recorder().lastError().toStdString();
        path = room.recorder().path();
    }

    TToggleSwitch *connectionSwitch() const
    {
        return window->findChild<TToggleSwitch *>(QStringLiteral("Polacz_switch"));
    }

    QString captionInFault;
    QString noteInFault;
    QTemporaryDir recordings;
};

class ReconnectingAfter : public Reconnecting, public ::testing::WithParamInterface<LineFault>
{
};

TEST_P(ReconnectingAfter, ThePollingIsBackSoonAfterTheFaultEndsWithoutABox)
{
    connectAndPoll();
    const qint64 backMs = rideOut(GetParam());
    ASSERT_GE(backMs, 0) << linkReport();
    std::printf("[ figure ] %s: polling again %lld ms after the fault ended\n", GetParam().name,
                static_cast<long long>(backMs));
    EXPECT_TRUE(watcher->messages().isEmpty()) << watcher->messages().join(" | ").toStdString();
    EXPECT_EQ(watcher->mostOpenAtOnce(), 0);
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(window->ComPort1->connected());
    EXPECT_EQ(session().linkState().isEmpty(), false);
    // The switch counted the attempts and is back to the port's caption.
    EXPECT_TRUE(captionInFault.startsWith(QStringLiteral("Łączenie… ("))) << captionInFault.toStdString();
    EXPECT_TRUE(noteInFault.contains(QString::fromUtf8(GetParam().noteInFault))) << noteInFault.toStdString();
    EXPECT_EQ(connectionSwitch()->TextOn(), QStringLiteral("COM5 - ON"));
    polls(3);
}

INSTANTIATE_TEST_SUITE_P(
    E2e, ReconnectingAfter,
    ::testing::Values(LineFault{"noiseBurst3s", "line noise 5", "line noise 0", 3000, "Łącze: błędy w ostatniej minucie: "},
                      LineFault{"silence5s", "line silent on", "line silent off", 5000, "Łączenie ponownie… ("},
                      // Told as what it is for as long as the adapter is out.
                      LineFault{"unplugAndPlug", "line unplug", "line plug", 3000,
                                "Przewód odłączony od portu COM5, czekam na adapter…"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Reconnecting, ARecordingAcrossANoiseBurstHoldsAnswersFromBeforeAndAfter)
{
    QString path;
    ASSERT_NO_FATAL_FAILURE(connectAndRecord(path));
    RecordingRoom &room = window->recording();
    polls(5);

    QElapsedTimer clock;
    clock.start();
    const qint64 faultStart = clock.elapsed();
    ASSERT_GE(rideOut({"noiseBurst3s", "line noise 5", "line noise 0", 3000}), 0) << linkReport();
    const qint64 faultEnd = clock.elapsed();
    polls(5);
    EXPECT_TRUE(room.recorder().recording()) << "the recording goes on in the same file";
    EXPECT_EQ(room.recorder().path(), path);
    room.control().recordClicked();
    ASSERT_FALSE(room.recorder().recording());

    RecordingError error;
    const std::optional<Recording> recording = RecordingReader::read(path, &error);
    ASSERT_TRUE(recording.has_value()) << recordingErrorText(path, error).toStdString();
    // Live answers on both sides of the gap; the gap is as long as the ride-out.
    QList<qint64> answers;
    for (const RecordEntry &e : recording->entries) {
        if (e.kind == RecordKind::Answer && e.bytes.size() > 4 && uint8_t(e.bytes[3]) == PollCode)
            answers << e.ms;
    }
    ASSERT_GE(answers.size(), 10);
    qint64 longestGap = 0;
    qsizetype gapAt = 0;
    for (qsizetype i = 1; i < answers.size(); ++i) {
        if (answers[i] - answers[i - 1] > longestGap) {
            longestGap = answers[i] - answers[i - 1];
            gapAt = i;
        }
    }
    EXPECT_GE(longestGap, 2000) << "the burst leaves a visible gap";
    EXPECT_LE(longestGap, faultEnd - faultStart + 10 * BackWithinMs);
    EXPECT_GE(gapAt, 5) << "answers before the gap";
    EXPECT_GE(answers.size() - gapAt, 5) << "answers after the gap";
    EXPECT_TRUE(watcher->messages().isEmpty()) << watcher->messages().join(" | ").toStdString();
}

// Without the option a pulled adapter ends the link as always, but the box
// says what happened in the chosen language, keeps the port's own message as
// the details, and names the recording that ended with it.
TEST_F(E2eFixture, APulledAdapterIsToldByItsCauseAndNamesTheEndedRecording)
{
    QTemporaryDir recordings;
    ASSERT_TRUE(recordings.isValid());
    startBoth({QStringLiteral("--warm")});
    window->polacz->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    polls(3);
    RecordingRoom &room = window->recording();
    room.control().setFolder(recordings.filePath(QStringLiteral("ZENU recordings")));
    room.control().recordClicked();
    ASSERT_TRUE(room.recorder().recording());
    const QString path = QDir::toNativeSeparators(room.recorder().path());

    QElapsedTimer sincePulled;
    sincePulled.start();
    sim->command(QStringLiteral("line unplug"));
    ASSERT_TRUE(waitFor([this] { return waitDisconnected(0) && !watcher->messages().isEmpty(); }, 20000))
        << linkReport();
    std::printf("[ figure ] pulled adapter: told %lld ms after the pull\n", sincePulled.elapsed());
    QTest::qWait(300);
    EXPECT_FALSE(room.recorder().recording());
    ASSERT_EQ(watcher->messages().size(), 1) << watcher->messages().join(" | ").toStdString();
    const QString box = watcher->messages().first();
    EXPECT_TRUE(box.startsWith(QStringLiteral("Przewód odłączony od portu COM5"))) << box.toStdString();
    EXPECT_TRUE(box.contains(QStringLiteral("(win error code: 6)"))) << box.toStdString();
    EXPECT_TRUE(box.contains(path)) << box.toStdString();
}

// Another controller on the port after a loss (here: the same box reporting
// another firmware) is not taken for the car's: the link ends with a box
// that says why and names the recording, and the recording holds the block
// that answered.
TEST_F(Reconnecting, AnotherFirmwareAfterALossEndsTheLinkSaysWhyAndIsMarkedInTheRecording)
{
    QString path;
    ASSERT_NO_FATAL_FAILURE(connectAndRecord(path));
    RecordingRoom &room = window->recording();
    polls(3);

    sim->command(QStringLiteral("line firmware 3.8.1"));
    sim->command(QStringLiteral("line silent on"));
    ASSERT_TRUE(waitFor([this] { return session().reconnecting(); }, 10 * BackWithinMs)) << linkReport();
    sim->command(QStringLiteral("line silent off"));
    ASSERT_TRUE(waitFor([this] { return waitDisconnected(0) && !watcher->messages().isEmpty(); }, 10 * BackWithinMs))
        << linkReport();
    EXPECT_FALSE(room.recorder().recording());
    ASSERT_EQ(watcher->messages().size(), 1) << watcher->messages().join(" | ").toStdString();
    const QString box = watcher->messages().first();
    EXPECT_TRUE(box.startsWith(QStringLiteral("Po ponownym połączeniu na porcie COM5 odpowiedział sterownik z innym "
                                              "oprogramowaniem (ver. 3.08.01).")))
        << box.toStdString();
    EXPECT_TRUE(box.contains(QDir::toNativeSeparators(path))) << box.toStdString();

    RecordingError error;
    const std::optional<Recording> recording = RecordingReader::read(path, &error);
    ASSERT_TRUE(recording.has_value()) << recordingErrorText(path, error).toStdString();
    QList<QByteArray> blocks;
    for (const RecordEntry &e : recording->entries) {
        if (e.kind == RecordKind::Settings)
            blocks << e.bytes;
    }
    ASSERT_GE(blocks.size(), 2);
    EXPECT_EQ(Session::versionText(blocks.first()), QStringLiteral("3.07.07"));
    EXPECT_EQ(Session::versionText(blocks.last()), QStringLiteral("3.08.01"));
}

} // namespace
