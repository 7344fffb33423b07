// Actor files as `varnel info` and `varnel actor` read them. The library
// reports nothing for actor files, so the commands say themselves what is
// wrong with one.
#pragma once

#include "tools/cli/replayable_file.h"
#include "varnel.h"

#include <ostream>

// Reads the file into actor and its unit (an ActorUnitsIndex) into units.
// False, with the reason on errors, for a file that cannot be opened, has
// unknown units or a missing or bad value.
bool ReadActorFile(const NamedFile& file, ActorData* actor, int* units, std::ostream& errors);
