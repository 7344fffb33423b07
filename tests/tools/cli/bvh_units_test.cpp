#include "tests/support/owned_skeleton.h"
#include "tests/support/temp_folder.h"
#include "tools/cli/bvh_units.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace {
struct Scaled {
    BvhScaling scaling;
    std::string text;
};

Scaled ScaleText(const std::string& text, double factor)
{
    Scaled result;
    result.scaling = ScaleBvhText(text, &result.text, factor);
    return result;
}

// A one-frame take: the root's offset and channels, a joint's text, frames.
std::string Take(const std::string& rootOffset, const std::string& rootChannels,
                 const std::string& joint, const std::string& frames)
{
    return "HIERARCHY\nROOT Hips\n{\n\tOFFSET\t" + rootOffset + "\n\tCHANNELS " + rootChannels +
           "\n" + joint + "}\nMOTION\nFrames: 1\nFrame Time: 0.033333\n" + frames;
}

std::string Knee(const std::string& offset, const std::string& channels,
                 const std::string& endOffset)
{
    return "\tJOINT Knee\n\t{\n\t\tOFFSET " + offset + "\n\t\tCHANNELS " + channels +
           "\n\t\tEnd Site\n\t\t{\n\t\t\tOFFSET " + endOffset + "\n\t\t}\n\t}\n";
}

const std::string WriterRoot = "6 Xposition Yposition Zposition Zrotation Xrotation Yrotation";
const std::string RotationsFirst = "6 Zrotation Xrotation Yrotation Xposition Yposition Zposition";
const std::string Positions = "3 Xposition Yposition Zposition";

TEST(BvhUnits, ScalesOffsetsAndPositionsOnly)
{
    struct Case {
        const char* what;
        std::string in;
        double factor;
        std::string expected;
    };
    const Case cases[] = {
        {"the writer's layout, in to cm",
         Take("1.000000\t-2.500000\t0.000000", WriterRoot, "",
              "1.000000\t36.500000\t-2.000000\t10.000000\t-20.000000\t30.000000\t\n"),
         2.54,
         Take("2.540000\t-6.350000\t0.000000", WriterRoot, "",
              "2.540000\t92.710000\t-5.080000\t10.000000\t-20.000000\t30.000000\t\n")},
        {"rotations first, in to m: two more decimals",
         Take("1.000000\t-2.500000\t0.000000", RotationsFirst, "", "1.5 2.5 3.5 36.500000 1 -0\n"),
         0.0254,
         Take("0.02540000\t-0.06350000\t0.000000", RotationsFirst, "",
              "1.5 2.5 3.5 0.92710000 0.02540000 -0\n")},
        {"a joint's own position channels; whole and exponent numbers",
         Take("1 2 3", Positions, Knee("0 -17.5 0", WriterRoot, "0 -1.5e1 2E-3"),
              "1 2 3 4 5 6 7 8 9\n"),
         10.0,
         Take("10.000000 20.000000 30.000000", Positions,
              Knee("0 -175.0 0", WriterRoot, "0 -1.50e+02 2.0E-02"),
              "10.000000 20.000000 30.000000 40.000000 50.000000 60.000000 7 8 9\n")},
        {"a byte order mark kept", "\xEF\xBB\xBF" + Take("1 2 3", Positions, "", "1 2 3\n"), 2.54,
         "\xEF\xBB\xBF" +
             Take("2.540000 5.080000 7.620000", Positions, "", "2.540000 5.080000 7.620000\n")},
        {"labels glued to their values",
         "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 1 Yposition\n}\nMOTION\nFrames:1\n"
         "Frame Time:0.5\n2\n",
         2.0,
         "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 1 Yposition\n}\nMOTION\nFrames:1\n"
         "Frame Time:0.5\n4.000000\n"},
        {"line ends and blanks kept",
         "HIERARCHY\r\nROOT Hips\r\n{\r\n  OFFSET 1.0 2.0 3.0\r\n  CHANNELS 3 Xposition "
         "Yposition Zposition\r\n  End Site\r\n  {\r\n    OFFSET 0 0 1.0\r\n  }\r\n}\r\n"
         "MOTION\r\nFrames: 2\r\nFrame Time: 0.0416667\r\n1.0  2.0 3.0\r\n\r\n4.0 5.0 6.0",
         2.0,
         "HIERARCHY\r\nROOT Hips\r\n{\r\n  OFFSET 2.0 4.0 6.0\r\n  CHANNELS 3 Xposition "
         "Yposition Zposition\r\n  End Site\r\n  {\r\n    OFFSET 0 0 2.0\r\n  }\r\n}\r\n"
         "MOTION\r\nFrames: 2\r\nFrame Time: 0.0416667\r\n2.0  4.0 6.0\r\n\r\n8.0 10.0 12.0"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        Scaled result = ScaleText(test.in, test.factor);
        EXPECT_EQ(result.scaling.outcome, BvhScaling::Scaled) << result.scaling.problem;
        EXPECT_EQ(result.text, test.expected);
    }
}

TEST(BvhUnits, MalformedInputIsNamedAtItsLine)
{
    const std::string root = "HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 3 Xposition "
                             "Yposition Zposition\n";
    const std::string motion = "}\nMOTION\nFrames: 2\nFrame Time: 0.1\n";
    struct Case {
        std::string text;
        int64_t line;
        std::string problem;
    };
    const Case cases[] = {
        {"", 1, "the file is empty"},
        {"HIERARCHY\nJOINT Hips\n", 2, "'JOINT' outside a joint's braces"},
        {"ROOT Hips\n", 1, "'ROOT' where HIERARCHY was expected"},
        {"HIERARCHY\nROOT Hips\n{\nOFFSET 1 2\n}\n", 5, "OFFSET value '}' is not a number"},
        {root + "CHANNELS 1 Wposition\n", 6, "a second CHANNELS in one joint"},
        {"HIERARCHY\nROOT Hips\n{\nOFFSET 0 0 0\nCHANNELS 1 Wrotation\n", 5,
         "unknown channel 'Wrotation'"},
        {root + "End Site\n{\nCHANNELS 0\n", 8, "CHANNELS in an End Site"},
        {root + "MOTION\n", 6, "MOTION before every joint is closed"},
        {root + motion + "1 2 3\n1 2\n", 11, "2 values where the hierarchy has 3 channels"},
        {root + motion + "1 2 3\n1 2 x\n", 11, "frame value 'x' is not a number"},
        {root + motion + "1 2 3\n1 2 3 4\n", 11, "more values than the 3 channels"},
        {root + motion + "1 2 3\n", 11, "the file ends after 1 of the 2 frames of line 8"},
        {root + motion + "1 2 3\n1 2 3\n1 2 3\n", 12, "more frames than the 2 of line 8"},
        {root + "}\nMOTION\nFrames: -1\n", 8, "the frame count '-1' is not a whole number"},
        {root + "}\nMOTION\nFrames: 1\nFrame Time: nan\n", 9,
         "the frame time 'nan' is not a number of seconds"},
        {root + "}\n", 7, "the file ends before MOTION"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.text);
        Scaled result = ScaleText(test.text, 2.54);
        EXPECT_EQ(result.scaling.outcome, BvhScaling::BadInput);
        EXPECT_EQ(result.scaling.line, test.line);
        EXPECT_EQ(result.scaling.problem, test.problem);
    }
}

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(BvhUnits, TakesReadBackAsTheSameFramesAfterScalingBack)
{
    OwnedSkeleton source;
    for (int i = 1; i < 4; i++)
        ASSERT_EQ(VarnelAddFrame(source.get()), 1);
    for (int i = 0; i < 4; i++)
        for (int c = 0; c < VARNEL_NUM_CHANNELS; c++)
            source->frames[i].channels[c] = std::sin(float(i * 57 + c)) * 50.0f + 0.123457f;
    TempFolder folder;
    const std::string inches = folder.File("in.bvh");
    ASSERT_EQ(VarnelWriteBVH(inches.c_str(), source.get()), 1);
    OwnedSkeleton original;
    ASSERT_EQ(VarnelReadBVH(inches.c_str(), original.get(), 85, 1.5f), 1);

    for (LengthUnit unit : {LengthUnit::Centimeters, LengthUnit::Meters}) {
        SCOPED_TRACE(LengthUnitName(unit));
        const std::string scaled = folder.File(std::string("take.") + LengthUnitName(unit));
        ASSERT_EQ(ScaleBvhFile(inches, inches, scaled, LengthFactor(LengthUnit::Inches, unit)), "");
        OwnedSkeleton read;
        ASSERT_EQ(VarnelReadBVH(scaled.c_str(), read.get(), 85, 1.5f), 1);
        ASSERT_EQ(read->numFrames, 4);
        const float back = float(LengthFactor(unit, LengthUnit::Inches));
        for (int n = 0; n < VARNEL_NUM_NODES; n++)
            for (float Vector::*axis : {&Vector::x, &Vector::y, &Vector::z})
                EXPECT_NEAR(read->nodes[n].offset.*axis * back, original->nodes[n].offset.*axis,
                            1e-5f * std::fabs(original->nodes[n].offset.*axis) + 1e-6f);
        for (int i = 0; i < 4; i++) {
            for (int c = 0; c < VARNEL_NUM_CHANNELS; c++) {
                float expected = original->frames[i].channels[c];
                float value = read->frames[i].channels[c] * (c < 3 ? back : 1.0f);
                EXPECT_NEAR(value, expected, 1e-5f * std::fabs(expected) + 1e-6f) << i << c;
            }
        }
        // The text itself comes back: nothing was lost to the rounding.
        const std::string again = folder.File("again.bvh");
        ASSERT_EQ(ScaleBvhFile(scaled, scaled, again, LengthFactor(unit, LengthUnit::Inches)), "");
        EXPECT_EQ(ReadAll(again), ReadAll(inches));
    }
}

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;)
        words.push_back(word);
    return words;
}

// Another tool's walk, whose root alone has positions: the scaled file
// differs in the OFFSET values and the first three values of each frame.
TEST(BvhUnits, ScalesAnotherToolsFile)
{
    const std::string path = VARNEL_SOURCE_DIR "/tests/data/external-bvh/cmu_12_01_walk.bvh";
    TempFolder folder;
    const std::string out = folder.File("walk-m.bvh");
    ASSERT_EQ(ScaleBvhFile(path, path, out, 0.0254), "");
    std::istringstream before(ReadAll(path)), after(ReadAll(out));
    std::string a, b;
    bool motion = false;
    int frames = 0;
    while (std::getline(before, a)) {
        ASSERT_TRUE(std::getline(after, b));
        std::vector<std::string> x = Words(a), y = Words(b);
        ASSERT_EQ(x.size(), y.size()) << a;
        motion = motion || a.starts_with("Frame Time:");
        bool frame = motion && !a.starts_with("Frame Time:");
        frames += frame;
        for (size_t i = 0; i < x.size(); i++) {
            bool scaled = frame ? i < 3 : x[0] == "OFFSET" && i > 0;
            if (!scaled || std::stod(x[i]) == 0) {
                EXPECT_EQ(y[i], x[i]) << a;
                continue;
            }
            // Four decimals of inches become six of metres.
            EXPECT_NEAR(std::stod(y[i]), std::stod(x[i]) * 0.0254, 6e-7) << a;
        }
    }
    EXPECT_FALSE(std::getline(after, b));
    EXPECT_GT(frames, 100);
}

} // namespace
