// The session recorder against a list instead of a file and a clock moved by
// hand: commands in the order written (long frames in their pieces), answers
// with their times, the settings block first when a recording starts in the
// middle of a session, an armed recording opening at the first connect, and a
// full disk ending the recording once and saying so.
#include "app/recording/SessionRecorder.h"

#include "link/FrameWriter.h"
#include "link/SendFrame.h"

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

// Failures name the kind instead of dumping its byte.
static void PrintTo(RecordKind kind, std::ostream *os)
{
    *os << (kind == RecordKind::Settings ? "Settings" : kind == RecordKind::Answer ? "Answer" : "Command");
}

namespace {

struct Written
{
    RecordKind kind;
    qint64 ms;
    QByteArray bytes;
    bool operator==(const Written &) const = default;
};

void PrintTo(const Written &w, std::ostream *os)
{
    *os << "kind " << int(w.kind) << " at " << w.ms << " ms, " << w.bytes.size() << " bytes";
}

struct Disk
{
    std::vector<Written> records;
    QString openedPath;
    QString portName;
    bool opens = true;
    int roomForRecords = 1 << 30; // a full disk after this many
    int closes = 0;
};

class ListSink : public RecordSink
{
public:
    explicit ListSink(Disk &disk) : m_disk(disk) {}
    bool open(const QString &path, const QString &portName, const QDateTime &) override
    {
        m_disk.openedPath = path;
        m_disk.portName = portName;
        return m_disk.opens;
    }
    void append(RecordKind kind, qint64 ms, const QByteArray &bytes) override
    {
        if (m_failed)
            return;
        if (int(m_disk.records.size()) >= m_disk.roomForRecords) {
            m_failed = true;
            return;
        }
        m_disk.records.push_back({kind, ms, bytes});
    }
    void close() override { ++m_disk.closes; }
    bool failed() const override { return m_failed; }
    QString errorText() const override
    {
        return m_disk.opens ? QStringLiteral("No space left on device") : QStringLiteral("cannot create");
    }

private:
    Disk &m_disk;
    bool m_failed = false;
};

// The line below the recorder: what reaches it, pauses included.
class LineLog : public FrameWriter
{
public:
    void write(const QByteArray &bytes) override { calls << QStringLiteral("w%1").arg(bytes.size()); }
    void pause(int ms) override { calls << QStringLiteral("p%1").arg(ms); }
    QStringList calls;
};

class SessionRecorderTest : public ::testing::Test
{
protected:
    SessionRecorderTest()
        : recorder([this] { return std::make_unique<ListSink>(disk); }, [this] { return now; }),
          writer(line, recorder)
    {
        recorder.setFailureHandler([this](const QString &path, const QString &reason) {
            failures << path + QStringLiteral(": ") + reason;
        });
    }

    Disk disk;
    qint64 now = 50000;
    SessionRecorder recorder;
    LineLog line;
    RecordingFrameWriter writer;
    QStringList failures;
};

TEST_F(SessionRecorderTest, CommandsAndAnswersAreKeptInWireOrderWithTheirTimes)
{
    const QByteArray settings(602, 'S');
    ASSERT_TRUE(recorder.start(QStringLiteral("/r/a.zrec"), QStringLiteral("COM5"), {}));
    EXPECT_EQ(disk.openedPath, "/r/a.zrec");
    EXPECT_EQ(disk.portName, "COM5");

    SendFrame(writer, QByteArray::fromHex("aa660100"));
    now += 830;
    recorder.answerApplied(RecordKind::Settings, settings);
    now += 240;
    SendFrame(writer, QByteArray::fromHex("aa550100"));
    now += 60;
    recorder.answerApplied(RecordKind::Answer, QByteArray(57, 'L'));

    const std::vector<Written> expected{
        {RecordKind::Command, 0, lineBytesOf(QByteArray::fromHex("aa660100"))},
        {RecordKind::Settings, 830, settings},
        {RecordKind::Command, 1070, lineBytesOf(QByteArray::fromHex("aa550100"))},
        {RecordKind::Answer, 1130, QByteArray(57, 'L')},
    };
    EXPECT_EQ(disk.records, expected);
    EXPECT_EQ(line.calls.size(), 2) << "every write still reaches the line";
}

TEST_F(SessionRecorderTest, ALongFrameIsRecordedInThePiecesWrittenAndPausesPassThrough)
{
    ASSERT_TRUE(recorder.start(QStringLiteral("/r/a.zrec"), QStringLiteral("COM5"), {}));
    const QByteArray frame = QByteArray(1, char(0xAA)) + QByteArray(180, '\x11');
    SendFrame(writer, frame);

    EXPECT_EQ(line.calls, (QStringList{"w80", "p1", "w80", "p1", "w22"}));
    QByteArray joined;
    for (const Written &w : disk.records) {
        EXPECT_EQ(w.kind, RecordKind::Command);
        joined += w.bytes;
    }
    EXPECT_EQ(disk.records.size(), 3u);
    EXPECT_TRUE(joined == lineBytesOf(frame)) << "the pieces in order are the frame as it went out";
}

TEST_F(SessionRecorderTest, StartedInTheMiddleOfASessionTheSettingsBlockComesFirst)
{
    const QByteArray kept(602, 'K');
    ASSERT_TRUE(recorder.start(QStringLiteral("/r/b.zrec"), QStringLiteral("COM5"), kept));
    now += 10;
    recorder.answerApplied(RecordKind::Answer, QByteArray(57, 'L'));
    ASSERT_EQ(disk.records.size(), 2u);
    EXPECT_EQ(disk.records[0], (Written{RecordKind::Settings, 0, kept}));
    EXPECT_EQ(disk.records[1].ms, 10);
}

TEST_F(SessionRecorderTest, NothingIsRecordedBeforeTheStartOrAfterTheLinkEnds)
{
    recorder.answerApplied(RecordKind::Answer, QByteArray(57, 'L'));
    writer.write("x");
    EXPECT_TRUE(disk.records.empty());

    ASSERT_TRUE(recorder.start(QStringLiteral("/r/c.zrec"), QStringLiteral("COM5"), {}));
    recorder.answerApplied(RecordKind::Answer, QByteArray(57, 'L'));
    recorder.linkEnded();
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(disk.closes, 1);
    recorder.answerApplied(RecordKind::Answer, QByteArray(500, '\0')); // the disconnect's rest frame
    EXPECT_EQ(disk.records.size(), 1u);
    EXPECT_EQ(recorder.path(), "/r/c.zrec") << "the last file is still named";
}

TEST_F(SessionRecorderTest, AnArmedRecordingOpensWithTheFirstCommandOfTheNextConnect)
{
    recorder.setPortName([] { return QStringLiteral("COM9"); });
    recorder.armForNextConnect(QStringLiteral("/r/armed.zrec"));
    EXPECT_TRUE(recorder.armed());
    recorder.answerApplied(RecordKind::Answer, QByteArray(57, 'L'));
    EXPECT_FALSE(recorder.recording()) << "an answer is no connect";

    now += 3000;
    SendFrame(writer, QByteArray::fromHex("aa660100"));
    EXPECT_TRUE(recorder.recording());
    EXPECT_FALSE(recorder.armed());
    EXPECT_EQ(disk.openedPath, "/r/armed.zrec");
    EXPECT_EQ(disk.portName, "COM9");
    ASSERT_EQ(disk.records.size(), 1u);
    EXPECT_EQ(disk.records[0], (Written{RecordKind::Command, 0, lineBytesOf(QByteArray::fromHex("aa660100"))}));

    recorder.linkEnded();
    SendFrame(writer, QByteArray::fromHex("aa660100"));
    EXPECT_FALSE(recorder.recording()) << "only the first connect";
}

TEST_F(SessionRecorderTest, AFullDiskEndsTheRecordingOnceKeepsWhatWasWrittenAndSaysSo)
{
    disk.roomForRecords = 2;
    int changes = 0;
    recorder.setChangedHook([&] { ++changes; });
    ASSERT_TRUE(recorder.start(QStringLiteral("/r/full.zrec"), QStringLiteral("COM5"), QByteArray(602, 'K')));
    for (int i = 0; i < 5; ++i)
        recorder.answerApplied(RecordKind::Answer, QByteArray(57, char('a' + i)));

    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(disk.records.size(), 2u);
    EXPECT_EQ(disk.closes, 1);
    EXPECT_EQ(failures, (QStringList{"/r/full.zrec: No space left on device"}));
    EXPECT_EQ(recorder.lastError(), "No space left on device");
    EXPECT_EQ(changes, 2) << "started, then stopped by the failure";
    writer.write("x");
    EXPECT_EQ(line.calls, (QStringList{"w1"})) << "the line goes on as before";
}

TEST_F(SessionRecorderTest, AFileThatCannotBeMadeIsReportedAndNothingRuns)
{
    disk.opens = false;
    EXPECT_FALSE(recorder.start(QStringLiteral("/r/x.zrec"), QStringLiteral("COM5"), {}));
    EXPECT_FALSE(recorder.recording());
    EXPECT_EQ(recorder.lastError(), "cannot create");

    recorder.armForNextConnect(QStringLiteral("/r/y.zrec"));
    writer.write("x");
    EXPECT_EQ(failures, (QStringList{"/r/y.zrec: cannot create"}));
    EXPECT_EQ(line.calls, (QStringList{"w1"}));
}

TEST(SessionRecorderNames, FilesAreNamedByLocalDateAndTime)
{
    const QDateTime t(QDate(2026, 12, 10), QTime(8, 15, 30));
    EXPECT_EQ(SessionRecorder::fileNameFor(t), "ZENU-2026-12-10_08-15-30.zrec");
    EXPECT_TRUE(SessionRecorder::defaultFolder().endsWith(QStringLiteral("/ZENU recordings")));
}

} // namespace
