// Recording and replay against zenu-sim: a drive recorded while the
// simulator changes speed and load and raises a fault, then replayed at 16x
// on the same window; the gauges and the fault list go through the same
// sequence as they did live, nothing reaches the line meanwhile, and the CSV
// export has one row per answer with the decoded values.
#include "E2eFixture.h"

#include "app/recording/RecordingControl.h"
#include "app/recording/RecordingRoom.h"
#include "app/recording/ReplayPanel.h"
#include "app/recording/SessionRecorder.h"

#include "link/CommandFrame.h"
#include "link/SendFrame.h"
#include "live/LiveFrameDecoder.h"
#include "record/CsvExport.h"
#include "record/RecordingReader.h"

#include "widgets/TAnalogGControl.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

#include <algorithm>
#include <ostream>

// Failures name the kind instead of dumping its byte.
static void PrintTo(RecordKind kind, std::ostream *os)
{
    *os << (kind == RecordKind::Settings ? "Settings" : kind == RecordKind::Answer ? "Answer" : "Command");
}

namespace {

constexpr int PollCode = 0x55;

// What the window shows after one answer.
struct Shown
{
    float rpm = 0;
    float map = 0;
    QString faults;
    bool operator==(const Shown &) const = default;
};

void PrintTo(const Shown &s, std::ostream *os)
{
    *os << "{rpm " << s.rpm << ", map " << s.map << ", faults \"" << s.faults.toStdString() << "\"}";
}

class E2eRecording : public E2eFixture
{
protected:
    void SetUp() override
    {
        E2eFixture::SetUp();
        ASSERT_TRUE(recordings.isValid());
    }

    Shown shown()
    {
        return {window->component<TAnalogGControl>(QStringLiteral("RPM_Edit"))->Value(),
                window->component<TAnalogGControl>(QStringLiteral("Slala_P_MAP"))->Value(),
                window->component<QPlainTextEdit>(QStringLiteral("Actual_errors_Memo"))->toPlainText()};
    }

    RecordingRoom &room() { return window->recording(); }

    QTemporaryDir recordings;
};

TEST_F(E2eRecording, ARecordedDriveReplaysAtSixteenTimesAsItWasLiveAndExportsEveryAnswer)
{
    startBoth({QStringLiteral("--warm")}, false);
    window->component<QAction>(kCom)->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    polls(3);

    QList<Shown> live;
    QList<Shown> replayed;
    QList<Shown> *sampling = nullptr;
    window->linkView().addAnswerTap([&](RecordKind kind, const QByteArray &) {
        if (sampling && kind == RecordKind::Answer)
            sampling->append(shown());
    });

    // Connected: recording offered, replay not.
    EXPECT_TRUE(window->component<QAction>(QStringLiteral("Nagrywanie1"))->isEnabled());
    EXPECT_FALSE(window->component<QAction>(QStringLiteral("Odtwarzanie1"))->isEnabled());

    room().control().setFolder(recordings.filePath(QStringLiteral("ZENU recordings")));
    room().control().recordClicked();
    ASSERT_TRUE(room().recorder().recording()) << room().recorder().lastError().toStdString();
    sampling = &live;
    const QString path = room().recorder().path();
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(QStringLiteral("ZENU-")));
    EXPECT_FALSE(room().replay().open(path)) << "no replay while connected";

    // About 25 s of driving, as many polls as the line gives.
    polls(16);
    sim->command(QStringLiteral("rpm 3000"));
    polls(20);
    sim->command(QStringLiteral("load 70"));
    polls(20);
    sim->command(QStringLiteral("fault pressure-low on"));
    polls(20);
    sim->command(QStringLiteral("faults clear"));
    sim->command(QStringLiteral("idle"));
    polls(20);

    room().control().recordClicked();
    sampling = nullptr;
    ASSERT_FALSE(room().recorder().recording());
    window->rozlacz1->trigger();
    ASSERT_TRUE(waitDisconnected(5000)) << linkReport();

    // The drive did what it should, so the comparison below means something.
    ASSERT_GE(live.size(), 90);
    auto maxOf = [&](auto field) {
        float m = 0;
        for (const Shown &s : live)
            m = std::max(m, field(s));
        return m;
    };
    EXPECT_GE(maxOf([](const Shown &s) { return s.rpm; }), 2500.0f);
    EXPECT_LT(live.constFirst().rpm, 1300.0f);
    EXPECT_GT(maxOf([](const Shown &s) { return s.map; }), live.constFirst().map + 20.0f);
    const auto withFault = std::count_if(live.cbegin(), live.cend(), [](const Shown &s) { return !s.faults.isEmpty(); });
    EXPECT_GT(withFault, 0);
    EXPECT_TRUE(live.constLast().faults.isEmpty());

    RecordingError error;
    const std::optional<Recording> recording = RecordingReader::read(path, &error);
    ASSERT_TRUE(recording.has_value()) << recordingErrorText(path, error).toStdString();
    ASSERT_FALSE(recording->entries.isEmpty());
    EXPECT_EQ(recording->entries.constFirst().kind, RecordKind::Settings) << "started mid-session";
    EXPECT_TRUE(recording->entries.constFirst().bytes == session().storedSettings()) << "the block the session held";
    QList<QByteArray> answers;
    int commands = 0;
    for (const RecordEntry &e : recording->entries) {
        if (e.kind == RecordKind::Answer)
            answers << e.bytes;
        commands += e.kind == RecordKind::Command;
    }
    EXPECT_EQ(answers.size(), live.size());
    EXPECT_GE(commands, answers.size()) << "every poll is in the wire log";

    // Replay at 16x: nothing goes to the simulator, and the window shows the
    // same sequence.
    EXPECT_TRUE(window->component<QAction>(QStringLiteral("Odtwarzanie1"))->isEnabled());
    window->component<QComboBox>(QStringLiteral("Replay_speed"))->setCurrentIndex(3);
    const int pollsBefore = countIn(PollCode);
    sampling = &replayed;
    QElapsedTimer wall;
    wall.start();
    ASSERT_TRUE(room().replay().open(path));
    const qint64 duration = room().replay().clock()->duration();
    ASSERT_TRUE(waitFor([&] { return room().replay().clock()->atEnd(); }, int(duration / 16 * 10 + 2000)));
    sampling = nullptr;
    // At 16x it takes a sixteenth of the drive; tenfold of that still tells it from 1x.
    EXPECT_LT(wall.elapsed(), duration * 10 / 16) << "16x is quicker than the drive";
    EXPECT_EQ(replayed, live);
    EXPECT_EQ(countIn(PollCode), pollsBefore);
    EXPECT_FALSE(window->ComPort1->connected());
    room().replay().end();

    // The CSV: a header, then one row per answer with the decoded values.
    const QString csvPath = recordings.filePath(QStringLiteral("drive.csv"));
    QString csvError;
    ASSERT_TRUE(CsvExport::exportFile(path, csvPath, &csvError)) << csvError.toStdString();
    QFile csv(csvPath);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), answers.size() + 1);
    const QStringList header = lines[0].trimmed().split(QLatin1Char(','));
    EXPECT_EQ(header, CsvExport::columnNames());
    const int rpmColumn = header.indexOf(QStringLiteral("rpm"));
    const int mapColumn = header.indexOf(QStringLiteral("map_kpa"));
    ASSERT_GE(rpmColumn, 0);
    ASSERT_GE(mapColumn, 0);
    for (int i = 0; i < answers.size(); ++i) {
        const QStringList row = lines[i + 1].trimmed().split(QLatin1Char(','));
        const LiveValues v = LiveFrameDecoder::decode(answers[i]);
        ASSERT_TRUE(v.rpm.has_value());
        EXPECT_DOUBLE_EQ(row.value(rpmColumn).toDouble(), *v.rpm) << "row " << i + 1;
        EXPECT_FLOAT_EQ(float(row.value(rpmColumn).toDouble()), live[i].rpm) << "row " << i + 1;
        EXPECT_NEAR(row.value(mapColumn).toDouble(), live[i].map, 0.01) << "row " << i + 1;
    }
}

TEST_F(E2eRecording, RecordingArmedForTheFirstConnectHoldsTheHandshakeAndEndsCompleteAtTheDisconnect)
{
    startBoth({QStringLiteral("--warm")}, false);
    const QString path = recordings.filePath(QStringLiteral("support.zrec"));
    room().recordAtFirstConnect(path);
    window->component<QAction>(kCom)->trigger();
    ASSERT_TRUE(waitConnected()) << linkReport();
    EXPECT_TRUE(room().recorder().recording());
    polls(4);
    window->rozlacz1->trigger();
    ASSERT_TRUE(waitDisconnected(5000)) << linkReport();
    EXPECT_FALSE(room().recorder().recording());

    RecordingError error;
    const std::optional<Recording> recording = RecordingReader::read(path, &error);
    ASSERT_TRUE(recording.has_value()) << recordingErrorText(path, error).toStdString();
    EXPECT_FALSE(recording->truncatedTail);
    EXPECT_EQ(recording->header.portName, kCom);
    ASSERT_GE(recording->entries.size(), 6);
    EXPECT_EQ(recording->entries[0].kind, RecordKind::Command);
    EXPECT_TRUE(recording->entries[0].bytes == lineBytesOf(CommandFrame::startupFrame())) << "the startup command";
    EXPECT_EQ(recording->entries[1].kind, RecordKind::Settings) << "the handshake's answer";
    EXPECT_TRUE(recording->entries[1].bytes == session().storedSettings()) << "the block the session keeps";
    qint64 last = -1;
    int answers = 0;
    for (const RecordEntry &e : recording->entries) {
        EXPECT_GE(e.ms, last) << "times never go back";
        last = e.ms;
        answers += e.kind == RecordKind::Answer;
        EXPECT_FALSE(e.bytes == QByteArray(Session::LiveRestBytes, '\0')) << "the disconnect's rest look is no answer";
    }
    EXPECT_GE(answers, 4);
}

} // namespace
