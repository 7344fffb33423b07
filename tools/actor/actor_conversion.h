// `varnel actor`: an actor file rewritten in other length units.
#pragma once

#include "tools/cli/replayable_file.h"
#include "varnel.h"

#include <ostream>
#include <string>

// Rewrites input as output in units (an ActorUnitsIndex). Returns the exit
// status: 0, or 1 after a message on errors.
int ConvertActorFile(const NamedFile& input, const std::string& output, int units,
                     std::ostream& out, std::ostream& errors);
