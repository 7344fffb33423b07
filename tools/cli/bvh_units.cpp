#include "tools/cli/bvh_units.h"

#include "common/ascii_case.h"

#include "common/text_limits.h"
#include "platform/atomic_file.h"
#include "tools/cli/printable_text.h"
#include "tools/cli/replayable_file.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace {
struct UnitName {
    std::string_view name;
    LengthUnit unit;
    double meters;
};

const UnitName Units[] = {
    {"in", LengthUnit::Inches, 0.0254},
    {"cm", LengthUnit::Centimeters, 0.01},
    {"m", LengthUnit::Meters, 1.0},
};

const UnitName& Find(LengthUnit unit)
{
    for (const UnitName& entry : Units)
        if (entry.unit == unit)
            return entry;
    return Units[0];
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool ParseNumber(std::string_view token, double* value)
{
    if (token.starts_with('+'))
        token.remove_prefix(1);
    const char* end = token.data() + token.size();
    auto [stop, error] = std::from_chars(token.data(), end, *value);
    return error == std::errc() && stop == end && std::isfinite(*value);
}

// The decimals of a scaled number: as many more as the factor shrinks it,
// so that it resolves what the original did (two for inches to metres), and
// as many fewer as it grows it, down to the writer's six, so that a take
// converted there and back comes back as it was.
int ScaledDecimals(int decimals, double factor)
{
    int more = int(std::ceil(-std::log10(factor) - 0.5));
    return std::max(decimals + more, std::min(decimals, 6));
}

// The scaled number in the style of the original: its decimals as above, in
// exponent form if it was; a whole number gets the writer's six decimals.
// Zero stays as it was written.
std::string Scaled(std::string_view token, double value, double factor)
{
    if (value == 0.0 || factor == 1.0)
        return std::string(token);
    size_t exponent = token.find_first_of("eE");
    std::string_view mantissa = token.substr(0, exponent);
    size_t point = mantissa.find('.');
    int decimals = point == std::string_view::npos ? -1 : int(mantissa.size() - point - 1);
    char text[512];
    std::to_chars_result written;
    if (exponent != std::string_view::npos) {
        written = std::to_chars(text, text + sizeof text, value * factor,
                                std::chars_format::scientific, std::max(decimals, 0) + 1);
        if (token[exponent] == 'E')
            for (char* c = text; c < written.ptr; c++)
                if (*c == 'e')
                    *c = 'E';
    } else {
        int places = std::min(ScaledDecimals(decimals < 0 ? 6 : decimals, factor), 30);
        written = std::to_chars(text, text + sizeof text, value * factor, std::chars_format::fixed,
                                places);
    }
    return std::string(text, written.ptr);
}

struct BadInput : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The text a message may quote of a token.
std::string Quoted(std::string_view token)
{
    return "'" + PrintableText(std::string(token.substr(0, 40))) + "'";
}

class Scaler {
  public:
    Scaler(std::FILE* in, TextSink& out, double factor) : in(in), out(out), factor(factor) {}
    BvhScaling Run();

  private:
    enum class Expect {
        Hierarchy,
        Keyword,
        JointName,
        Site,
        Offset,
        ChannelCount,
        ChannelName,
        FramesLabel,
        FrameCount,
        FrameLabel,
        TimeLabel,
        FrameTime,
        Frames,
    };
    enum class BlockKind { Joint, EndSite };
    struct Block {
        BlockKind kind;
        bool offset = false;
        bool channels = false;
    };

    bool ReadLine();
    void Token(std::string_view token);
    void Keyword(std::string_view token);
    void FrameLine();
    void Emit(std::string_view text);
    bool Flush();
    [[noreturn]] void Fail(const std::string& problem) { throw BadInput(problem); }
    void NeedOpenJoint(std::string_view token);

    std::FILE* in;
    TextSink& out;
    double factor;
    std::string line;
    int64_t lineNumber = 0;
    bool readFailed = false;
    std::string pending; // output not yet given to the sink
    bool writeFailed = false;

    Expect expect = Expect::Hierarchy;
    std::vector<Block> blocks;
    bool blockOpening = false; // a ROOT, JOINT or End Site waiting for its "{"
    BlockKind opening = BlockKind::Joint;
    bool rootSeen = false;
    int valuesLeft = 0;       // of an OFFSET or CHANNELS
    std::vector<bool> scaled; // per channel of a frame: a position
    int64_t framesDeclared = 0;
    int64_t framesRead = 0;
    int64_t framesLine = 0;
};

// A line with its line end; false at the end of the input. A line longer
// than any BVH file needs is refused rather than held.
bool Scaler::ReadLine()
{
    line.clear();
    int c;
    while ((c = getc_unlocked(in)) != EOF) {
        line.push_back(char(c));
        if (c == '\n')
            break;
        if (line.size() > MaxLineLength) {
            lineNumber++;
            Fail("the line is longer than " + std::to_string(MaxLineLength) + " bytes");
        }
    }
    if (c == EOF && std::ferror(in)) {
        readFailed = true;
        return false;
    }
    if (line.empty())
        return false;
    lineNumber++;
    return true;
}

void Scaler::Emit(std::string_view text)
{
    pending.append(text);
    if (pending.size() >= 64 * 1024)
        Flush();
}

bool Scaler::Flush()
{
    if (!writeFailed && !pending.empty() && !out.Write(pending))
        writeFailed = true;
    pending.clear();
    return !writeFailed;
}

void Scaler::NeedOpenJoint(std::string_view token)
{
    if (blockOpening || blocks.empty() || blocks.back().kind != BlockKind::Joint)
        Fail(Quoted(token) + " outside a joint's braces");
}

void Scaler::Keyword(std::string_view token)
{
    if (token == "{") {
        if (!blockOpening)
            Fail("'{' without a ROOT, JOINT or End Site before it");
        blocks.push_back({opening});
        blockOpening = false;
    } else if (blockOpening) {
        Fail(Quoted(token) + " where '{' was expected");
    } else if (token == "}") {
        if (blocks.empty())
            Fail("'}' without a block to close");
        if (!blocks.back().offset)
            Fail("a block closes without an OFFSET");
        blocks.pop_back();
    } else if (token == "ROOT") {
        if (!blocks.empty())
            Fail("ROOT inside another joint");
        rootSeen = true;
        opening = BlockKind::Joint;
        expect = Expect::JointName;
    } else if (token == "JOINT") {
        NeedOpenJoint(token);
        opening = BlockKind::Joint;
        expect = Expect::JointName;
    } else if (token == "End") {
        NeedOpenJoint(token);
        opening = BlockKind::EndSite;
        expect = Expect::Site;
    } else if (token == "OFFSET") {
        if (blocks.empty() || blocks.back().offset)
            Fail(blocks.empty() ? "OFFSET outside a joint" : "a second OFFSET in one block");
        blocks.back().offset = true;
        valuesLeft = 3;
        expect = Expect::Offset;
    } else if (token == "CHANNELS") {
        if (blocks.empty() || blocks.back().kind != BlockKind::Joint || blocks.back().channels)
            Fail(blocks.empty()                             ? "CHANNELS outside a joint"
                 : blocks.back().kind == BlockKind::EndSite ? "CHANNELS in an End Site"
                                                            : "a second CHANNELS in one joint");
        blocks.back().channels = true;
        expect = Expect::ChannelCount;
    } else if (token == "MOTION") {
        if (!blocks.empty() || !rootSeen)
            Fail(rootSeen ? "MOTION before every joint is closed" : "MOTION before a ROOT");
        expect = Expect::FramesLabel;
    } else {
        Fail("unexpected " + Quoted(token) + " in the hierarchy");
    }
}

void Scaler::Token(std::string_view token)
{
    // A label glued to its value, as in "Frames:2", is read as two tokens.
    std::string_view label = expect == Expect::FramesLabel ? "Frames:"
                             : expect == Expect::TimeLabel ? "Time:"
                                                           : "";
    if (!label.empty() && token.size() > label.size() && token.starts_with(label)) {
        Token(label);
        token.remove_prefix(label.size());
    }
    double value;
    switch (expect) {
    case Expect::Hierarchy:
        if (token != "HIERARCHY")
            Fail(Quoted(token) + " where HIERARCHY was expected");
        expect = Expect::Keyword;
        break;
    case Expect::Keyword: Keyword(token); break;
    case Expect::JointName:
        blockOpening = true;
        expect = Expect::Keyword;
        break;
    case Expect::Site:
        if (token != "Site")
            Fail(Quoted(token) + " where 'End Site' was expected");
        blockOpening = true;
        expect = Expect::Keyword;
        break;
    case Expect::Offset:
        if (!ParseNumber(token, &value))
            Fail("OFFSET value " + Quoted(token) + " is not a number");
        Emit(Scaled(token, value, factor));
        if (--valuesLeft == 0)
            expect = Expect::Keyword;
        return;
    case Expect::ChannelCount: {
        int count = 0;
        auto [stop, error] = std::from_chars(token.data(), token.data() + token.size(), count);
        if (error != std::errc() || stop != token.data() + token.size() || count < 0 || count > 6)
            Fail("the channel count " + Quoted(token) + " is not a number from 0 to 6");
        valuesLeft = count;
        expect = count > 0 ? Expect::ChannelName : Expect::Keyword;
        break;
    }
    case Expect::ChannelName: {
        bool known = false;
        for (std::string_view axis : {"X", "Y", "Z"}) {
            if (SameIgnoringCase(token, std::string(axis) + "position"))
                scaled.push_back(known = true);
            else if (SameIgnoringCase(token, std::string(axis) + "rotation")) {
                scaled.push_back(false);
                known = true;
            }
        }
        if (!known)
            Fail("unknown channel " + Quoted(token));
        if (--valuesLeft == 0)
            expect = Expect::Keyword;
        break;
    }
    case Expect::FramesLabel:
        if (token != "Frames:")
            Fail(Quoted(token) + " where 'Frames:' was expected");
        expect = Expect::FrameCount;
        break;
    case Expect::FrameCount: {
        auto [stop, error] =
            std::from_chars(token.data(), token.data() + token.size(), framesDeclared);
        if (error != std::errc() || stop != token.data() + token.size() || framesDeclared < 0)
            Fail("the frame count " + Quoted(token) + " is not a whole number");
        framesLine = lineNumber;
        expect = Expect::FrameLabel;
        break;
    }
    case Expect::FrameLabel:
        if (token != "Frame")
            Fail(Quoted(token) + " where 'Frame Time:' was expected");
        expect = Expect::TimeLabel;
        break;
    case Expect::TimeLabel:
        if (token != "Time:")
            Fail(Quoted(token) + " where 'Frame Time:' was expected");
        expect = Expect::FrameTime;
        break;
    case Expect::FrameTime:
        if (!ParseNumber(token, &value) || value < 0)
            Fail("the frame time " + Quoted(token) + " is not a number of seconds");
        expect = Expect::Frames;
        break;
    case Expect::Frames: Fail("unexpected " + Quoted(token) + " after the frame time");
    }
    Emit(token);
}

// One frame per line, each value in the channel order of the hierarchy.
void Scaler::FrameLine()
{
    size_t at = 0, channel = 0;
    std::string_view text = line;
    bool blank = text.find_first_not_of(" \t\r\n\v\f") == std::string_view::npos;
    if (!blank && framesRead == framesDeclared)
        Fail("more frames than the " + std::to_string(framesDeclared) + " of line " +
             std::to_string(framesLine));
    while (at < text.size()) {
        size_t start = at;
        while (at < text.size() && IsBlank(text[at]))
            at++;
        Emit(text.substr(start, at - start));
        if (at == text.size())
            break;
        start = at;
        while (at < text.size() && !IsBlank(text[at]))
            at++;
        std::string_view token = text.substr(start, at - start);
        double value;
        if (channel == scaled.size())
            Fail("more values than the " + std::to_string(scaled.size()) + " channels");
        if (!ParseNumber(token, &value))
            Fail("frame value " + Quoted(token) + " is not a number");
        Emit(scaled[channel++] ? Scaled(token, value, factor) : std::string(token));
    }
    if (!blank && channel < scaled.size())
        Fail(std::to_string(channel) + " values where the hierarchy has " +
             std::to_string(scaled.size()) + " channels");
    framesRead += !blank;
}

BvhScaling Scaler::Run()
{
    try {
        while (!writeFailed && ReadLine()) {
            if (expect == Expect::Frames) {
                FrameLine();
                continue;
            }
            std::string_view text = line;
            size_t at = 0;
            // A byte order mark some editors put first.
            if (lineNumber == 1 && text.starts_with("\xEF\xBB\xBF")) {
                Emit(text.substr(0, 3));
                at = 3;
            }
            while (at < text.size()) {
                size_t start = at;
                while (at < text.size() && IsBlank(text[at]))
                    at++;
                Emit(text.substr(start, at - start));
                start = at;
                while (at < text.size() && !IsBlank(text[at]))
                    at++;
                if (at > start)
                    Token(text.substr(start, at - start));
            }
            if (expect == Expect::JointName)
                Fail("a joint without a name");
        }
        if (readFailed)
            return {BvhScaling::ReadFailed, lineNumber + 1, ""};
        if (!writeFailed) {
            lineNumber++;
            if (expect != Expect::Frames)
                Fail(expect == Expect::Hierarchy    ? "the file is empty"
                     : expect < Expect::FramesLabel ? "the file ends before MOTION"
                                                    : "the file ends in the MOTION header");
            if (framesRead < framesDeclared)
                Fail("the file ends after " + std::to_string(framesRead) + " of the " +
                     std::to_string(framesDeclared) + " frames of line " +
                     std::to_string(framesLine));
        }
    } catch (const BadInput& error) {
        return {BvhScaling::BadInput, lineNumber, error.what()};
    }
    if (!Flush())
        return {BvhScaling::WriteFailed, 0, ""};
    return {};
}
} // namespace

std::optional<LengthUnit> FindLengthUnit(std::string_view name)
{
    for (const UnitName& entry : Units)
        if (entry.name == name)
            return entry.unit;
    return std::nullopt;
}

const char* LengthUnitName(LengthUnit unit)
{
    return Find(unit).name.data();
}

double LengthFactor(LengthUnit from, LengthUnit to)
{
    return from == to ? 1.0 : Find(from).meters / Find(to).meters;
}

BvhScaling ScaleBvh(std::FILE* in, TextSink& out, double factor)
{
    return Scaler(in, out, factor).Run();
}

BvhScaling ScaleBvhText(std::string_view in, std::string* out, double factor)
{
    class StringSink : public TextSink {
      public:
        explicit StringSink(std::string* text) : text(text) {}
        bool Write(std::string_view part) override
        {
            text->append(part);
            return true;
        }

      private:
        std::string* text;
    };
    out->clear();
    StringSink sink(out);
    // A memory stream cannot be empty.
    std::FILE* file =
        in.empty() ? std::tmpfile() : fmemopen(const_cast<char*>(in.data()), in.size(), "r");
    if (!file) {
        BvhScaling failed;
        failed.outcome = BvhScaling::ReadFailed;
        return failed;
    }
    BvhScaling result = ScaleBvh(file, sink, factor);
    std::fclose(file);
    return result;
}

namespace {
class AtomicFileSink : public TextSink {
  public:
    explicit AtomicFileSink(AtomicFile& file) : file(file) {}
    bool Write(std::string_view text) override { return file.Write(text.data(), text.size()); }

  private:
    AtomicFile& file;
};

class StreamSink : public TextSink {
  public:
    explicit StreamSink(std::FILE* stream) : stream(stream) {}
    bool Write(std::string_view text) override
    {
        return std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    }

  private:
    std::FILE* stream;
};

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

std::string Reason(int error)
{
    return error ? std::string(" (") + std::strerror(error) + ")" : "";
}

// Runs the scaling and words its failure; "" when the text is all written.
std::string Scale(const std::string& inPath, const std::string& inName, TextSink& sink,
                  const std::string& outName, double factor)
{
    OwnedFile in(std::fopen(inPath.c_str(), "rb"));
    if (!in)
        return "cannot open " + inName + Reason(errno);
    errno = 0;
    BvhScaling scaling = ScaleBvh(in.get(), sink, factor);
    switch (scaling.outcome) {
    case BvhScaling::Scaled: return "";
    case BvhScaling::BadInput:
        return inName + ", line " + std::to_string(scaling.line) + ": " + scaling.problem;
    case BvhScaling::ReadFailed: return "cannot read " + inName + Reason(errno);
    case BvhScaling::WriteFailed: break;
    }
    return "cannot write " + outName + Reason(errno);
}
} // namespace

std::string ScaleBvhFile(const std::string& inPath, const std::string& inName,
                         const std::string& outPath, double factor)
{
    AtomicFile file;
    errno = 0;
    if (file.Open(outPath.c_str()) != AtomicFileOpen::Opened)
        return "cannot write " + outPath + Reason(errno);
    AtomicFileSink sink(file);
    std::string problem = Scale(inPath, inName, sink, outPath, factor);
    if (!problem.empty())
        return problem;
    errno = 0;
    return file.Commit() ? "" : "cannot write " + outPath + Reason(errno);
}

std::string ScaleBvhFileTo(const std::string& inPath, const std::string& inName, std::FILE* out,
                           double factor)
{
    std::string name = TemporaryFolder() + "/varnel-scaled-XXXXXX";
    int descriptor = mkostemp(name.data(), O_CLOEXEC);
    if (descriptor < 0)
        return "cannot make a temporary file in " + TemporaryFolder() + Reason(errno);
    unlink(name.c_str());
    OwnedFile scaled(fdopen(descriptor, "w+b"));
    if (!scaled) {
        close(descriptor);
        return "cannot make a temporary file in " + TemporaryFolder() + Reason(errno);
    }
    StreamSink sink(scaled.get());
    std::string problem = Scale(inPath, inName, sink, "a temporary file", factor);
    if (!problem.empty())
        return problem;
    errno = 0;
    if (std::fflush(scaled.get()) != 0 || std::fseek(scaled.get(), 0, SEEK_SET) != 0)
        return "cannot write a temporary file in " + TemporaryFolder() + Reason(errno);
    char buffer[64 * 1024];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, scaled.get())) > 0)
        if (std::fwrite(buffer, 1, got, out) != got)
            return "cannot write to standard output" + Reason(errno);
    if (std::ferror(scaled.get()))
        return "cannot read back a temporary file" + Reason(errno);
    return std::fflush(out) == 0 ? "" : "cannot write to standard output" + Reason(errno);
}
