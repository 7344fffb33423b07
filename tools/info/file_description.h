// What `varnel info` prints for a file of either kind.
#pragma once

#include "tools/cli/bvh_units.h"
#include "tools/info/output_form.h"

#include <optional>
#include <ostream>
#include <string>

// Describes the BVH motion file, actor file or raw take at path, which may be a pipe.
// Returns the exit status: 0, or 1 after a message.
// bvhUnit: the unit a BVH file's lengths are in, when the user says so.
int DescribeFile(const std::string& path, std::ostream& out, std::ostream& errors,
                 OutputForm form = OutputForm::Text,
                 std::optional<LengthUnit> bvhUnit = std::nullopt);
