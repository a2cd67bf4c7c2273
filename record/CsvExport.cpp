#include "record/CsvExport.h"

#include "i18n/LanguageTable.h"
#include "live/CurrentFaults.h"
#include "live/LiveFrameDecoder.h"
#include "record/RecordingReader.h"

#include <QDir>
#include <QSaveFile>

#include <charconv>
#include <optional>

namespace {

// Fixed decimals per value, as fine as the controller's step for it, so a
// row shows what the answer said and no float noise (0.0196 * 51 is not
// 0.9996 in binary). std::to_chars never looks at a locale.
constexpr int RpmDecimals = 0;
constexpr int MapDecimals = 0;    // 1 kPa steps
constexpr int PressureDecimals = 2;
constexpr int VoltsDecimals = 2;  // the supply, already rounded to this
constexpr int LambdaDecimals = 4; // 0.0196 V steps
constexpr int PetrolDecimals = 1;
constexpr int GasDecimals = 5;    // 0.00128 ms steps

struct Punctuation
{
    char separator = ',';
    char decimal = '.';
};

Punctuation punctuationOf(CsvExport::Style style)
{
    return style == CsvExport::Style::Sheet ? Punctuation{';', ','} : Punctuation{};
}

class Row
{
public:
    Row(QByteArray &out, Punctuation p) : m_out(out), m_p(p) {}

    void number(double value, int decimals)
    {
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
        m_out.append(m_p.separator);
        for (char *c = buffer; c != result.ptr; ++c)
            m_out.append(*c == '.' ? m_p.decimal : *c);
    }

    void number(const std::optional<double> &value, int decimals)
    {
        if (value)
            number(*value, decimals);
        else
            m_out.append(m_p.separator);
    }

    // A text cell, quoted when it holds a separator, a quote or a line end.
    void text(const QString &value)
    {
        m_out.append(m_p.separator);
        const QByteArray utf8 = value.toUtf8();
        if (!utf8.contains(m_p.separator) && !utf8.contains('"') && !utf8.contains('\n') && !utf8.contains('\r')) {
            m_out.append(utf8);
            return;
        }
        m_out.append('"');
        for (char c : utf8) {
            if (c == '"')
                m_out.append('"');
            m_out.append(c);
        }
        m_out.append('"');
    }

    template<typename Int>
    void integer(const std::optional<Int> &value)
    {
        m_out.append(m_p.separator);
        if (value) {
            char buffer[24];
            const auto result = std::to_chars(buffer, buffer + sizeof buffer, int(*value));
            m_out.append(buffer, result.ptr - buffer);
        }
    }

    void flag(const std::optional<bool> &value)
    {
        m_out.append(m_p.separator);
        if (value)
            m_out.append(*value ? '1' : '0');
    }

    void time(qint64 ms)
    {
        // Seconds with three decimals from whole milliseconds: exact, no
        // rounding through a double.
        const bool negative = ms < 0;
        const quint64 magnitude = negative ? quint64(-(ms + 1)) + 1 : quint64(ms);
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude / 1000);
        if (negative)
            m_out.append('-');
        m_out.append(buffer, result.ptr - buffer);
        const int frac = int(magnitude % 1000);
        const char decimals[4] = {m_p.decimal, char('0' + frac / 100), char('0' + frac / 10 % 10), char('0' + frac % 10)};
        m_out.append(decimals, 4);
    }

private:
    QByteArray &m_out;
    Punctuation m_p;
};

// The current faults of a frame in words, as the fault list shows them.
QString faultText(const LiveValues &v)
{
    const LanguageTable *texts = recordingTexts();
    QStringList parts;
    for (const CurrentFaults::Line &line :
         CurrentFaults::lines(v, [texts](int row) { return texts ? texts->message(row) : QString::number(row); }))
        parts << line.text.trimmed();
    return parts.join(QStringLiteral(", "));
}

void appendRow(QByteArray &out, qint64 ms, const LiveValues &v, CsvExport::Style style)
{
    Row row(out, punctuationOf(style));
    row.time(ms);
    row.number(v.rpm, RpmDecimals);
    row.number(v.mapKpa, MapDecimals);
    row.number(v.p1Bar, PressureDecimals);
    row.number(v.supplyVolts, VoltsDecimals);
    row.number(v.lambda1Volts, LambdaDecimals);
    row.number(v.lambda2Volts, LambdaDecimals);
    row.integer(v.reducerTempC);
    row.integer(v.gasTempC);
    for (const std::optional<double> &petrol : v.petrolMs)
        row.number(petrol, PetrolDecimals);
    row.number(v.gasMs, GasDecimals);
    row.number(v.tankSensorVolts, LambdaDecimals);
    row.flag(v.onGas);
    row.integer(v.faultFlags);
    row.flag(v.ignitionOn);
    row.integer(v.levelStep);
    row.integer(v.injectorFlags);
    row.integer(v.moreFaultFlags);
    if (style == CsvExport::Style::Sheet)
        row.text(faultText(v));
    row.integer(v.streamPosition);
    for (const std::optional<uint8_t> &b : v.petrolTableBytes)
        row.integer(b);
    for (const std::optional<uint8_t> &b : v.gasTableBytes)
        row.integer(b);
    row.integer(v.curveSelector);
    out.append("\r\n", 2);
}

bool writeChunk(QIODevice &out, QByteArray &chunk, QString *error)
{
    if (out.write(chunk) != chunk.size()) {
        if (error)
            *error = out.errorString();
        return false;
    }
    chunk.clear();
    return true;
}

} // namespace

std::optional<CsvExport::Style> CsvExport::styleNamed(QStringView name)
{
    if (name.compare(u"plain", Qt::CaseInsensitive) == 0)
        return Style::Plain;
    if (name.compare(u"sheet", Qt::CaseInsensitive) == 0)
        return Style::Sheet;
    return std::nullopt;
}

QStringList CsvExport::columnNames(Style style)
{
    QStringList names = {QStringLiteral("time_s"),         QStringLiteral("rpm"),
                         QStringLiteral("map_kpa"),        QStringLiteral("p1_bar"),
                         QStringLiteral("battery_v"),      QStringLiteral("lambda1_v"),
                         QStringLiteral("lambda2_v"),      QStringLiteral("temp_reducer_c"),
                         QStringLiteral("temp_gas_c")};
    for (int k = 1; k <= LiveValues::Cylinders; ++k)
        names.append(QStringLiteral("petrol_ms_%1").arg(k));
    names << QStringLiteral("gas_ms") << QStringLiteral("tank_v") << QStringLiteral("on_gas")
          << QStringLiteral("faults") << QStringLiteral("ignition_on") << QStringLiteral("level_step")
          << QStringLiteral("injector_faults") << QStringLiteral("more_faults");
    if (style == Style::Sheet)
        names << QStringLiteral("fault_text");
    names << QStringLiteral("stream_position");
    for (int k = 1; k <= LiveValues::TableBytes; ++k)
        names.append(QStringLiteral("petrol_table_%1").arg(k));
    for (int k = 1; k <= LiveValues::TableBytes; ++k)
        names.append(QStringLiteral("gas_table_%1").arg(k));
    names.append(QStringLiteral("curve_selector"));
    return names;
}

qint64 CsvExport::write(const Recording &recording, QIODevice &out, QString *error, Style style)
{
    constexpr qsizetype ChunkSize = 256 * 1024;
    QByteArray chunk;
    chunk.reserve(ChunkSize + 1024);
    // A spreadsheet takes a file without the mark for the system's old code page.
    if (style == Style::Sheet)
        chunk.append("\xEF\xBB\xBF");
    chunk.append(columnNames(style).join(QLatin1Char(punctuationOf(style).separator)).toLatin1());
    chunk.append("\r\n", 2);

    qint64 rows = 0;
    for (const RecordEntry &entry : recording.entries) {
        if (entry.kind != RecordKind::Answer)
            continue;
        const LiveValues values = LiveFrameDecoder::decode(entry.bytes);
        if (!values.decodable())
            continue;
        appendRow(chunk, entry.ms, values, style);
        ++rows;
        if (chunk.size() >= ChunkSize && !writeChunk(out, chunk, error))
            return -1;
    }
    if (!writeChunk(out, chunk, error))
        return -1;
    return rows;
}

bool CsvExport::exportFile(const QString &recordingPath, const QString &csvPath, QString *error, Style style)
{
    const Outcome outcome = exportRecording(recordingPath, csvPath, style);
    if (!outcome.ok && error)
        *error = outcome.error;
    return outcome.ok;
}

CsvExport::Outcome CsvExport::exportRecording(const QString &recordingPath, const QString &csvPath, Style style)
{
    Outcome outcome;
    RecordingError readError;
    const std::optional<Recording> recording = RecordingReader::read(recordingPath, &readError);
    if (!recording) {
        outcome.error = recordingErrorText(recordingPath, readError);
        return outcome;
    }
    outcome.truncatedTail = recording->truncatedTail;
    // All or nothing: a half-written table never replaces a good one.
    QSaveFile file(csvPath);
    QString reason;
    if (!file.open(QIODevice::WriteOnly) || (outcome.rows = write(*recording, file, &reason, style)) < 0 || !file.commit()) {
        if (reason.isEmpty())
            reason = file.errorString();
        outcome.rows = 0;
        outcome.error = recordingText(u"record.csv_write_failed").arg(QDir::toNativeSeparators(csvPath), reason);
        return outcome;
    }
    outcome.ok = true;
    return outcome;
}
