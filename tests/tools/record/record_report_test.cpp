#include "tools/record/record_report.h"

#include <gtest/gtest.h>

namespace {
TEST(RecordReport, ProgressLine)
{
    EXPECT_EQ(FormatProgress(0, 0.0, 0), "Recording: 0 frames, 0.0 s, 0 dropped");
    EXPECT_EQ(FormatProgress(1, 0.04, 1), "Recording: 1 frame, 0.0 s, 1 dropped");
    EXPECT_EQ(FormatProgress(18000000000ull, 300000000.26, 4000000000u),
              "Recording: 18000000000 frames, 300000000.3 s, 4000000000 dropped");
}

TEST(RecordReport, SummaryGivesTheMeasuredRate)
{
    TakeSummary take;
    take.frames = 300;
    take.seconds = 5.0;
    take.dropped = 2;
    take.nominalRate = 60.0;
    EXPECT_EQ(FormatSummary(take), "Recorded 300 frames in 5.00 s (60.0 frames/s measured, "
                                   "suit nominal 60), 2 dropped frames");
    take.frames = 1;
    take.seconds = 0.0; // no time to measure a rate in
    take.dropped = 1;
    take.nominalRate = 119.88;
    EXPECT_EQ(FormatSummary(take), "Recorded 1 frame in 0.00 s (0.0 frames/s measured, "
                                   "suit nominal 119.88), 1 dropped frame");
}
} // namespace
