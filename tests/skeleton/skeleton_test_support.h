// Shared helpers of the skeleton tests: recorded messages, scratch folders,
// file text.
#pragma once

#include "tests/support/owned_skeleton.h"
#include "varnel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// Records what the library reports instead of printing it.
class RecordedMessages {
  public:
    RecordedMessages();
    ~RecordedMessages();
    const std::vector<std::string>& Texts() const;
    void Clear();
};

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    std::string Path(const std::string& name) const { return (folder / name).string(); }
    std::vector<std::string> Entries() const;

  private:
    std::filesystem::path folder;
};

std::string ReadFileText(const std::string& path);
void WriteFileText(const std::string& path, const std::string& text);

// The file's lines, without their line ends.
std::vector<std::string> SplitLines(const std::string& text);
std::string JoinLines(const std::vector<std::string>& lines);

// The 1-based number of the first line holding text, from line `from` on.
int LineOf(const std::vector<std::string>& lines, const std::string& text, int from = 1);

std::string SourcePath(const std::string& relative);

// A varied take: every channel moves on its own sine, within joint ranges.
void FillTake(Skeleton* skeleton, int frames);
