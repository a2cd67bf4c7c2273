// The CSV export: one row per live answer the window would show, every value
// as the live decoder gives it, in the table layout every spreadsheet reads.
#include "RecordingFiles.h"
#include "SessionSample.h"

#include "live/LiveFrameDecoder.h"
#include "record/CsvExport.h"
#include "record/RecordingReader.h"

#include <QBuffer>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

using Value = std::optional<double>;

template<typename T>
Value value(const std::optional<T> &v)
{
    return v ? Value(double(*v)) : std::nullopt;
}

// Each column's value in the decoder's own record, by the column's name.
std::map<QString, std::function<Value(const LiveValues &)>> columnValues()
{
    std::map<QString, std::function<Value(const LiveValues &)>> c;
    c["rpm"] = [](const LiveValues &v) { return value(v.rpm); };
    c["map_kpa"] = [](const LiveValues &v) { return value(v.mapKpa); };
    c["p1_bar"] = [](const LiveValues &v) { return value(v.p1Bar); };
    c["battery_v"] = [](const LiveValues &v) { return value(v.supplyVolts); };
    c["lambda1_v"] = [](const LiveValues &v) { return value(v.lambda1Volts); };
    c["lambda2_v"] = [](const LiveValues &v) { return value(v.lambda2Volts); };
    c["temp_reducer_c"] = [](const LiveValues &v) { return value(v.reducerTempC); };
    c["temp_gas_c"] = [](const LiveValues &v) { return value(v.gasTempC); };
    for (int k = 0; k < LiveValues::Cylinders; ++k)
        c[QStringLiteral("petrol_ms_%1").arg(k + 1)] = [k](const LiveValues &v) { return value(v.petrolMs[k]); };
    c["gas_ms"] = [](const LiveValues &v) { return value(v.gasMs); };
    c["tank_v"] = [](const LiveValues &v) { return value(v.tankSensorVolts); };
    c["on_gas"] = [](const LiveValues &v) { return value(v.onGas); };
    c["faults"] = [](const LiveValues &v) { return value(v.faultFlags); };
    c["ignition_on"] = [](const LiveValues &v) { return value(v.ignitionOn); };
    c["level_step"] = [](const LiveValues &v) { return value(v.levelStep); };
    c["injector_faults"] = [](const LiveValues &v) { return value(v.injectorFlags); };
    c["more_faults"] = [](const LiveValues &v) { return value(v.moreFaultFlags); };
    c["stream_position"] = [](const LiveValues &v) { return value(v.streamPosition); };
    for (int k = 0; k < LiveValues::TableBytes; ++k) {
        c[QStringLiteral("petrol_table_%1").arg(k + 1)] = [k](const LiveValues &v) { return value(v.petrolTableBytes[k]); };
        c[QStringLiteral("gas_table_%1").arg(k + 1)] = [k](const LiveValues &v) { return value(v.gasTableBytes[k]); };
    }
    c["curve_selector"] = [](const LiveValues &v) { return value(v.curveSelector); };
    return c;
}

// A session with the answers that are not whole live frames mixed in: a
// bare acknowledgement (nothing to show), a six-byte one (the ignition bit
// only), a cut frame, and times past an hour.
Recording sampleRecording()
{
    Recording r;
    r.header.version = 1;
    r.entries = sessionSample(40);
    const QByteArray full = r.entries.last().bytes;
    const qint64 t = r.entries.last().ms;
    r.entries.append({t + 100, RecordKind::Answer, QByteArray::fromHex("aa00050201")});
    r.entries.append({t + 200, RecordKind::Answer, QByteArray::fromHex("aa00060201ff")});
    r.entries.append({t + 300, RecordKind::Answer, full.left(30)});
    r.entries.append({3'723'456, RecordKind::Answer, full});
    return r;
}

QList<QByteArray> csvLines(const QByteArray &csv)
{
    QList<QByteArray> lines = csv.split('\n');
    EXPECT_TRUE(lines.last().isEmpty()) << "the last row ends with a line end";
    lines.removeLast();
    for (QByteArray &line : lines) {
        EXPECT_TRUE(line.endsWith('\r')) << "bare LF: " << line.toStdString();
        line.chop(1);
    }
    return lines;
}

QByteArray exported(const Recording &r)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_GE(CsvExport::write(r, buffer, &error), 0) << error.toStdString();
    return buffer.data();
}

TEST(CsvExport, ColumnsStartWithTheDocumentedSignalNames)
{
    const QStringList names = CsvExport::columnNames();
    const QStringList leading = {"time_s", "rpm", "map_kpa", "p1_bar", "battery_v", "lambda1_v", "lambda2_v",
                                 "temp_reducer_c", "temp_gas_c", "petrol_ms_1", "petrol_ms_2", "petrol_ms_3",
                                 "petrol_ms_4", "petrol_ms_5", "petrol_ms_6", "petrol_ms_7", "petrol_ms_8",
                                 "gas_ms", "tank_v", "on_gas", "faults"};
    EXPECT_EQ(names.mid(0, leading.size()), leading);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size());
    // Every column but the time is one of the decoder's values.
    const auto values = columnValues();
    EXPECT_EQ(qsizetype(values.size()), names.size() - 1);
    for (const QString &name : names.mid(1))
        EXPECT_TRUE(values.count(name)) << name.toStdString();
}

TEST(CsvExport, OneRowPerDecodableAnswerWithTheDecodersValues)
{
    const Recording r = sampleRecording();
    const QList<QByteArray> lines = csvLines(exported(r));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), CsvExport::columnNames().join(',').toLatin1());

    const QStringList names = CsvExport::columnNames();
    const auto values = columnValues();
    int row = 1;
    int emptyCells = 0;
    for (const RecordEntry &e : r.entries) {
        const LiveValues decoded = LiveFrameDecoder::decode(e.bytes);
        if (e.kind != RecordKind::Answer || !decoded.decodable())
            continue;
        ASSERT_LT(row, lines.size());
        const QList<QByteArray> cells = lines[row].split(',');
        SCOPED_TRACE(lines[row].toStdString());
        ASSERT_EQ(cells.size(), names.size());
        EXPECT_EQ(cells[0], QByteArray::number(e.ms / 1000) + '.' + QByteArray::number(e.ms % 1000).rightJustified(3, '0'));
        for (int c = 1; c < names.size(); ++c) {
            const Value expected = values.at(names[c])(decoded);
            if (!expected) {
                EXPECT_TRUE(cells[c].isEmpty()) << names[c].toStdString();
                ++emptyCells;
                continue;
            }
            bool ok = false;
            const double shown = cells[c].toDouble(&ok);
            EXPECT_TRUE(ok) << names[c].toStdString() << ": " << cells[c].toStdString();
            // Each value is shown to its full resolution, so exactly.
            EXPECT_NEAR(shown, *expected, 1e-9) << names[c].toStdString();
        }
        ++row;
    }
    EXPECT_EQ(row, lines.size()) << "rows for answers that carry nothing";
    EXPECT_EQ(row - 1, 40 + 3);
    EXPECT_GT(emptyCells, 0);
}

TEST(CsvExport, UsesADecimalPointWhateverTheLocale)
{
    const Recording r = sampleRecording();
    const QByteArray plain = exported(r);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Polish));
    const QByteArray polish = exported(r);
    QLocale::setDefault(QLocale(QLocale::German));
    const QByteArray german = exported(r);
    QLocale::setDefault(before);

    EXPECT_EQ(polish, plain);
    EXPECT_EQ(german, plain);
    EXPECT_TRUE(plain.contains("\r\n0.080,")) << "the first answer, 80 ms in";
}

QByteArray exported(const Recording &r, CsvExport::Style style)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_GE(CsvExport::write(r, buffer, &error, style), 0) << error.toStdString();
    return buffer.data();
}

// Cells of one line split at `separator`, a quoted cell taken whole.
QStringList cellsOf(const QByteArray &line, char separator)
{
    QStringList cells;
    QByteArray cell;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"' && i + 1 < line.size() && line[i + 1] == '"')
                cell.append(line[++i]);
            else if (c == '"')
                quoted = false;
            else
                cell.append(c);
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            cells << QString::fromUtf8(cell);
            cell.clear();
        } else {
            cell.append(c);
        }
    }
    cells << QString::fromUtf8(cell);
    return cells;
}

// For a spreadsheet where the comma is the decimal separator: the same values, with semicolons and
// decimal commas, and the faults in words beside their bytes.
TEST(CsvExport, SheetStyleHasSemicolonsDecimalCommasAndTheFaultsInWords)
{
    Recording r = sampleRecording();
    const RecordEntry &answer = r.entries[6];
    ASSERT_EQ(answer.kind, RecordKind::Answer);
    QByteArray faulty = answer.bytes;
    faulty[34] = char(0x00); // every fault of the first flag byte (active low)
    const qint64 faultyMs = answer.ms + 1;
    r.entries.insert(7, {faultyMs, RecordKind::Answer, faulty});

    const QByteArray sheet = exported(r, CsvExport::Style::Sheet);
    ASSERT_TRUE(sheet.startsWith("\xEF\xBB\xBF")) << "a byte order mark, so the texts read as UTF-8";
    const QList<QByteArray> sheetLines = csvLines(sheet.mid(3));
    const QList<QByteArray> plainLines = csvLines(exported(r));
    ASSERT_EQ(sheetLines.size(), plainLines.size());

    const QStringList names = CsvExport::columnNames(CsvExport::Style::Sheet);
    const qsizetype textColumn = names.indexOf(QStringLiteral("fault_text"));
    ASSERT_EQ(textColumn, names.indexOf(QStringLiteral("more_faults")) + 1);
    QStringList withoutText = names;
    withoutText.removeAt(textColumn);
    EXPECT_EQ(withoutText, CsvExport::columnNames()) << "otherwise the plain columns, in their order";
    EXPECT_EQ(cellsOf(sheetLines[0], ';'), names);

    int rowsWithFaults = 0;
    for (qsizetype i = 1; i < sheetLines.size(); ++i) {
        SCOPED_TRACE(sheetLines[i].toStdString());
        QStringList cells = cellsOf(sheetLines[i], ';');
        ASSERT_EQ(cells.size(), names.size());
        const QString text = cells.takeAt(textColumn);
        QStringList plain = cellsOf(plainLines[i], ',');
        for (QString &cell : plain)
            cell.replace(QLatin1Char('.'), QLatin1Char(','));
        EXPECT_EQ(cells, plain);
        const bool faults = plain[names.indexOf(QStringLiteral("faults"))] != QStringLiteral("255");
        if (!text.isEmpty())
            ++rowsWithFaults;
        if (cells[0] == QStringLiteral("%1,%2").arg(faultyMs / 1000).arg(faultyMs % 1000, 3, 10, QLatin1Char('0'))) {
            EXPECT_TRUE(faults);
            EXPECT_GE(text.count(QStringLiteral(", ")), 1) << "several faults, one after another";
        }
    }
    EXPECT_GE(rowsWithFaults, 1);
    EXPECT_TRUE(sheet.contains("\r\n0,080;")) << "the first answer, 80 ms in";
}

TEST(CsvExport, StylesByTheirCommandLineNames)
{
    EXPECT_EQ(CsvExport::styleNamed(u"sheet"), CsvExport::Style::Sheet);
    EXPECT_EQ(CsvExport::styleNamed(u"Plain"), CsvExport::Style::Plain);
    EXPECT_EQ(CsvExport::styleNamed(u"excel"), std::nullopt);
}

TEST(CsvExport, AWriteErrorIsReported)
{
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    QString error;
    EXPECT_EQ(CsvExport::write(sampleRecording(), readOnly, &error), -1);
    EXPECT_FALSE(error.isEmpty());
}

class CsvExportFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        recording = sampleRecording();
        file = writeRecording(dir, recording.entries);
    }

    QTemporaryDir dir;
    Recording recording;
    WrittenRecording file;
};

TEST_F(CsvExportFile, WritesTheSameTableAsFromMemory)
{
    const QString csv = dir.filePath(QStringLiteral("road test.csv"));
    QString error;
    ASSERT_TRUE(CsvExport::exportFile(file.path, csv, &error)) << error.toStdString();
    QFile out(csv);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), exported(recording));
}

TEST_F(CsvExportFile, ARecordingCutShortExportsItsWholeRecordsAndSaysSo)
{
    QFile cut(file.path);
    ASSERT_TRUE(cut.resize(file.bytes.size() - 3));
    const CsvExport::Outcome outcome = CsvExport::exportRecording(file.path, dir.filePath(QStringLiteral("cut.csv")));
    EXPECT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_TRUE(outcome.truncatedTail);
    EXPECT_EQ(outcome.rows, 40 + 3 - 1);
}

TEST_F(CsvExportFile, FailuresNameTheFileThatFailed)
{
    QString error;
    const QString missing = dir.filePath(QStringLiteral("missing.zrec"));
    EXPECT_FALSE(CsvExport::exportFile(missing, dir.filePath(QStringLiteral("a.csv")), &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(missing))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.csv"))));

    const QString unwritable = dir.filePath(QStringLiteral("no folder/b.csv"));
    EXPECT_FALSE(CsvExport::exportFile(file.path, unwritable, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(unwritable))) << error.toStdString();
}

} // namespace
