#include <dorvane/samplestats.h>

#include <gtest/gtest.h>

TEST(SampleStats, FiguresOfAKnownSeries)
{
    SampleStats stats;
    EXPECT_EQ(stats.summary().count, 0u);
    EXPECT_EQ(stats.percentile(0.99), 0);
    for (int i = 100; i >= 1; --i) // out of order on purpose
        stats.add(i * 10);
    const SampleStats::Summary s = stats.summary();
    EXPECT_EQ(s.count, 100u);
    EXPECT_EQ(s.min, 10);
    EXPECT_EQ(s.max, 1000);
    EXPECT_DOUBLE_EQ(s.mean, 505.0);
    EXPECT_EQ(s.p50, 500);
    EXPECT_EQ(s.p99, 990);
    const auto bins = stats.histogram(0, 1000, 10);
    ASSERT_EQ(bins.size(), 10u);
    EXPECT_EQ(bins[0], 9u);  // 10..90
    EXPECT_EQ(bins[9], 11u); // 900..990 and 1000 clamped in
}

TEST(SampleStats, RingKeepsTheNewestWhileTotalsCoverAll)
{
    SampleStats stats(4);
    for (int i = 1; i <= 10; ++i)
        stats.add(i);
    EXPECT_EQ(stats.count(), 10u);
    EXPECT_EQ(stats.summary().min, 1);
    EXPECT_EQ(stats.retainedSamples(), (std::vector<std::int64_t>{7, 8, 9, 10}));
    EXPECT_EQ(stats.percentile(0.0), 7);
    stats.reset();
    EXPECT_TRUE(stats.empty());
}
