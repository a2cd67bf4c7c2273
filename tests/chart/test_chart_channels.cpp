// The chart's channels: every column of the CSV export, each answer's value
// as the export writes it, and the value at a time as the gauge held it, read
// from a recording written and read back through the real file.
#include "ChartSample.h"
#include "tests/record/SessionSample.h"

#include "chart/ChartChannel.h"
#include "chart/ChartData.h"
#include "chart/ChartFormat.h"
#include "record/CsvExport.h"
#include "record/RecordingReader.h"
#include "record/RecordingWriter.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace ChartSample;

TEST(ChartChannels, AreEveryColumnOfTheExportButTheTime)
{
    QStringList keys;
    for (const ChartChannel &c : ChartChannel::all())
        keys.append(c.key);
    QStringList columns = CsvExport::columnNames();
    ASSERT_EQ(columns.takeFirst(), QStringLiteral("time_s"));
    EXPECT_EQ(keys, columns);
}

// Every value of every answer against the exported table of the same
// recording: the chart draws what the export writes.
TEST(ChartChannels, ValuesAreThoseTheExportWrites)
{
    Recording recording;
    recording.entries = sessionSample(120);
    // A short answer (a command's acknowledgement) carries only its first bytes.
    ASSERT_EQ(recording.entries[40].kind, RecordKind::Answer);
    recording.entries.insert(41, {recording.entries[40].ms + 1, RecordKind::Answer,
                                  recording.entries[40].bytes.left(10)});
    const ChartData data = ChartData::fromRecording(recording);

    QBuffer csv;
    csv.open(QIODevice::WriteOnly);
    QString error;
    ASSERT_EQ(CsvExport::write(recording, csv, &error), 121);
    const QList<QByteArray> lines = csv.data().split('\n');
    ASSERT_EQ(data.series().size(), 121);
    for (int row = 0; row < data.series().size(); ++row) {
        const QList<QByteArray> cells = lines[row + 1].trimmed().split(',');
        ASSERT_EQ(cells.size(), ChartChannel::all().size() + 1);
        EXPECT_EQ(data.series().times()[row], qint64(std::llround(cells[0].toDouble() * 1000)));
        for (int c = 0; c < ChartChannel::all().size(); ++c) {
            const float v = data.series().values(c)[row];
            const QByteArray &cell = cells[c + 1];
            SCOPED_TRACE(ChartChannel::all()[c].key.toStdString() + " row " + std::to_string(row));
            if (cell.isEmpty())
                EXPECT_TRUE(std::isnan(v));
            else
                EXPECT_NEAR(v, cell.toDouble(), 1e-4);
        }
    }
}

struct ValueCase
{
    const char *name;
    const char *channel;
    qint64 ms;
    const char *shown; // as the read-out writes it, decimal comma
};

void PrintTo(const ValueCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChartValueAt : public ::testing::TestWithParam<ValueCase>
{
protected:
    static void SetUpTestSuite()
    {
        // 2 s of idle on petrol, a short acknowledgement, a rev to 3000 on
        // gas; written through the recorder's file and read back.
        QVector<RecordEntry> entries;
        entries.append({0, RecordKind::Settings, QByteArray(602, '\0')});
        EngineSnapshot idle = running(800);
        idle.lambda1V = 0.1;
        for (qint64 ms = 250; ms <= 2000; ms += 250) {
            entries.append(poll(ms - 60));
            entries.append(answer(ms, idle));
        }
        entries.append({2100, RecordKind::Answer, LiveFrameWriter::encode(running(5500), 0x09).left(10)});
        EngineSnapshot rev = running(3000, true);
        rev.mapKpa = 95;
        rev.p1Bar = 0.87;
        rev.lambda1V = 0.9;
        rev.petrolMs[0] = 12.4;
        rev.gasMs = 14.7;
        rev.reducerC = -12;
        entries.append(answer(2250, rev));
        entries.append(poll(2400));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("drive.zrec"));
        RecordingWriter writer;
        ASSERT_TRUE(writer.open(path, QStringLiteral("COM5"), QDateTime::currentDateTimeUtc()));
        for (const RecordEntry &e : entries)
            writer.append(e.kind, e.ms, e.bytes);
        writer.close();
        RecordingError error;
        const std::optional<Recording> read = RecordingReader::read(path, &error);
        ASSERT_TRUE(read);
        data = ChartData::fromRecording(*read);
    }
    static inline ChartData data;
};

TEST_P(ChartValueAt, IsWhatTheGaugeShowed)
{
    const ValueCase &c = GetParam();
    const int channel = ChartChannel::indexOf(QString::fromLatin1(c.channel));
    ASSERT_GE(channel, 0);
    EXPECT_EQ(ChartFormat::value(channel, data.series().valueAt(channel, c.ms), QLatin1Char(',')),
              QString::fromUtf8(c.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Recording, ChartValueAt,
    ::testing::Values(ValueCase{"BeforeTheFirstAnswer", "rpm", 249, "–"},
                      ValueCase{"AtTheFirstAnswer", "rpm", 250, "800"},
                      ValueCase{"HeldBetweenAnswers", "lambda1_v", 1999, "0,1"},
                      // The acknowledgement carried the fuel bits but no speed.
                      ValueCase{"ShortAnswerKeepsWhatItLacks", "rpm", 2100, "800"},
                      ValueCase{"ShortAnswerGivesWhatItHas", "ignition_on", 2100, "1"},
                      ValueCase{"NextFullAnswer", "rpm", 2250, "3000"},
                      ValueCase{"MapInKpa", "map_kpa", 2250, "95,0"},
                      ValueCase{"P1InBar", "p1_bar", 2250, "0,9"},
                      ValueCase{"PetrolOfCylinder1", "petrol_ms_1", 2250, "12,4"},
                      ValueCase{"GasTime", "gas_ms", 2250, "14,7"},
                      ValueCase{"NegativeTemperature", "temp_reducer_c", 2250, "-12"},
                      ValueCase{"OnGasFlag", "on_gas", 2251, "1"},
                      ValueCase{"AfterTheLastAnswer", "lambda1_v", 10000, "0,9"}),
    [](const ::testing::TestParamInfo<ValueCase> &info) { return std::string(info.param.name); });

TEST(ChartData, SpansTheRecordingFromItsBeginningToItsLastRecord)
{
    Recording recording;
    recording.entries = {{0, RecordKind::Settings, QByteArray(602, '\0')}, poll(100), answer(160, running(800)),
                         poll(400)};
    const ChartData data = ChartData::fromRecording(recording);
    EXPECT_EQ(data.firstMs(), 0);
    EXPECT_EQ(data.lastMs(), 400);
    EXPECT_EQ(data.series().size(), 1);
}

// The live view keeps the last ten minutes of what the window hands it.
TEST(ChartData, LiveRingKeepsTheLastTenMinutes)
{
    ChartData live;
    live.setKeepMs(ChartData::LiveKeepMs);
    constexpr qint64 Step = 240;
    constexpr qint64 End = 15 * 60 * 1000;
    for (qint64 ms = 0; ms <= End; ms += Step) {
        EngineSnapshot s = running(double(ms / 1000 % 60 * 100));
        live.append(answer(ms, s));
        live.append(poll(ms + 200));
    }
    const ChartSeries &series = live.series();
    const qint64 last = series.lastMs();
    // Forgotten in batches: never less than ten minutes, at most a batch more.
    EXPECT_LE(series.firstMs(), last - ChartData::LiveKeepMs);
    EXPECT_GE(series.firstMs(), last - ChartData::LiveKeepMs - 64 * Step);
    EXPECT_GE(live.firstMs(), series.firstMs() - Step);
    const int rpm = ChartChannel::indexOf(u"rpm");
    for (qint64 ms = last - ChartData::LiveKeepMs; ms <= last; ms += 7001)
        EXPECT_EQ(series.valueAt(rpm, ms), float((ms - ms % Step) / 1000 % 60 * 100)) << ms;
}

TEST(ChartData, FuelRequestIsReadFromTheLineBytesAndFromThePlainFrame)
{
    EXPECT_EQ(ChartData::fuelRequest(fuelRequest(0, true).bytes), std::optional<bool>(true));
    EXPECT_EQ(ChartData::fuelRequest(fuelRequest(0, false).bytes), std::optional<bool>(false));
    EXPECT_EQ(ChartData::fuelRequest(CommandFrame::frame(QByteArray("\x03\x03\x0f", 3))), std::optional<bool>(true));
    EXPECT_EQ(ChartData::fuelRequest(poll(0).bytes), std::nullopt);
    EXPECT_EQ(ChartData::fuelRequest(QByteArray()), std::nullopt);
}

} // namespace
