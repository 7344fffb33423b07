// `varnel info` on a BVH file.
#pragma once

#include "tools/cli/bvh_units.h"
#include "tools/cli/replayable_file.h"
#include "tools/info/output_form.h"

#include <optional>
#include <ostream>

// Prints frame count, frame time and duration, the bone offsets, the range
// of the hips travel and how often each foot point touched the floor.
// Returns the exit status: 0, or 1 after the library's message on errors.
// Lengths are labelled with unitGiven, the unit the user says the file is
// in, else as inches, the unit the library reads.
int DescribeBvhFile(const NamedFile& file, std::ostream& out, std::ostream& errors,
                    OutputForm form = OutputForm::Text,
                    std::optional<LengthUnit> unitGiven = std::nullopt);
