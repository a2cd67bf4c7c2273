#include "settings/DataFile.h"

#include "link/CommandBodies.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <string>

namespace {

QByteArray hex(const char *h) { return QByteArray::fromHex(h); }

QByteArray magic() { return QByteArray(DataFile::Magic, DataFile::MagicSize); }

// A full 602-byte block as a controller sends it: header, code, varied data
// and a check byte that is neither 0 nor a repeat of the data.
QByteArray fullBlock(quint32 seed)
{
    QRandomGenerator rng(seed);
    QByteArray b(602, '\0');
    for (auto &c : b)
        c = char(rng.bounded(256));
    b[0] = char(0xAA);
    b[1] = char(602 >> 8);
    b[2] = char(602 & 0xFF);
    b[3] = char(0x0C);
    return b;
}

} // namespace

TEST(DataFileCoding, WorkedExampleByteForByte)
{
    const QByteArray block = hex("AA000A6603070741003C");
    const QByteArray file = DataFile::encode(block, 7);
    EXPECT_EQ(file, magic() + hex("1F3B" "A842" "0145" "8044" "5D05" "5F45"));
    EXPECT_EQ(file.size(), 35);

    const DataFile::Decoded back = DataFile::decode(file);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.seconds, 7);
    EXPECT_EQ(back.key, 0x3C);
    EXPECT_EQ(back.fromOffset4, hex("0307074100"));
}

TEST(DataFileCoding, FullBlockGivesTheWholeFileAndTheWriteAllOfTheController)
{
    const QByteArray block = fullBlock(12);
    const QByteArray file = DataFile::encode(block, 41);
    ASSERT_EQ(file.size(), 1219);

    const DataFile::Decoded back = DataFile::decodeForWriteAll(file);
    ASSERT_TRUE(back.ok());
    // Everything after header, length and code, without the check byte.
    EXPECT_EQ(back.fromOffset4, block.mid(4, 602 - 5));
    EXPECT_EQ(back.writeAllSettings(), block.mid(21, 540));

    const CommandBodies::Group load = CommandBodies::dataFileLoad(back.writeAllSettings());
    EXPECT_EQ(load.first.size(), 541);
    EXPECT_EQ(uint8_t(load.first[0]), 0x1A);
    EXPECT_EQ(load.first.mid(1), block.mid(21, 540));
    EXPECT_EQ(load.second, hex("6600"));
}

TEST(DataFileCoding, FillerBytesAreNeverRead)
{
    const QByteArray block = fullBlock(3);
    QByteArray file = DataFile::encode(block, 19);
    const DataFile::Decoded original = DataFile::decodeForWriteAll(file);
    QRandomGenerator rng(99);
    for (int pos = DataFile::FirstPairPosition; pos < file.size(); pos += 2)
        file[pos] = char(rng.bounded(256));
    const DataFile::Decoded changed = DataFile::decodeForWriteAll(file);
    ASSERT_TRUE(changed.ok());
    EXPECT_EQ(changed.fromOffset4, original.fromOffset4);
    EXPECT_EQ(changed.fromOffset4, block.mid(4, 597));
}

TEST(DataFileCoding, SecondsChangeOnlyTheirTwoBytesAndLoadTheSame)
{
    const QByteArray block = fullBlock(5);
    const QByteArray at0 = DataFile::encode(block, 0);
    for (int s = 1; s <= DataFile::MaxSeconds; ++s) {
        SCOPED_TRACE(s);
        const QByteArray other = DataFile::encode(block, s);
        ASSERT_EQ(other.size(), at0.size());
        for (int pos = 0; pos < other.size(); ++pos) {
            if (pos != DataFile::SecondsPosition && pos != DataFile::KeyPosition) {
                ASSERT_EQ(other[pos], at0[pos]) << "position " << pos;
            }
        }
        EXPECT_NE(other[DataFile::SecondsPosition], at0[DataFile::SecondsPosition]);
        const DataFile::Decoded back = DataFile::decode(other);
        EXPECT_EQ(back.seconds, s);
        EXPECT_EQ(back.fromOffset4, DataFile::decode(at0).fromOffset4);
    }
}

TEST(DataFileCoding, SecondsOutsideTheHeaderByteAreRefusedWhenWriting)
{
    EXPECT_THROW(DataFile::encode(fullBlock(1), -1), std::invalid_argument);
    EXPECT_THROW(DataFile::encode(fullBlock(1), 64), std::invalid_argument);
}

TEST(DataFileCoding, RandomBlocksSurviveTheRoundTrip)
{
    QRandomGenerator rng(2024);
    for (int round = 0; round < 300; ++round) {
        const int length = 6 + int(rng.bounded(700));
        QByteArray block(length, '\0');
        for (auto &c : block)
            c = char(rng.bounded(256));
        const int seconds = int(rng.bounded(DataFile::MaxSeconds + 1));
        SCOPED_TRACE(testing::Message() << "length " << length << ", seconds " << seconds);

        const QByteArray file = DataFile::encode(block, seconds);
        ASSERT_EQ(file.size(), 2 * length + 15);
        const DataFile::Decoded back = DataFile::decode(file);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.seconds, seconds);
        EXPECT_EQ(back.key, uint8_t(block[length - 1]));
        EXPECT_EQ(back.fromOffset4, block.mid(4, length - 5));
        // Same block, same seconds: the same file, filler bytes included.
        EXPECT_EQ(DataFile::encode(block, seconds), file);
    }
}

// --- filler rules ---------------------------------------------------------

struct FillerCase
{
    const char *name;
    int index;
    int b;
    int filler;
};

// Listings and failures name the case, not its bytes.
void PrintTo(const FillerCase &c, std::ostream *os)
{
    *os << c.name;
}

class DataFileFiller : public testing::TestWithParam<FillerCase>
{
};

TEST_P(DataFileFiller, KnownAnswer)
{
    EXPECT_EQ(DataFile::fillerByte(GetParam().index, uint8_t(GetParam().b)), GetParam().filler);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DataFileFiller,
    testing::Values(
        FillerCase{"NoRuleIndexXor55", 8, 0x12, 0x5D}, FillerCase{"NoRuleIndex11", 11, 0xFF, 0x5E},
        FillerCase{"FiveLeftByB", 5, 3, 0xA8}, FillerCase{"SixRightByB", 6, 7, 0x01},
        FillerCase{"FiveCount64To127Clears", 5, 100, 0x00},
        FillerCase{"FiveCountFrom128WrapsTo32", 5, 130, 0xD4},
        FillerCase{"SixRightIsUnsignedOverSignExtension", 6, 200, 0xFB},
        FillerCase{"SixRightBy63KeepsTheSignBit", 6, 63, 0x01},
        FillerCase{"SixReplacesFive", 30, 0, 0xBE}, FillerCase{"NineReplacesFive", 45, 0, 0x7F},
        FillerCase{"SevenReplacesSix", 42, 0, 0x00}, FillerCase{"SevenShiftsByIndex", 7, 0x40, 0x80},
        FillerCase{"SevenShiftsByIndexMod256", 259, 0, 0xF8},
        FillerCase{"SevenCountFrom128Wraps", 133, 0, 0xE0}),
    [](const testing::TestParamInfo<FillerCase> &info) { return std::string(info.param.name); });

// --- refusals ---------------------------------------------------------------

struct RefusalCase
{
    const char *name;
    QByteArray file;
    bool forWriteAll;
    DataFile::Refusal refusal;
};

// Listings and failures name the case, not its bytes.
void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

class DataFileRefusal : public testing::TestWithParam<RefusalCase>
{
};

TEST_P(DataFileRefusal, IsRefusedWithItsReason)
{
    const RefusalCase &c = GetParam();
    const DataFile::Decoded d = c.forWriteAll ? DataFile::decodeForWriteAll(c.file) : DataFile::decode(c.file);
    EXPECT_EQ(d.refusal, c.refusal);
    if (!d.ok()) {
        EXPECT_TRUE(d.writeAllSettings().isEmpty());
    }
}

namespace {

QByteArray withLastMagicChar(char c)
{
    QByteArray f = DataFile::encode(fullBlock(7), 10);
    f[DataFile::MagicSize - 1] = c;
    return f;
}

QByteArray savedFileCut(int size) { return DataFile::encode(fullBlock(8), 33).left(size); }

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Header, DataFileRefusal,
    testing::Values(
        RefusalCase{"EmptyFile", QByteArray(), false, DataFile::Refusal::BadHeader},
        RefusalCase{"LastHeaderCharDiffers", withLastMagicChar('8'), true, DataFile::Refusal::BadHeader},
        RefusalCase{"HeaderInLowerCase", QByteArray("zenu data file v3.07.07\x03\x00", 25), false,
                    DataFile::Refusal::BadHeader},
        RefusalCase{"OtherVersion", QByteArray("ZENU DATA FILE v3.07.06\x03\x00", 25), false,
                    DataFile::Refusal::BadHeader},
        RefusalCase{"HeaderCutShort", magic().left(22), false, DataFile::Refusal::BadHeader},
        RefusalCase{"HeaderWithoutKey", magic() + char(3), false, DataFile::Refusal::TooShort},
        RefusalCase{"HeaderOnlyIsAnEmptyBlock", magic() + hex("0300"), false, DataFile::Refusal::None},
        RefusalCase{"OneByteShortOfAWriteAll", savedFileCut(1138), true, DataFile::Refusal::TooShort},
        RefusalCase{"JustAWholeWriteAll", savedFileCut(1139), true, DataFile::Refusal::None},
        RefusalCase{"HeaderOnlyForAWriteAll", magic() + hex("0300"), true, DataFile::Refusal::TooShort}),
    [](const testing::TestParamInfo<RefusalCase> &info) { return std::string(info.param.name); });

TEST(DataFileCoding, ASeventeenBlockHoldsNoWriteAllButDecodesWhatItHas)
{
    const DataFile::Decoded d = DataFile::decode(savedFileCut(1138));
    ASSERT_TRUE(d.ok());
    EXPECT_EQ(d.fromOffset4.size(), 556);
    EXPECT_EQ(d.fromOffset4, fullBlock(8).mid(4, 556));
    EXPECT_TRUE(d.writeAllSettings().isEmpty());
}

TEST(DataFileCoding, HeaderBytesThatNoSaveWritesStillGiveAKey)
{
    // 4 x S + 3 is odd; an even or small byte rounds to the nearest S,
    // halves to even, and the key uses that S's low eight bits.
    struct Case { uint8_t header; int seconds; };
    const Case cases[] = {{0x1F, 7}, {0x20, 7}, {0x21, 8}, {0x05, 0}, {0x00, -1}, {0x01, 0}, {0xFF, 63}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.header);
        const DataFile::Decoded d = DataFile::decode(magic() + char(c.header) + char(0x3B) + hex("0042"));
        ASSERT_TRUE(d.ok());
        EXPECT_EQ(d.seconds, c.seconds);
        EXPECT_EQ(d.key, uint8_t(0x3B ^ uint8_t(c.seconds)));
    }
}

struct NameCase
{
    const char *name;
    QString chosen;
    QString saved;
};

// Listings and failures name the case, not its bytes.
void PrintTo(const NameCase &c, std::ostream *os)
{
    *os << c.name;
}

class DataFileName : public testing::TestWithParam<NameCase>
{
};

TEST_P(DataFileName, ZenIsAddedOnlyWithoutAnExtension)
{
    EXPECT_EQ(DataFile::nameForSaving(GetParam().chosen), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Saving, DataFileName,
    testing::Values(NameCase{"NoExtension", QStringLiteral("/tmp/golf"), QStringLiteral("/tmp/golf.zen")},
                    NameCase{"ZenKept", QStringLiteral("/tmp/golf.zen"), QStringLiteral("/tmp/golf.zen")},
                    NameCase{"OwnExtensionKept", QStringLiteral("/tmp/golf.txt"), QStringLiteral("/tmp/golf.txt")},
                    NameCase{"DotInFolderOnly", QStringLiteral("/tmp/cars.v2/golf"), QStringLiteral("/tmp/cars.v2/golf.zen")}),
    [](const testing::TestParamInfo<NameCase> &info) { return std::string(info.param.name); });
