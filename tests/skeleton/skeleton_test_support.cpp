#include "skeleton_test_support.h"

#include <atomic>
#include <cmath>
#include <fstream>
#include <mutex>
#include <sstream>

#include <unistd.h>

namespace {
std::mutex recordedLock;
std::vector<std::string> recorded;

int Record(const char* text)
{
    std::lock_guard<std::mutex> hold(recordedLock);
    recorded.push_back(text);
    return 1;
}
std::atomic<int> scratchCounter{0};
} // namespace

RecordedMessages::RecordedMessages()
{
    Clear();
    VarnelSetMessageHandler(Record);
}

RecordedMessages::~RecordedMessages()
{
    VarnelSetMessageHandler(nullptr);
}

const std::vector<std::string>& RecordedMessages::Texts() const
{
    return recorded;
}

void RecordedMessages::Clear()
{
    std::lock_guard<std::mutex> hold(recordedLock);
    recorded.clear();
}

ScratchFolder::ScratchFolder()
{
    folder = std::filesystem::temp_directory_path() /
             ("varnel-skeleton-" + std::to_string(getpid()) + "-" +
              std::to_string(scratchCounter.fetch_add(1)));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(folder, ignored);
}

std::vector<std::string> ScratchFolder::Entries() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

std::string ReadFileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFileText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

int LineOf(const std::vector<std::string>& lines, const std::string& text, int from)
{
    for (size_t i = size_t(from - 1); i < lines.size(); i++)
        if (lines[i].find(text) != std::string::npos)
            return int(i) + 1;
    ADD_FAILURE() << "no line holds " << text;
    return -1;
}

std::string SourcePath(const std::string& relative)
{
    return std::string(VARNEL_SOURCE_DIR) + "/" + relative;
}

void FillTake(Skeleton* skeleton, int frames)
{
    VarnelFreeSkeletonFrames(skeleton);
    for (int i = 0; i < frames; i++) {
        ASSERT_EQ(VarnelAddFrame(skeleton), 1);
        SkeletonFrame& frame = skeleton->frames[i];
        frame.counter = i;
        frame.contacts = 0;
        float t = float(i) / 120.0f;
        frame.channels[0] = 20.0f * std::sin(0.3f * t);
        frame.channels[1] = -150.0f * t;
        frame.channels[2] = 36.5f + 1.5f * std::sin(6.0f * t);
        for (int c = 3; c < VARNEL_NUM_CHANNELS; c++)
            frame.channels[c] = 70.0f * std::sin(0.7f * float(c) + (1.0f + 0.05f * float(c)) * t);
    }
}
