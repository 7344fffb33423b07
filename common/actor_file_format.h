// The layout of actor files: the 119 keys of ActorData with their sections,
// and the five length units. Plain data, so the command-line tools compile
// this file too and print the same names.
#pragma once

#include "varnel.h"

enum class ActorGroup { Bones, Displacements, Tweaks, Scales };

constexpr int ActorNumValues =
    int(ActorNumBones) + int(ActorNumDisplacements) + int(ActorNumTweaks) + int(ActorNumScales);
static_assert(ActorNumValues * sizeof(float) == sizeof(ActorData));

struct ActorKey {
    ActorGroup group;
    int index; // within the group's array of ActorData
    const char* name;
};

// Every key, in the order of the ActorData record.
extern const ActorKey ActorKeys[ActorNumValues];

// The groups in the order their sections stand in a file (not the record's).
constexpr ActorGroup ActorFileGroupOrder[] = {ActorGroup::Bones, ActorGroup::Displacements,
                                              ActorGroup::Scales, ActorGroup::Tweaks};

// The section name of a group: "Bones", "Displacements", "Tweaks", "Scales".
const char* ActorGroupSection(ActorGroup group);

// Lengths follow the file's unit: all bones and displacements and the hips
// position tweaks; angles and scales are unit-free.
bool ActorKeyIsLength(const ActorKey& key);

float& ActorValue(ActorData& actor, const ActorKey& key);
float ActorValue(const ActorData& actor, const ActorKey& key);

struct ActorUnit {
    const char* name; // as written after "Units="
    float perInch;    // a length in the file is inches times this
};

constexpr int ActorNumUnits = 5;

// Indexed by ActorUnitsIndex.
extern const ActorUnit ActorUnits[ActorNumUnits];

// The index of a unit name, compared without regard to case; -1 if none.
int FindActorUnit(const char* name);

// A value as a file in that unit holds it: lengths scaled from inches.
float ActorValueInUnit(const ActorData& actor, const ActorKey& key, const ActorUnit& unit);
