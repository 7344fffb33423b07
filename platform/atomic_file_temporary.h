// The atomic writer's temporary files. Their names are short, so any legal
// target name can be written, and follow one pattern, so that a file left by
// a killed write is recognised and removed by a later one.
#pragma once

#include <string>

#include <sys/types.h>

// Creates a new, empty temporary file in folder ("" for the current one,
// else ending in '/') with mode less the umask. Returns its descriptor and
// sets path, or returns -1 with errno set.
int CreateTemporaryFile(const std::string& folder, mode_t mode, std::string* path);

// Removes the folder's regular files of the temporary pattern that were last
// written more than a day ago.
void RemoveStaleTemporaryFiles(const std::string& folder);
