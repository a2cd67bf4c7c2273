// The frame log figures the end-to-end tests and the link benchmark rely on.
#include "SimFrameLog.h"

#include <gtest/gtest.h>

namespace {

QByteArray line(const char *dir, int code, qint64 first, qint64 last)
{
    return QStringLiteral(R"({"code":"0x%1","dir":"%2","first_us":%3,"hex":"cc","last_us":%4,"plain":"aa55","status":"ok"})")
               .arg(code, 2, 16, QLatin1Char('0'))
               .arg(QString::fromLatin1(dir))
               .arg(first)
               .arg(last)
               .toUtf8()
           + '\n';
}

TEST(SimFrameLog, ParsesDirectionCodeTimesAndBytes)
{
    const QByteArray text = line("in", 0x55, 100, 200) + line("out", 0x0c, 300, 400) + "{\"code\":\"0x55\",\"di";
    const QList<LoggedFrame> frames = SimFrameLog::parse(text);
    ASSERT_EQ(frames.size(), 2); // the cut last line is left out
    EXPECT_TRUE(frames[0].incoming);
    EXPECT_EQ(frames[0].code, 0x55);
    EXPECT_EQ(frames[0].firstUs, 100);
    EXPECT_EQ(frames[0].lastUs, 200);
    EXPECT_EQ(frames[0].lineBytes, QByteArray::fromHex("cc"));
    EXPECT_EQ(frames[0].plain, QByteArray::fromHex("aa55"));
    EXPECT_FALSE(frames[1].incoming);
    EXPECT_EQ(frames[1].code, 0x0c);
    EXPECT_EQ(SimFrameLog::select(frames, false, 0x0c).size(), 1);
    EXPECT_TRUE(SimFrameLog::select(frames, true, 0x0c).isEmpty());
}

TEST(SimFrameLog, PollOverheadPairsEachPollAnswerWithTheNextPoll)
{
    // Startup and its answer; a poll answered, the next poll 241.5 ms later;
    // that one answered and followed by a command, whose answer is followed by
    // a poll; that poll answered and the next poll 240.2 ms later. Only the
    // two poll-answer-to-poll gaps count.
    const QByteArray text = line("in", 0x66, 0, 10) + line("out", 0x0c, 20, 1000)
                            + line("in", 0x55, 1240000, 1240010) + line("out", 0x55, 1240100, 1300000)
                            + line("in", 0x55, 1541500, 1541510) + line("out", 0x55, 1541600, 1600000)
                            + line("in", 0x09, 1840000, 1840010) + line("out", 0x09, 1840100, 1900000)
                            + line("in", 0x55, 2140000, 2140010) + line("out", 0x55, 2140100, 2200000)
                            + line("in", 0x55, 2440200, 2440210);
    const QList<double> overheads = SimFrameLog::pollOverheadsMs(SimFrameLog::parse(text), 240);
    ASSERT_EQ(overheads.size(), 2);
    EXPECT_NEAR(overheads[0], 1.5, 1e-9);
    EXPECT_NEAR(overheads[1], 0.2, 1e-9);
}

struct SummaryCase
{
    const char *label;
    QList<double> values;
    double median;
    double p99;
};

void PrintTo(const SummaryCase &c, std::ostream *os)
{
    *os << c.label;
}

class SummaryTest : public ::testing::TestWithParam<SummaryCase>
{
};

TEST_P(SummaryTest, MedianAndNearestRankP99)
{
    const SummaryCase &c = GetParam();
    const SimFrameLog::Summary s = SimFrameLog::summarize(c.values);
    EXPECT_EQ(s.samples, c.values.size());
    EXPECT_DOUBLE_EQ(s.median, c.median);
    EXPECT_DOUBLE_EQ(s.p99, c.p99);
}

QList<double> oneToHundred()
{
    QList<double> v;
    for (int i = 100; i >= 1; --i)
        v << i;
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Figures, SummaryTest,
    ::testing::Values(SummaryCase{"odd", {3, 1, 2}, 2, 3}, SummaryCase{"even", {4, 1, 3, 2}, 2.5, 4},
                      // rank ceil(0.99 * 100) = 99
                      SummaryCase{"hundred", oneToHundred(), 50.5, 99},
                      SummaryCase{"one_outlier_in_101", oneToHundred() << 1000, 51, 100}),
    [](const auto &info) { return std::string(info.param.label); });

} // namespace
