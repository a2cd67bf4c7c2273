// The .zrec file on its own: what goes in comes out, a file cut while
// recording keeps every whole record, and anything else is refused with a
// message naming the file.
#include "RecordingFiles.h"
#include "SessionSample.h"

#include "i18n/LanguageTable.h"
#include "record/RecordFormat.h"
#include "record/RecordingReader.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr qint64 Day = 24LL * 3600 * 1000;

// The odd cases around a short real session: an empty payload, a repeated
// answer, a ten-day gap, a clock stepping back, answers of other lengths,
// an answer differing in every byte and a second settings block.
QVector<RecordEntry> mixedEntries()
{
    QVector<RecordEntry> e = sessionSample(12);
    const QByteArray answer = e.last().bytes;
    QByteArray inverted = answer;
    for (char &c : inverted)
        c = char(~c);
    QByteArray settings = e.first().bytes;
    settings[100] = char(settings[100] ^ 0x10);
    qint64 t = e.last().ms;
    e.append({t, RecordKind::Command, QByteArray()});
    e.append({t, RecordKind::Answer, answer});
    e.append({t += 10 * Day, RecordKind::Command, QByteArray::fromHex("aa55010000")});
    e.append({t -= 3, RecordKind::Answer, QByteArray::fromHex("aa00060201ff")});
    e.append({t += 250, RecordKind::Answer, inverted});
    e.append({t += 1, RecordKind::Answer, answer.left(30)});
    e.append({t += 1LL << 40, RecordKind::Settings, settings});
    e.append({t += 250, RecordKind::Answer, answer});
    return e;
}

void expectEntries(const QVector<RecordEntry> &actual, const QVector<RecordEntry> &expected, qsizetype count)
{
    ASSERT_EQ(actual.size(), count);
    for (qsizetype i = 0; i < count; ++i)
        ASSERT_TRUE(sameEntry(actual[i], expected[i])) << "record " << i;
}

class RecordingFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        entries = mixedEntries();
        file = writeRecording(dir, entries);
    }

    QTemporaryDir dir;
    QVector<RecordEntry> entries;
    WrittenRecording file;
};

TEST_F(RecordingFile, ReadsBackEveryRecordTimeAndTheHeader)
{
    RecordingError error;
    const std::optional<Recording> r = RecordingReader::read(file.path, &error);
    ASSERT_TRUE(r) << recordingErrorText(file.path, error).toStdString();
    EXPECT_EQ(error.code, RecordingError::Code::None);
    EXPECT_FALSE(r->truncatedTail);
    expectEntries(r->entries, entries, entries.size());
    EXPECT_EQ(r->header.version, 1);
    EXPECT_EQ(r->header.portName, QStringLiteral("COM5"));
    EXPECT_EQ(r->header.programVersion, QStringLiteral("1.03-test"));
    EXPECT_EQ(r->header.startedUtc, QDateTime(QDate(2026, 12, 10), QTime(8, 30, 15, 250), Qt::UTC));
    EXPECT_EQ(r->header.startedUtc.timeSpec(), Qt::UTC);
}

TEST_F(RecordingFile, CutAtAnyByteAfterTheHeaderKeepsEveryWholeRecordBeforeTheCut)
{
    for (qint64 cut = file.headerSize; cut <= file.bytes.size(); ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at byte " << cut << " of " << file.bytes.size());
        qsizetype whole = 0;
        while (file.recordStarts[size_t(whole) + 1] <= cut && whole < entries.size())
            ++whole;
        RecordingError error;
        const std::optional<Recording> r = RecordingReader::parse(file.bytes.left(cut), &error);
        ASSERT_TRUE(r) << recordingErrorText(file.path, error).toStdString();
        EXPECT_EQ(r->truncatedTail, cut != file.recordStarts[size_t(whole)]);
        expectEntries(r->entries, entries, whole);
    }
}

TEST_F(RecordingFile, CutInsideTheHeaderIsRefusedAsIncomplete)
{
    for (qint64 cut = 0; cut < file.headerSize; ++cut) {
        SCOPED_TRACE(testing::Message() << "cut at byte " << cut);
        RecordingError error;
        EXPECT_FALSE(RecordingReader::parse(file.bytes.left(cut), &error));
        EXPECT_EQ(error.code, RecordingError::Code::Damaged);
        EXPECT_TRUE(error.endsInHeader);
    }
}

TEST_F(RecordingFile, AnySpoiltByteBeforeTheLastRecordIsRefusedAtItsRecord)
{
    const qint64 lastStart = file.recordStarts[file.recordStarts.size() - 2];
    for (qint64 at = RecordFormat::MagicSize + 2; at < lastStart; ++at) {
        SCOPED_TRACE(testing::Message() << "byte " << at);
        QByteArray spoilt = file.bytes;
        spoilt[at] = char(spoilt[at] ^ (1 << (at % 8)));
        RecordingError error;
        ASSERT_FALSE(RecordingReader::parse(spoilt, &error));
        ASSERT_EQ(error.code, RecordingError::Code::Damaged);
        if (at >= file.headerSize) {
            const auto next = std::upper_bound(file.recordStarts.begin(), file.recordStarts.end(), at);
            EXPECT_EQ(error.offset, *(next - 1));
        }
    }
}

TEST_F(RecordingFile, ASpoiltLastRecordIsDroppedLikeACutOne)
{
    const qint64 lastStart = file.recordStarts[file.recordStarts.size() - 2];
    QByteArray spoilt = file.bytes;
    spoilt[lastStart + 10] = char(spoilt[lastStart + 10] ^ 0x20);
    RecordingError error;
    const std::optional<Recording> r = RecordingReader::parse(spoilt, &error);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r->truncatedTail);
    expectEntries(r->entries, entries, entries.size() - 1);
}

TEST_F(RecordingFile, ANewerFormatIsRefusedByItsVersionEvenIfTheRestIsUnknown)
{
    for (const int version : {2, 0xFFFF}) {
        for (const qsizetype keep : {qsizetype(RecordFormat::MagicSize + 2), file.bytes.size()}) {
            QByteArray newer = file.bytes.left(keep);
            newer[RecordFormat::MagicSize] = char(version & 0xFF);
            newer[RecordFormat::MagicSize + 1] = char(version >> 8);
            RecordingError error;
            EXPECT_FALSE(RecordingReader::parse(newer, &error));
            EXPECT_EQ(error.code, RecordingError::Code::NewerVersion);
            EXPECT_EQ(error.detail, QString::number(version));
        }
    }
}

struct ForeignCase
{
    const char *name;
    QByteArray bytes;
};

// Listings and failures name the case, not its bytes.
void PrintTo(const ForeignCase &c, std::ostream *os)
{
    *os << c.name;
}

class ForeignFile : public ::testing::TestWithParam<ForeignCase>
{
};

TEST_P(ForeignFile, IsRefusedAsNotARecording)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("other.zrec"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(GetParam().bytes);
    f.close();

    RecordingError error;
    EXPECT_FALSE(RecordingReader::read(path, &error));
    EXPECT_EQ(error.code, RecordingError::Code::NotARecording);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ForeignFile,
    ::testing::Values(ForeignCase{"Text", "time;rpm\r\n0.000;800\r\n"},
                      ForeignCase{"Png", QByteArray::fromHex("89504e470d0a1a0a0000000d49484452")},
                      ForeignCase{"SettingsDataFile", QByteArray(1219, '\x01')},
                      ForeignCase{"OneByte", QByteArray("Z")},
                      ForeignCase{"MagicWithOneByteWrong", QByteArray("\x89ZREC\r\r\x1a\x01\x00", 10)}),
    [](const ::testing::TestParamInfo<ForeignCase> &info) { return std::string(info.param.name); });

// The messages, in every language the program offers.
struct MessageCase
{
    const char *name;
    RecordingError error;
    QString mustContain; // besides the file name
};

// Listings and failures name the case, not its bytes.
void PrintTo(const MessageCase &c, std::ostream *os)
{
    *os << c.name;
}

class RecordingMessage : public ::testing::TestWithParam<MessageCase>
{
};

TEST_P(RecordingMessage, NamesTheFileAndTheFaultInEveryLanguage)
{
    LanguageTable texts = LanguageTable::builtIn();
    const QString path = QStringLiteral("/home/fitter/Dokumenty/road test.zrec");
    QStringList seen;
    for (const int column : {LanguageTable::Polish, LanguageTable::English, LanguageTable::German,
                             LanguageTable::Czech}) {
        ASSERT_TRUE(texts.applyLanguageColumn(column));
        const QString text = recordingErrorText(path, GetParam().error, texts);
        SCOPED_TRACE(text.toStdString());
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(path)));
        EXPECT_TRUE(text.contains(GetParam().mustContain));
        EXPECT_FALSE(text.contains(QStringLiteral("record."))) << "a key instead of a text";
        EXPECT_FALSE(text.contains(QLatin1Char('%'))) << "a placeholder left";
        EXPECT_FALSE(seen.contains(text)) << "same text in two languages";
        seen.append(text);
    }
}

RecordingError error(RecordingError::Code code, const QString &detail = {}, qint64 offset = -1,
                     bool endsInHeader = false)
{
    RecordingError e;
    e.code = code;
    e.detail = detail;
    e.offset = offset;
    e.endsInHeader = endsInHeader;
    return e;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RecordingMessage,
    ::testing::Values(
        MessageCase{"CannotOpen", error(RecordingError::Code::CannotOpen, QStringLiteral("No such file or directory")),
                    QStringLiteral("No such file or directory")},
        MessageCase{"NotARecording", error(RecordingError::Code::NotARecording), QStringLiteral("ZENU")},
        MessageCase{"NewerVersion", error(RecordingError::Code::NewerVersion, QStringLiteral("7")), QStringLiteral("7")},
        MessageCase{"Damaged", error(RecordingError::Code::Damaged, QStringLiteral("4711"), 4711), QStringLiteral("4711")},
        MessageCase{"EndsInHeader", error(RecordingError::Code::Damaged, QStringLiteral("9"), 9, true), QString()}),
    [](const ::testing::TestParamInfo<MessageCase> &info) { return std::string(info.param.name); });

TEST(RecordingMessageLanguage, FollowsTheTableHandedOverAndItsLanguageSwitch)
{
    LanguageTable texts = LanguageTable::builtIn();
    RecordingError missing;
    missing.code = RecordingError::Code::NotARecording;
    const QString path = QStringLiteral("a.zrec");

    const QString polish = recordingErrorText(path, missing);
    setRecordingTexts(&texts);
    texts.applyLanguageColumn(LanguageTable::English);
    const QString english = recordingErrorText(path, missing);
    texts.applyLanguageColumn(LanguageTable::German);
    const QString german = recordingErrorText(path, missing);
    setRecordingTexts(nullptr);

    EXPECT_EQ(polish, texts.programText(u"record.not_a_recording", LanguageTable::Polish).arg(path));
    EXPECT_EQ(english, texts.programText(u"record.not_a_recording", LanguageTable::English).arg(path));
    EXPECT_EQ(german, texts.programText(u"record.not_a_recording", LanguageTable::German).arg(path));
    EXPECT_NE(english, german);
}

TEST(RecordingRead, AMissingFileIsRefusedWithTheSystemsReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("gone.zrec"));
    RecordingError error;
    EXPECT_FALSE(RecordingReader::read(path, &error));
    EXPECT_EQ(error.code, RecordingError::Code::CannotOpen);
    EXPECT_FALSE(error.detail.isEmpty());
    EXPECT_TRUE(recordingErrorText(path, error).contains(QDir::toNativeSeparators(path)));
}

TEST(RecordingSize, AnHourOfPollingStaysWellUnderOneMegabyte)
{
    QTemporaryDir dir;
    // Four answers a second and a poll before each, for an hour.
    const WrittenRecording file = writeRecording(dir, sessionSample(4 * 3600));
    EXPECT_LT(file.bytes.size(), 1000 * 1000);
    const std::optional<Recording> r = RecordingReader::read(file.path, nullptr);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->entries.size(), 2 * 4 * 3600 + 1);
}

} // namespace
