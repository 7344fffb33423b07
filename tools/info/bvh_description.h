// `varnel info` on a BVH file.
#pragma once

#include "tools/cli/replayable_file.h"

#include <ostream>

// The foot options the viewer reads BVH files with unless the user changes
// them: ankle-heel-ball angle in degrees, ball-to-heel over ankle-to-heel.
constexpr float DefaultAnkleHeelBallAngle = 85.0f;
constexpr float DefaultBallToHeelRatio = 1.5f;

// Prints frame count, frame time and duration, the bone offsets, the range
// of the hips travel and how often each foot point touched the floor.
// Returns the exit status: 0, or 1 after the library's message on errors.
int DescribeBvhFile(const NamedFile& file, std::ostream& out, std::ostream& errors);
