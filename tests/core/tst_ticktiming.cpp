#include <dorvane/ticktiming.h>

#include <gtest/gtest.h>

// 1 ms period from a first write at 10 000 µs; the series holds one tick on
// time, one a little late (within a tenth), one late, two ticks left out and
// an early write.
TEST(TickTiming, LateAndSkippedTicksOfAConstructedSeries)
{
    TickTiming timing;
    timing.Start(1000);
    const std::int64_t t0 = 10000;
    timing.AddWrite(t0);        // tick 0
    timing.AddWrite(t0 + 1000); // tick 1, on time
    timing.AddWrite(t0 + 2100); // tick 2, 100 µs: exactly a tenth, not late
    timing.AddWrite(t0 + 3101); // tick 3, 101 µs late
    timing.AddWrite(t0 + 6050); // ticks 4 and 5 skipped, tick 6 on time
    timing.AddWrite(t0 + 6900); // early: serves tick 7
    timing.AddWrite(t0 + 8500); // tick 8, 500 µs late
    const TickTiming::Figures f = timing.GetFigures();
    EXPECT_EQ(f.writes, 7u);
    EXPECT_EQ(f.lateTicks, 2u);
    EXPECT_EQ(f.skippedTicks, 2u);
    EXPECT_EQ(f.spanUs, 8500);
    EXPECT_EQ(f.period.count, 6u);
    EXPECT_EQ(f.period.min, 850);
    EXPECT_EQ(f.period.max, 2949);
    EXPECT_DOUBLE_EQ(f.period.mean, 8500.0 / 6.0);
    // Sorted periods: 850 1000 1001 1100 1600 2949; nearest rank.
    EXPECT_EQ(f.period.p50, 1001);
    EXPECT_EQ(f.period.p99, 2949);
    EXPECT_DOUBLE_EQ(f.requestedHz, 1000.0);
    EXPECT_NEAR(f.achievedHz, 6e6 / 8500.0, 1e-9);
    EXPECT_TRUE(TickTiming::IsBehind(f));
    EXPECT_EQ(TickTiming::DescribeShortfall(f),
              "1 000 Hz requested, 706 Hz achieved, 28.6 % of the ticks late");
}

// A back-to-back catch-up after a late tick serves the following ticks
// early instead of counting them twice; a steady run is not behind.
TEST(TickTiming, CatchUpAndSteadyRuns)
{
    TickTiming timing;
    timing.Start(500);
    timing.AddWrite(0);
    timing.AddWrite(500);
    timing.AddWrite(1200); // tick 2, 200 µs late
    timing.AddWrite(1210); // catch-up for tick 3
    timing.AddWrite(2000); // tick 4
    TickTiming::Figures f = timing.GetFigures();
    EXPECT_EQ(f.lateTicks, 1u);
    EXPECT_EQ(f.skippedTicks, 0u);

    timing.Start(1000);
    for (int i = 0; i < 1000; ++i)
        timing.AddWrite(5000 + i * 1000 + (i % 7)); // jitter of a few µs
    f = timing.GetFigures();
    EXPECT_EQ(f.writes, 1000u);
    EXPECT_EQ(f.lateTicks + f.skippedTicks, 0u);
    EXPECT_FALSE(TickTiming::IsBehind(f));
    EXPECT_TRUE(TickTiming::DescribeShortfall(f).empty());
    EXPECT_EQ(f.period.p50, 1001); // six periods in seven are 1001 µs
}

// Received chunks give gaps whatever the writes do; Start keeps them, Reset
// does not.
TEST(TickTiming, ReceiveGapsOutliveANewStartButNotAReset)
{
    TickTiming timing;
    timing.Start(1000);
    for (std::int64_t at : {100, 400, 1400, 1450})
        timing.AddArrival(at);
    timing.Start(2000);
    const TickTiming::Figures f = timing.GetFigures();
    EXPECT_EQ(f.rxGap.count, 3u);
    EXPECT_EQ(f.rxGap.min, 50);
    EXPECT_EQ(f.rxGap.p50, 300);
    EXPECT_EQ(f.rxGap.max, 1000);
    EXPECT_EQ(f.writes, 0u);
    timing.Reset();
    EXPECT_EQ(timing.GetFigures().rxGap.count, 0u);
    EXPECT_EQ(timing.GetRequestedPeriodUs(), 2000);
    EXPECT_EQ(TickTiming::FormatHz(901.4), "901");
    EXPECT_EQ(TickTiming::FormatHz(1234567.0), "1 234 567");
    EXPECT_EQ(TickTiming::FormatHz(2.54), "2.5");
}
