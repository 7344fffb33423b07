#include "tools/record/take_paths.h"

#include <algorithm>
#include <set>

namespace {
std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// "dir/take.bvh" + "A" -> "dir/take-A.bvh"; a file name without an
// extension, or a hidden one, gets it at the end.
std::string WithSuffix(const std::string& output, const std::string& suffix)
{
    size_t nameStart = output.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    size_t dot = output.find_last_of('.');
    if (dot == std::string::npos || dot <= nameStart)
        return output + "-" + suffix;
    return output.substr(0, dot) + "-" + suffix + output.substr(dot);
}
} // namespace

std::string FileNamePart(const std::string& suitName)
{
    std::string part;
    for (char c : suitName) {
        bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_' || (c == '.' && !part.empty());
        part += kept ? c : '_';
    }
    return part.empty() ? "suit" : part;
}

bool IsTakePathPattern(const std::string& output)
{
    return output.find("{name}") != std::string::npos ||
           output.find("{index}") != std::string::npos;
}

std::string TakePaths(const std::string& output, const std::vector<TakePathSuit>& suits,
                      std::vector<std::string>* paths)
{
    std::vector<std::string> names;
    for (const TakePathSuit& suit : suits)
        names.push_back(FileNamePart(suit.name));
    std::vector<std::string> result;
    for (size_t i = 0; i < suits.size(); i++) {
        std::string name = names[i];
        if (std::count(names.begin(), names.end(), names[i]) > 1)
            name += "-" + std::to_string(suits[i].index);
        if (IsTakePathPattern(output))
            result.push_back(ReplaceAll(ReplaceAll(output, "{name}", name), "{index}",
                                        std::to_string(suits[i].index)));
        else if (suits.size() == 1)
            result.push_back(output);
        else
            result.push_back(WithSuffix(output, name));
    }
    std::set<std::string> seen;
    for (const std::string& path : result)
        if (!seen.insert(path).second) {
            bool indexed = output.find("{index}") != std::string::npos;
            std::string hint = indexed ? "" : "; put {index} in the output name";
            return "two suits' takes would both go to " + path + hint;
        }
    *paths = std::move(result);
    return "";
}
