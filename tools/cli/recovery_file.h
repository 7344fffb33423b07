// Where a take goes when its own file cannot be written, so that a long
// recording is never lost to a full disk, a vanished folder or a bad name.
#pragma once

#include "varnel.h"

#include <string>

// Writes the take beside outputPath, else in the working folder, else in
// $TMPDIR (/tmp when unset), as "<name>.recovered-<date>-<time>.bvh" with
// "-2", "-3" ... added rather than writing over any file. Returns the path
// written, or "" when no folder took it.
std::string WriteRecoveryFile(const Skeleton& take, const std::string& outputPath);
