// What `varnel info` prints for a file of either kind.
#pragma once

#include "tools/info/output_form.h"

#include <ostream>
#include <string>

// Describes the BVH motion file or actor file at path, which may be a pipe.
// Returns the exit status: 0, or 1 after a message.
int DescribeFile(const std::string& path, std::ostream& out, std::ostream& errors,
                 OutputForm form = OutputForm::Text);
