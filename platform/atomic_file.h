// Writing a file so that readers see either the old file or the complete new
// one: the text goes to a temporary file in the same folder, which replaces
// the target only once every byte is written and synced. A target that
// exists but is not a regular file (a device, a pipe) is written in place,
// because renaming over it would destroy the node. The temporary file's name
// is short and of a fixed pattern (atomic_file_temporary.h): any legal target
// name fits beside it, and one left by a killed write is removed by a later
// write to the same folder once it is a day old.
//
// A path that ends in links names the file they lead to, through any chain
// of relative or absolute links: that file is replaced, or created when only
// it is missing, and the links stay links. A loop, or a link into a missing
// folder, cannot be opened.
//
// A regular file the writer may not write is refused, though the folder would
// allow the rename. A replaced file keeps its mode and, where the writer may
// set them, its owner and group (the group alone when the owner cannot be
// kept).
#pragma once

#include <cstddef>
#include <string>

#include <sys/types.h>

enum class AtomicFileOpen {
    Opened,
    CannotOpen,  // the path cannot name a file: missing folder, a directory, a
                 // link loop, a write-protected file ...
    CannotWrite, // the folder exists but takes no new file (read-only, full ...)
};

class AtomicFile {
  public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile() { Abandon(); }

    AtomicFileOpen Open(const char* path);
    // Appends bytes; false once anything has failed (the failure sticks, so
    // callers may check only at the end).
    bool Write(const void* data, size_t size);
    bool WriteText(const char* text);
    // Syncs, closes and moves the file into place. False when any write,
    // the sync or the rename failed; the target is then as it was and no
    // temporary file is left.
    bool Commit();
    // Drops the temporary file; the target stays as it was.
    void Abandon();

  private:
    int descriptor = -1;
    bool inPlace = false;
    bool failed = false;
    std::string targetPath;
    std::string temporaryPath;
    // Set again after the writes: a write by an ordinary user clears the
    // set-id bits.
    mode_t replacedMode = 0;
};
