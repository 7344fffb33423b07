#include "tools/info/bvh_description.h"

#include "tools/cli/bvh_foot_options.h"
#include "tools/cli/skeleton_with_frames.h"
#include "varnel.h"

#include <algorithm>
#include <cstdio>
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

void PrintOffsets(const Skeleton& skeleton, std::ostream& out)
{
    out << "\nBone offsets from the parent (x, y, z; z up):\n";
    for (const SkeletonNode& node : skeleton.nodes) {
        char line[200];
        std::snprintf(line, sizeof line, "  %-14.15s %10.4f %10.4f %10.4f\n", node.name,
                      Printable(node.offset.x), Printable(node.offset.y), Printable(node.offset.z));
        out << line;
    }
}

void PrintHipsTravel(const Skeleton& skeleton, std::ostream& out)
{
    if (skeleton.numFrames <= 0)
        return;
    out << "\nHips travel:        min        max      range\n";
    const char* axes[] = {"x", "y", "z"};
    for (int axis = 0; axis < 3; axis++) {
        float low = skeleton.frames[0].channels[axis], high = low;
        for (int i = 1; i < skeleton.numFrames; i++) {
            low = std::min(low, skeleton.frames[i].channels[axis]);
            high = std::max(high, skeleton.frames[i].channels[axis]);
        }
        out << "  " << axes[axis]
            << Format(" %16.4f %10.4f %10.4f\n", Printable(low), Printable(high),
                      double(high) - double(low));
    }
}

void PrintContacts(const Skeleton& skeleton, std::ostream& out)
{
    if (skeleton.numFrames <= 0)
        return;
    struct Point {
        const char* name;
        uint32_t bit;
    };
    const Point points[] = {{"LeftFootHeel", ContactLeftFootHeel},
                            {"RightFootHeel", ContactRightFootHeel},
                            {"LeftFootBall", ContactLeftFootBall},
                            {"RightFootBall", ContactRightFootBall}};
    out << "\nContacts (frames with the point on the floor):\n";
    for (const Point& point : points) {
        int frames = 0;
        for (int i = 0; i < skeleton.numFrames; i++)
            frames += (skeleton.frames[i].contacts & point.bit) != 0;
        char line[80];
        std::snprintf(line, sizeof line, "  %-14s %8d  %5.1f%%\n", point.name, frames,
                      100.0 * frames / skeleton.numFrames);
        out << line;
    }
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
    int result = VarnelReadBVH(file.path.c_str(), &skeleton, DefaultAnkleHeelBallAngle,
                               DefaultBallToHeelRatio);
    VarnelSetMessageHandler(previous);
    capturedMessages = nullptr;
    if (result)
        return true;
    // An unopenable file is the one failure the library does not report.
    errors << (messages.empty() ? "Can't open file " + file.name + "\n" : file.Named(messages));
    return false;
}
} // namespace

int DescribeBvhFile(const NamedFile& file, std::ostream& out, std::ostream& errors)
{
    auto read = std::make_unique<SkeletonWithFrames>();
    if (!ReadTake(file, read->skeleton, errors))
        return 1;
    const Skeleton& skeleton = read->skeleton;
    out << file.name << ": BVH motion\n";
    out << "Frames: " << skeleton.numFrames << "\n";
    out << Format("Frame time: %g s", skeleton.frameTime);
    if (skeleton.frameTime > 0)
        out << Format(" (%g frames per second)", 1.0 / double(skeleton.frameTime));
    out << "\n" << Format("Duration: %.3f s\n", double(skeleton.numFrames) * skeleton.frameTime);
    PrintOffsets(skeleton, out);
    PrintHipsTravel(skeleton, out);
    PrintContacts(skeleton, out);
    return 0;
}
