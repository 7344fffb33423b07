// Input files for the library's readers, which take a path and may open it
// more than once (after the file's kind was told from its content). A pipe
// or a device yields its bytes once, so those are first copied into an
// unnamed file in the temporary folder: on disk, never in memory.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

// The most copied from a pipe or device: more than an hour of capture at
// 240 frames per second, while a device that yields short lines forever
// still ends.
constexpr size_t DefaultCopyLimit = size_t(1) << 30;

// A file as the readers open it and as the user named it; the two differ
// for a copied file, whose stand-in path no message may show.
// $TMPDIR, else /tmp: where copies and other passing files go.
std::string TemporaryFolder();

struct NamedFile {
    NamedFile(std::string path) : path(path), name(std::move(path)) {}
    NamedFile(std::string path, std::string name) : path(std::move(path)), name(std::move(name)) {}
    // The text with the stand-in path replaced by the user's name.
    std::string Named(std::string text) const;

    std::string path;
    std::string name;
};

class ReplayableFile {
  public:
    explicit ReplayableFile(size_t limit = DefaultCopyLimit) : limit(limit) {}
    ReplayableFile(const ReplayableFile&) = delete;
    ReplayableFile& operator=(const ReplayableFile&) = delete;
    ~ReplayableFile();

    // A regular file is used where it is. Anything else is copied, into
    // $TMPDIR (else /tmp), to its end or through its first line longer than
    // MaxLineLength: the readers refuse the file at that line, so the rest
    // would only fill the disk. False, with the reason on errors, for a file
    // that cannot be opened or read (a folder ...), that holds more than the
    // limit, or whose copy cannot be written.
    bool Open(const std::string& path, std::ostream& errors);

    const NamedFile& File() const { return file; }

  private:
    enum class Copy { Complete, Unreadable, TooLarge, NotWritten };
    Copy UseOrCopy(const std::string& path);
    Copy CopyToTemporaryFile(int input);

    size_t limit;
    int copy = -1;
    int copyError = 0; // errno of a copy not written
    NamedFile file{""};
};
