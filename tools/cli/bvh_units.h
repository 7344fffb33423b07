// Length units of BVH takes, and the rescaling of a take's text from one
// unit to another. The library writes and reads takes in inches; other tools
// expect centimetres or metres.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

enum class LengthUnit { Inches, Centimeters, Meters };

// "in", "cm" or "m"; nothing for any other name.
std::optional<LengthUnit> FindLengthUnit(std::string_view name);
const char* LengthUnitName(LengthUnit unit);
// How many `to` make one `from`.
double LengthFactor(LengthUnit from, LengthUnit to);

// Where the rescaled text goes. Write returns false once it takes no more.
class TextSink {
  public:
    virtual ~TextSink() = default;
    virtual bool Write(std::string_view text) = 0;
};

struct BvhScaling {
    enum Outcome { Scaled, BadInput, ReadFailed, WriteFailed } outcome = Scaled;
    int64_t line = 0;    // of a BadInput
    std::string problem; // what is wrong with the input at that line
};

// Copies the BVH text of in to out with every OFFSET value and every value
// of a position channel multiplied by factor. Everything else, rotations,
// the frame time, names, blanks and line ends, is copied as it is; a scaled
// number keeps the decimals of the original, with more where the factor
// shrinks it, so that nothing is lost to the rounding. The whole text is
// checked: a hierarchy that does not parse, a frame line with the wrong
// count of values, or fewer or more frames than declared is BadInput at its
// line, and what was written so far must then be dropped.
BvhScaling ScaleBvh(std::FILE* in, TextSink& out, double factor);

// The same from text to text; out holds what was written.
BvhScaling ScaleBvhText(std::string_view in, std::string* out, double factor);

// Rescales the BVH file at inPath (named inName in messages) into outPath,
// which shows either its old content or the whole new one. "" when done,
// else what went wrong, naming the file and, for bad input, the line.
std::string ScaleBvhFile(const std::string& inPath, const std::string& inName,
                         const std::string& outPath, double factor);

// The same onto a stream, through a temporary file, so that a reader of the
// stream gets the whole text or nothing of it.
std::string ScaleBvhFileTo(const std::string& inPath, const std::string& inName, std::FILE* out,
                           double factor);
