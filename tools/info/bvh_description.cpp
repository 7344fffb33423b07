#include "tools/info/bvh_description.h"

#include "tools/cli/bvh_units.h"

#include "tools/cli/bvh_body_check.h"
#include "tools/cli/json_writer.h"
#include "tools/cli/skeleton_with_frames.h"
#include "varnel.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace {
// VarnelReadBVH reports through the message handler; the tool prints the
// text where its own errors go.
std::string* capturedMessages = nullptr;

int CaptureMessage(const char* text)
{
    if (capturedMessages)
        *capturedMessages += std::string(text) + "\n";
    return 1;
}

// Adding zero turns -0 into 0: a negated zero offset is still no offset.
double Printable(float value)
{
    return double(value) + 0.0;
}

std::string Format(const char* format, double a, double b = 0, double c = 0, double d = 0)
{
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

// A BVH file does not say its unit: lengths are what the library reads,
// which it takes for inches.

// From the lowest to the highest point of the rest pose (every angle zero).
float RestHeight(Skeleton& skeleton)
{
    SkeletonFrame rest{};
    VarnelApplyFrame(&skeleton, &rest, 1, 0);
    float low = skeleton.nodes[0].worldPosition.z, high = low;
    for (const SkeletonNode& node : skeleton.nodes) {
        low = std::min(low, node.worldPosition.z);
        high = std::max(high, node.worldPosition.z);
    }
    return high - low;
}

void PrintOffsets(const Skeleton& skeleton, const char* unit, std::ostream& out)
{
    out << "\nBone offsets from the parent (" << unit << "; x, y, z; z up):\n";
    for (const SkeletonNode& node : skeleton.nodes) {
        char line[200];
        std::snprintf(line, sizeof line, "  %-14.15s %10.4f %10.4f %10.4f\n", node.name,
                      Printable(node.offset.x), Printable(node.offset.y), Printable(node.offset.z));
        out << line;
    }
}

struct AxisRange {
    float low, high;
};

// The range of the hips' position channel axis over the take (frames > 0).
AxisRange HipsRange(const Skeleton& skeleton, int axis)
{
    AxisRange range{skeleton.frames[0].channels[axis], skeleton.frames[0].channels[axis]};
    for (int i = 1; i < skeleton.numFrames; i++) {
        range.low = std::min(range.low, skeleton.frames[i].channels[axis]);
        range.high = std::max(range.high, skeleton.frames[i].channels[axis]);
    }
    return range;
}

const char* const Axes[] = {"x", "y", "z"};

struct ContactPoint {
    const char* name;
    uint32_t bit;
};
const ContactPoint ContactPoints[] = {{"LeftFootHeel", ContactLeftFootHeel},
                                      {"RightFootHeel", ContactRightFootHeel},
                                      {"LeftFootBall", ContactLeftFootBall},
                                      {"RightFootBall", ContactRightFootBall}};

int ContactFrames(const Skeleton& skeleton, uint32_t bit)
{
    int frames = 0;
    for (int i = 0; i < skeleton.numFrames; i++)
        frames += (skeleton.frames[i].contacts & bit) != 0;
    return frames;
}

void PrintHipsTravel(const Skeleton& skeleton, const char* unit, std::ostream& out)
{
    if (skeleton.numFrames <= 0)
        return;
    out << "\nHips travel (" << unit << "):   min        max      range\n";
    for (int axis = 0; axis < 3; axis++) {
        AxisRange range = HipsRange(skeleton, axis);
        out << "  " << Axes[axis]
            << Format(" %16.4f %10.4f %10.4f\n", Printable(range.low), Printable(range.high),
                      double(range.high) - double(range.low));
    }
}

void PrintContacts(const Skeleton& skeleton, std::ostream& out)
{
    if (skeleton.numFrames <= 0)
        return;
    out << "\nContacts (frames with the point on the floor):\n";
    for (const ContactPoint& point : ContactPoints) {
        int frames = ContactFrames(skeleton, point.bit);
        char line[80];
        std::snprintf(line, sizeof line, "  %-14s %8d  %5.1f%%\n", point.name, frames,
                      100.0 * frames / skeleton.numFrames);
        out << line;
    }
}

// The same facts as the text, by name; the travel and contacts are null for
// a take without frames.
std::string JsonDescription(const NamedFile& file, const Skeleton& skeleton, float height,
                            const char* unit)
{
    JsonWriter json;
    json.BeginObject().Key("file").String(file.name).Key("kind").String("bvh");
    json.Key("frames").Integer(skeleton.numFrames).Key("frameTime").Number(skeleton.frameTime);
    json.Key("duration").Number(float(skeleton.numFrames) * skeleton.frameTime);
    json.Key("units").String(unit).Key("height").Number(height);
    json.Key("offsets").BeginArray();
    for (const SkeletonNode& node : skeleton.nodes) {
        json.BeginObject().Key("node").String(
            std::string_view(node.name, strnlen(node.name, sizeof node.name)));
        json.Key("x").Number(node.offset.x).Key("y").Number(node.offset.y);
        json.Key("z").Number(node.offset.z).EndObject();
    }
    json.EndArray().Key("hipsTravel");
    if (skeleton.numFrames > 0) {
        json.BeginObject();
        for (int axis = 0; axis < 3; axis++) {
            AxisRange range = HipsRange(skeleton, axis);
            json.Key(Axes[axis]).BeginObject().Key("min").Number(range.low);
            json.Key("max").Number(range.high);
            json.Key("range").Number(range.high - range.low).EndObject();
        }
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("contacts");
    if (skeleton.numFrames > 0) {
        json.BeginObject();
        for (const ContactPoint& point : ContactPoints)
            json.Key(point.name).Integer(ContactFrames(skeleton, point.bit));
        json.EndObject();
    } else {
        json.Null();
    }
    return json.EndObject().Text() + "\n";
}

// Reads the file the way the viewer would, with the library's message on
// errors when it cannot.
bool ReadTake(const NamedFile& file, Skeleton& skeleton, std::ostream& errors)
{
    std::error_code error;
    if (std::filesystem::is_directory(file.path, error)) {
        errors << "Can't open file " << file.name << "\n";
        return false;
    }
    std::string messages;
    capturedMessages = &messages;
    VarnelMessageHandler previous = VarnelSetMessageHandler(CaptureMessage);
    int result = VarnelReadBVH(file.path.c_str(), &skeleton, VARNEL_DEFAULT_ANKLE_HEEL_BALL_ANGLE,
                               VARNEL_DEFAULT_BALL_TO_HEEL_RATIO);
    VarnelSetMessageHandler(previous);
    capturedMessages = nullptr;
    if (result)
        return true;
    // An unopenable file is the one failure the library does not report.
    errors << (messages.empty() ? "Can't open file " + file.name + "\n" : file.Named(messages));
    std::string body = NotTheBodyLine(file.path, file.name);
    if (!messages.empty() && !body.empty())
        errors << body << "\n";
    return false;
}
} // namespace

int DescribeBvhFile(const NamedFile& file, std::ostream& out, std::ostream& errors, OutputForm form,
                    std::optional<LengthUnit> unitGiven)
{
    const char* unit = LengthUnitName(unitGiven.value_or(LengthUnit::Inches));
    auto read = std::make_unique<SkeletonWithFrames>();
    if (!ReadTake(file, read->skeleton, errors))
        return 1;
    const Skeleton& skeleton = read->skeleton;
    const float height = RestHeight(read->skeleton);
    if (form == OutputForm::Json) {
        out << JsonDescription(file, skeleton, height, unit);
        return 0;
    }
    out << file.name << ": BVH motion\n";
    out << "Frames: " << skeleton.numFrames << "\n";
    out << Format("Frame time: %g s", skeleton.frameTime);
    if (skeleton.frameTime > 0)
        out << Format(" (%g frames per second)", 1.0 / double(skeleton.frameTime));
    out << "\n" << Format("Duration: %.3f s\n", double(skeleton.numFrames) * skeleton.frameTime);
    out << "Lengths: " << unit
        << (unitGiven ? " (as --units says)\n"
                      : " (a BVH file does not record its unit; the library reads it as inches, "
                        "--units names another)\n");
    out << Format("Height (rest pose): %.1f ", double(height)) << unit << "\n";
    PrintOffsets(skeleton, unit, out);
    PrintHipsTravel(skeleton, unit, out);
    PrintContacts(skeleton, out);
    return 0;
}
