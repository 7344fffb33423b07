// `varnel info` on an actor file.
#pragma once

#include "tools/cli/replayable_file.h"
#include "tools/info/output_form.h"

#include <ostream>

// A ".vnl" name (any case), or a file whose first section is [Units].
bool IsActorFile(const NamedFile& file);

// Prints the file's units and its 119 values by section, in those units.
// Returns the exit status: 0, or 1 after a message on errors.
int DescribeActorFile(const NamedFile& file, std::ostream& out, std::ostream& errors,
                      OutputForm form = OutputForm::Text);
