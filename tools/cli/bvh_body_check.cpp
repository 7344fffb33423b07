#include "tools/cli/bvh_body_check.h"

#include "common/ascii_case.h"

#include "common/bvh_joint_names.h"
#include "tools/cli/printable_text.h"
#include "tools/cli/skeleton_with_frames.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

namespace {
std::string Quoted(std::string_view text, size_t longest = 40)
{
    return "'" + PrintableText(text.substr(0, longest)) + "'";
}

std::string NodeName(const SkeletonNode& node)
{
    return "'" + std::string(node.name, strnlen(node.name, sizeof node.name)) + "'";
}

// Follows the reader's rules line by line on the library's own node table,
// remembering which line of the file each node came from, so that the line
// the reader stops at can be told in terms of joints.
class BodyCheck {
  public:
    explicit BodyCheck(std::istream& file) : file(file) {}
    std::string Run();

  private:
    std::string JointLine(std::string_view line, size_t keywordAt);
    std::string OffsetLine();
    std::string ChannelsLine(std::string_view declaration);
    std::string Missing();

    std::istream& file;
    SkeletonWithFrames body;
    long long lineNumber = 0;
    SkeletonNode* current = nullptr;
    SkeletonNode* previous = nullptr; // the node before a joint matched as a child
    bool inEndSite = false;
    std::string jointName; // of the current node's JOINT line, and its line
    long long jointLine = 0;
    long long endSiteLine = 0;
    struct Source {
        std::string name;
        long long line = 0;
    } mapped[25];
};

std::string BodyCheck::JointLine(std::string_view line, size_t keywordAt)
{
    std::string_view name;
    if (keywordAt + 5 <= line.size()) {
        name = line.substr(keywordAt + 5);
        size_t start = name.find_first_not_of(" \t");
        name = start == std::string_view::npos ? "" : name.substr(start);
        name = name.substr(0, name.find_first_of(" \t\n"));
    }
    if (name.empty())
        return "line " + std::to_string(lineNumber) + " has a joint without a name";
    inEndSite = false;
    jointName = name;
    jointLine = lineNumber;
    for (const BvhBranchJoint& joint : BvhBranchJoints) {
        if (joint.name == name) {
            current = &body.skeleton.nodes[joint.node];
            return "";
        }
    }
    if (!current)
        return "line " + std::to_string(lineNumber) + " has root " + Quoted(name) +
               " where 'Hips' was expected";
    previous = current;
    current = current->numChildren > 0 ? current->children[0] : nullptr;
    return "";
}

std::string BodyCheck::OffsetLine()
{
    if (inEndSite)
        return current ? ""
                       : "line " + std::to_string(endSiteLine) + " has an End Site below " +
                             NodeName(*previous) + ", where the body has none";
    std::string line = "line " + std::to_string(jointLine) + " has joint " + Quoted(jointName);
    if (!current)
        return line + " below " + NodeName(*previous) + ", where the body has no joint";
    if (!current->hasChannels)
        return line + " where the body has only the End Site of " + NodeName(*previous);
    Source& source = mapped[current - body.skeleton.nodes];
    if (source.line > 0)
        return line + " where the body's " + NodeName(*current) + " was already read, as " +
               Quoted(source.name) + " on line " + std::to_string(source.line);
    source = {jointName, jointLine};
    return "";
}

std::string BodyCheck::ChannelsLine(std::string_view declaration)
{
    if (!current || inEndSite)
        return "line " + std::to_string(lineNumber) + " has channels outside a joint";
    bool root = current == &body.skeleton.nodes[NodeHips];
    std::string expected = root ? "6" : "3";
    for (int i = root ? 0 : 3; i < 6; i++)
        expected += " " + std::string(BvhRootChannels[i]);
    std::istringstream words{std::string(declaration)};
    std::string word, given;
    bool same = words >> word && word == expected.substr(0, 1);
    given = word;
    for (int i = root ? 0 : 3; words >> word; i++) {
        same = same && i < 6 && SameIgnoringCase(word, BvhRootChannels[i]);
        given += " " + word;
    }
    if (same && given.size() == expected.size())
        return "";
    return "line " + std::to_string(lineNumber) + " gives joint " + Quoted(jointName) +
           " the channels " + Quoted(given, 120) + " where " + Quoted(expected, 120) +
           " was expected";
}

std::string BodyCheck::Missing()
{
    std::string names;
    int count = 0;
    for (const SkeletonNode& node : body.skeleton.nodes) {
        if (!node.hasChannels || mapped[&node - body.skeleton.nodes].line > 0)
            continue;
        if (count++ < 3)
            names += (count > 1 ? ", " : "") + NodeName(node);
    }
    if (count == 0)
        return "";
    if (count > 3)
        names += " and " + std::to_string(count - 3) + " more";
    return "the hierarchy ends on line " + std::to_string(lineNumber) + " without joint" +
           (count > 1 ? "s " : " ") + names;
}

std::string BodyCheck::Run()
{
    std::string text;
    while (std::getline(file, text)) {
        lineNumber++;
        if (text.ends_with('\r'))
            text.pop_back();
        std::string_view line = text;
        size_t at = line.find("JOINT");
        if (at == std::string_view::npos)
            at = line.find("ROOT");
        std::string problem;
        if (at != std::string_view::npos) {
            problem = JointLine(line, at);
        } else if (line.find("End Site") != std::string_view::npos) {
            if (!current)
                return "line " + std::to_string(lineNumber) + " has an End Site before the root";
            previous = current;
            current = current->numChildren > 0 ? current->children[0] : nullptr;
            inEndSite = true;
            endSiteLine = lineNumber;
        } else if (line.find("OFFSET") != std::string_view::npos) {
            if (!current && jointLine == 0)
                return "line " + std::to_string(lineNumber) + " has an OFFSET before the root";
            problem = OffsetLine();
        } else if (line.find("MOTION") != std::string_view::npos) {
            return Missing();
        } else if (size_t channels = line.find("CHANNELS"); channels != std::string_view::npos) {
            problem = ChannelsLine(line.substr(channels + 8));
        }
        if (!problem.empty())
            return problem;
    }
    return "";
}
} // namespace

std::string NotTheBodyReason(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return "";
    return BodyCheck(file).Run();
}

std::string NotTheBodyLine(const std::string& path, const std::string& name)
{
    std::string reason = NotTheBodyReason(path);
    return reason.empty() ? "" : name + " is not the 18-joint Varnel body: " + reason;
}
