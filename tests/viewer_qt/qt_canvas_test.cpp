#include "tests/viewer_qt/qt_test_support.h"
#include "viewer/qt/qt_canvas.h"

// How GoogleTest shows a colour in a failure.
static void PrintTo(Color color, std::ostream* out)
{
    *out << "(" << int(color.red) << ", " << int(color.green) << ", " << int(color.blue) << ")";
}

namespace {
constexpr Color Grey = {128, 128, 128};
constexpr Color Black = {0, 0, 0};
constexpr Color Red = {255, 0, 0};

Color PixelAt(const QtCanvas& canvas, int x, int y)
{
    QColor pixel = canvas.Image().pixelColor(x, y);
    return {uint8_t(pixel.red()), uint8_t(pixel.green()), uint8_t(pixel.blue())};
}

TEST(QtCanvas, DrawsCrispTwoPixelLinesAndFillsTrianglesWithTheirColour)
{
    QtCanvas canvas;
    canvas.Fit({100, 100});
    canvas.Fill(Grey);
    canvas.SetPen(Black, 2);
    canvas.Line({10, 50}, {90, 50});
    // Across the line: black exactly two rows thick, one of them its own,
    // and nothing in between black and the background.
    std::vector<int> blackRows;
    for (int y = 40; y <= 60; y++) {
        Color pixel = PixelAt(canvas, 50, y);
        EXPECT_TRUE(pixel == Black || pixel == Grey) << y;
        if (pixel == Black)
            blackRows.push_back(y);
    }
    ASSERT_EQ(blackRows.size(), 2u);
    EXPECT_TRUE(blackRows[0] == 50 || blackRows[1] == 50);
    EXPECT_EQ(blackRows[1], blackRows[0] + 1);

    canvas.SetPen(Black, 1);
    canvas.Triangle({10, 10}, {40, 10}, {10, 40}, Red);
    EXPECT_EQ(PixelAt(canvas, 15, 15), Red);
    EXPECT_EQ(PixelAt(canvas, 25, 10), Black); // the outline, in the pen
    EXPECT_EQ(PixelAt(canvas, 35, 35), Grey);
}

TEST(QtCanvas, MakesANewImageOnlyWhenTheSizeChanges)
{
    QtCanvas canvas;
    // A QImage's cache key holds its serial number in the high half.
    auto serial = [&] { return canvas.Image().cacheKey() >> 32; };
    canvas.Fit({320, 200});
    auto first = serial();
    canvas.Fill(Grey);
    canvas.Fit({320, 200});
    EXPECT_EQ(serial(), first);
    canvas.Fit({321, 200});
    EXPECT_NE(serial(), first);
    EXPECT_EQ(canvas.Image().size(), QSize(321, 200));
}
} // namespace
