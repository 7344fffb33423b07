// Actor files: ActorData as INI text in one of five length units.
#pragma once

#include "platform/ini_file.h"
#include "varnel.h"

#include <string>

// VarnelReadActorData on a file already in memory: 1 when every key was
// read; 0 at the first key that is missing or not a number (the values
// before it stored), or for an unknown unit (actor untouched).
int ReadActorDataFromIni(const IniText& file, ActorData* actor);

// The file text VarnelWriteActorData writes, for units 0..4.
std::string FormatActorFile(const ActorData& actor, int units);
