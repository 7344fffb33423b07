#include "tools/record/take_paths.h"

#include <gtest/gtest.h>

namespace {
TEST(TakePaths, SuitNamesBecomeSafeFileNameParts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Walker", "Walker"},
        {"Simulated suit 2", "Simulated_suit_2"},
        {"../etc/passwd", "_._etc_passwd"},
        {".hidden", "_hidden"},
        {"a\x1b[2Jb", "a__2Jb"},
        {"caf\xc3\xa9", "caf__"},
        {"", "suit"},
    };
    for (const auto& [name, part] : cases)
        EXPECT_EQ(FileNamePart(name), part) << name;
}

TEST(TakePaths, EachSuitGetsItsOwnFile)
{
    struct Case {
        const char* output;
        std::vector<TakePathSuit> suits;
        std::vector<std::string> paths;
    };
    const Case cases[] = {
        {"take.bvh", {{"A", 0}}, {"take.bvh"}},
        {"take.bvh", {{"A", 0}, {"B", 1}}, {"take-A.bvh", "take-B.bvh"}},
        {"dir.v2/take", {{"A", 0}, {"B", 3}}, {"dir.v2/take-A", "dir.v2/take-B"}},
        {"out/.take", {{"A", 0}, {"B", 1}}, {"out/.take-A", "out/.take-B"}},
        {"take.bvh",
         {{"Suit", 0}, {"Suit", 1}, {"Other", 2}},
         {"take-Suit-0.bvh", "take-Suit-1.bvh", "take-Other.bvh"}},
        {"{name}/{index}-{name}.bvh", {{"A b", 2}}, {"A_b/2-A_b.bvh"}},
        {"s{index}.bvh", {{"A", 1}, {"A", 0}}, {"s1.bvh", "s0.bvh"}},
        {"{name}.bvh", {{"A", 0}, {"A", 4}}, {"A-0.bvh", "A-4.bvh"}},
        {"{other}.bvh", {{"A", 0}, {"B", 1}}, {"{other}-A.bvh", "{other}-B.bvh"}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.output);
        std::vector<std::string> paths;
        EXPECT_EQ(TakePaths(test.output, test.suits, &paths), "");
        EXPECT_EQ(paths, test.paths);
    }
}

TEST(TakePaths, TwoTakesForOneFileAreRefused)
{
    std::vector<std::string> paths{"untouched"};
    // "A", "A" and "A-1" would meet at A-1.
    std::string error = TakePaths("{name}.bvh", {{"A", 0}, {"A", 1}, {"A-1", 2}}, &paths);
    EXPECT_NE(error.find("A-1.bvh"), std::string::npos) << error;
    EXPECT_NE(error.find("{index}"), std::string::npos) << error;
    EXPECT_EQ(paths, std::vector<std::string>{"untouched"});
    error = TakePaths("take.bvh", {{"A", 0}, {"A", 1}, {"A-1", 2}}, &paths);
    EXPECT_NE(error.find("take-A-1.bvh"), std::string::npos) << error;
}
} // namespace
