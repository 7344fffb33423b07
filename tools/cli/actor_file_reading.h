// Actor files on the command line: `varnel info` on a .vnl file and
// `varnel actor`. The library reports nothing for actor files, so these say
// themselves what is wrong with one.
#pragma once

#include "tools/cli/replayable_file.h"
#include "varnel.h"

#include <ostream>
#include <string>

// A ".vnl" name (any case), or a file whose first section is [Units].
bool IsActorFile(const NamedFile& file);

// Prints the file's units and its 119 values by section, in those units.
// Returns the exit status: 0, or 1 after a message on errors.
int DescribeActorFile(const NamedFile& file, std::ostream& out, std::ostream& errors);

// Rewrites input as output in units (an ActorUnitsIndex). Exit status as above.
int ConvertActorFile(const NamedFile& input, const std::string& output, int units,
                     std::ostream& out, std::ostream& errors);
