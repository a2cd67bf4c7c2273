// The current-fault list from the frame's active-low flags, in the texts of
// the language table, and the banner that shows and blinks with it.
#include "LiveFrameBytes.h"

#include "i18n/LanguageTable.h"
#include "live/CurrentFaults.h"
#include "live/FaultLogReset.h"
#include "live/LiveFrameDecoder.h"

#include <gtest/gtest.h>

namespace {

QString u(const char16_t *text)
{
    return QString::fromUtf16(text);
}

class CurrentFaultsTest : public ::testing::Test
{
protected:
    QString memo(uint8_t b34, uint8_t b35, uint8_t b48) const
    {
        return CurrentFaults::memoText(CurrentFaults::lines(b34, b35, b48, messages()));
    }

    std::function<QString(int)> messages() const
    {
        return [this](int row) { return table.message(row); };
    }

    LanguageTable table = LanguageTable::builtIn();
};

TEST_F(CurrentFaultsTest, ListsEachFaultOnANumberedLine)
{
    struct Case
    {
        const char *name;
        uint8_t b34, b35, b48;
        QString memo;
    };
    const Case cases[] = {
        {"no fault", 0xFF, 0xFF, 0xFF, QString()},
        {"bits that name no fault", 0xFC, 0xFF, 0x03, QString()},
        {"two of byte 34 and the supply fault", 0xE8, 0xFF, 0x01,
         u(u"1 - Błąd napięcia\r\n2 - Cisnienie gazu za niskie\r\n3 - Błąd zasilania\r\n")},
        {"injector of cylinder 1", 0xFF, 0xFE, 0xFF, u(u"1 - Błąd wtryskiwacza :  1\r\n")},
        {"every injector in cylinder order", 0xFF, 0x00, 0xFF,
         u(u"1 - Błąd wtryskiwacza :  1 2 3 4 5 6 7 8\r\n")},
        {"injectors 3 and 8", 0xFF, 0x7B, 0xFF, u(u"1 - Błąd wtryskiwacza :  3 8\r\n")},
        {"settings fault numbered after byte 34", 0x7F, 0xFF, 0xFE,
         u(u"1 - Błędna praca układu benzynowego\r\n2 - Złe ustawienia\r\n")},
        {"all nine, as the rest frame", 0x00, 0x00, 0x00,
         u(u"1 - Błąd napięcia\r\n"
           u"2 - Cisnienie gazu za wysokie\r\n"
           u"3 - Cisnienie gazu za niskie\r\n"
           u"4 - Napięcie stacyjki za niskie\r\n"
           u"5 - Brak wtrysku benzyny\r\n"
           u"6 - Błędna praca układu benzynowego\r\n"
           u"7 - Błąd wtryskiwacza :  1 2 3 4 5 6 7 8\r\n"
           u"8 - Złe ustawienia\r\n"
           u"9 - Błąd zasilania\r\n")},
    };
    for (const Case &c : cases) {
        const QList<CurrentFaults::Line> lines = CurrentFaults::lines(c.b34, c.b35, c.b48, messages());
        EXPECT_EQ(CurrentFaults::memoText(lines), c.memo) << c.name;
        EXPECT_EQ(CurrentFaults::bannerVisible(lines), !c.memo.isEmpty()) << c.name;
    }
}

TEST_F(CurrentFaultsTest, LinesCarryTheirNumberAndRow)
{
    const QList<CurrentFaults::Line> lines = CurrentFaults::lines(0xE8, 0xF0, 0x02, messages());
    ASSERT_EQ(lines.size(), 4);
    const int rows[] = {0, 2, 6, 7};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[i].number, i + 1);
        EXPECT_EQ(lines[i].row, rows[i]);
    }
    EXPECT_EQ(lines[2].text, u(u"3 - Błąd wtryskiwacza :  1 2 3 4"));
}

TEST_F(CurrentFaultsTest, FollowsTheCurrentLanguage)
{
    ASSERT_TRUE(table.applyLanguageColumn(LanguageTable::English));
    EXPECT_EQ(memo(0xDF, 0xFD, 0xFF), QStringLiteral("1 - Ignition voltage too low\r\n2 - Injector Error : 2\r\n"));
}

TEST_F(CurrentFaultsTest, DecodedFrameNeedsAllThreeFaultBytes)
{
    const QByteArray frame = liveFrame({{34, 0xF7}, {35, 0xFF}, {48, 0xFF}});
    EXPECT_EQ(CurrentFaults::memoText(CurrentFaults::lines(LiveFrameDecoder::decode(frame), messages())),
              u(u"1 - Cisnienie gazu za wysokie\r\n"));
    // Cut before byte 48: no list rather than one built from a missing byte.
    EXPECT_TRUE(CurrentFaults::lines(LiveFrameDecoder::decode(frame.left(48)), messages()).isEmpty());
}

TEST(FaultBanner, BlinksBetweenRedAndLightRedEveryFrame)
{
    EXPECT_EQ(CurrentFaults::nextBannerColour(LiveColour::Red), LiveColour::LightRed);
    EXPECT_EQ(CurrentFaults::nextBannerColour(LiveColour::LightRed), LiveColour::Red);
    EXPECT_EQ(CurrentFaults::nextBannerColour(LiveColour::BtnFace), LiveColour::Red);
    EXPECT_EQ(liveColourRgb(LiveColour::LightRed), 0xFF3C3Cu);
    EXPECT_EQ(liveColourRgb(LiveColour::Red), 0xFF0000u);
    EXPECT_EQ(liveColourRgb(LiveColour::Lime), 0x00FF00u);
    EXPECT_FALSE(liveColourRgb(LiveColour::BtnFace).has_value());
}

TEST(FaultLogReset, QueuesTheClearCommandWithFiveRetries)
{
    EXPECT_EQ(FaultLogReset::body(), QByteArray::fromHex("1000"));
    EXPECT_EQ(FaultLogReset::CommandRetries, 5);
}

} // namespace
