#include "common/actor_file_format.h"

namespace {
constexpr ActorGroup B = ActorGroup::Bones;
constexpr ActorGroup D = ActorGroup::Displacements;
constexpr ActorGroup T = ActorGroup::Tweaks;
constexpr ActorGroup S = ActorGroup::Scales;
} // namespace

const ActorKey ActorKeys[ActorNumValues] = {
    {B, BoneLeftPelvis, "LeftPelvis"},
    {B, BoneLeftUpperLeg, "LeftUpperLeg"},
    {B, BoneLeftLowerLeg, "LeftLowerLeg"},
    {B, BoneLeftAnkleHeight, "LeftAnkleHeight"},
    {B, BoneLeftHeel, "LeftHeel"},
    {B, BoneLeftFoot, "LeftFoot"},
    {B, BoneRightPelvis, "RightPelvis"},
    {B, BoneRightUpperLeg, "RightUpperLeg"},
    {B, BoneRightLowerLeg, "RightLowerLeg"},
    {B, BoneRightAnkleHeight, "RightAnkleHeight"},
    {B, BoneRightHeel, "RightHeel"},
    {B, BoneRightFoot, "RightFoot"},
    {B, BonePelvisHeight, "PelvisHeight"},
    {B, BonePelvisDepth, "PelvisDepth"},
    {B, BoneLeftClavicle, "LeftClavicle"},
    {B, BoneLeftUpperArm, "LeftUpperArm"},
    {B, BoneLeftForearm, "LeftForearm"},
    {B, BoneLeftHand, "LeftHand"},
    {B, BoneRightClavicle, "RightClavicle"},
    {B, BoneRightUpperArm, "RightUpperArm"},
    {B, BoneRightForearm, "RightForearm"},
    {B, BoneRightHand, "RightHand"},
    {B, BoneSpine, "Spine"},
    {B, BoneNeck, "Neck"},
    {B, BoneHead, "Head"},

    {D, DisplacementPotToLeftWristX, "PotToLeftWristX"},
    {D, DisplacementPotToLeftWristY, "PotToLeftWristY"},
    {D, DisplacementPotToLeftWristZ, "PotToLeftWristZ"},
    {D, DisplacementPotToRightWristX, "PotToRightWristX"},
    {D, DisplacementPotToRightWristY, "PotToRightWristY"},
    {D, DisplacementPotToRightWristZ, "PotToRightWristZ"},
    {D, DisplacementPotToLeftAnkleX, "PotToLeftAnkleX"},
    {D, DisplacementPotToLeftAnkleY, "PotToLeftAnkleY"},
    {D, DisplacementPotToLeftAnkleZ, "PotToLeftAnkleZ"},
    {D, DisplacementPotToRightAnkleX, "PotToRightAnkleX"},
    {D, DisplacementPotToRightAnkleY, "PotToRightAnkleY"},
    {D, DisplacementPotToRightAnkleZ, "PotToRightAnkleZ"},
    {D, DisplacementPotToNeckX, "PotToNeckX"},
    {D, DisplacementPotToNeckY, "PotToNeckY"},
    {D, DisplacementPotToNeckZ, "PotToNeckZ"},

    {T, TweakPositionX, "PositionX"},
    {T, TweakPositionY, "PositionY"},
    {T, TweakPositionZ, "PositionZ"},
    {T, TweakHipsX, "HipsX"},
    {T, TweakHipsY, "HipsY"},
    {T, TweakHipsZ, "HipsZ"},
    {T, TweakLeftHipX, "LeftHipX"},
    {T, TweakLeftHipY, "LeftHipY"},
    {T, TweakLeftHipZ, "LeftHipZ"},
    {T, TweakLeftKneeX, "LeftKneeX"},
    {T, TweakLeftKneeY, "LeftKneeY"},
    {T, TweakLeftKneeZ, "LeftKneeZ"},
    {T, TweakLeftAnkleX, "LeftAnkleX"},
    {T, TweakLeftAnkleY, "LeftAnkleY"},
    {T, TweakLeftAnkleZ, "LeftAnkleZ"},
    {T, TweakRightHipX, "RightHipX"},
    {T, TweakRightHipY, "RightHipY"},
    {T, TweakRightHipZ, "RightHipZ"},
    {T, TweakRightKneeX, "RightKneeX"},
    {T, TweakRightKneeY, "RightKneeY"},
    {T, TweakRightKneeZ, "RightKneeZ"},
    {T, TweakRightAnkleX, "RightAnkleX"},
    {T, TweakRightAnkleY, "RightAnkleY"},
    {T, TweakRightAnkleZ, "RightAnkleZ"},
    {T, TweakChestX, "ChestX"},
    {T, TweakChestY, "ChestY"},
    {T, TweakChestZ, "ChestZ"},
    {T, TweakLeftCollarX, "LeftCollarX"},
    {T, TweakLeftCollarY, "LeftCollarY"},
    {T, TweakLeftCollarZ, "LeftCollarZ"},
    {T, TweakLeftShoulderX, "LeftShoulderX"},
    {T, TweakLeftShoulderY, "LeftShoulderY"},
    {T, TweakLeftShoulderZ, "LeftShoulderZ"},
    {T, TweakLeftElbowX, "LeftElbowX"},
    {T, TweakLeftElbowY, "LeftElbowY"},
    {T, TweakLeftElbowZ, "LeftElbowZ"},
    {T, TweakLeftWristX, "LeftWristX"},
    {T, TweakLeftWristY, "LeftWristY"},
    {T, TweakLeftWristZ, "LeftWristZ"},
    {T, TweakRightCollarX, "RightCollarX"},
    {T, TweakRightCollarY, "RightCollarY"},
    {T, TweakRightCollarZ, "RightCollarZ"},
    {T, TweakRightShoulderX, "RightShoulderX"},
    {T, TweakRightShoulderY, "RightShoulderY"},
    {T, TweakRightShoulderZ, "RightShoulderZ"},
    {T, TweakRightElbowX, "RightElbowX"},
    {T, TweakRightElbowY, "RightElbowY"},
    {T, TweakRightElbowZ, "RightElbowZ"},
    {T, TweakRightWristX, "RightWristX"},
    {T, TweakRightWristY, "RightWristY"},
    {T, TweakRightWristZ, "RightWristZ"},
    {T, TweakNeckX, "NeckX"},
    {T, TweakNeckY, "NeckY"},
    {T, TweakNeckZ, "NeckZ"},
    {T, TweakHeadX, "HeadX"},
    {T, TweakHeadY, "HeadY"},
    {T, TweakHeadZ, "HeadZ"},

    {S, ScalePositionX, "PositionX"},
    {S, ScalePositionY, "PositionY"},
    {S, ScalePositionZ, "PositionZ"},
    {S, ScaleChestX, "ChestX"},
    {S, ScaleLeftElbowX, "LeftElbowX"},
    {S, ScaleRightElbowX, "RightElbowX"},
    {S, ScaleLeftKneeX, "LeftKneeX"},
    {S, ScaleRightKneeX, "RightKneeX"},
    {S, ScaleLeftAnkleX, "LeftAnkleX"},
    {S, ScaleRightAnkleX, "RightAnkleX"},
    {S, ScaleLeftShoulderX, "LeftShoulderX"},
    {S, ScaleLeftShoulderY, "LeftShoulderY"},
    {S, ScaleLeftShoulderZ, "LeftShoulderZ"},
    {S, ScaleRightShoulderX, "RightShoulderX"},
    {S, ScaleRightShoulderY, "RightShoulderY"},
    {S, ScaleRightShoulderZ, "RightShoulderZ"},
    {S, ScaleLeftHipX, "LeftHipX"},
    {S, ScaleLeftHipY, "LeftHipY"},
    {S, ScaleLeftHipZ, "LeftHipZ"},
    {S, ScaleRightHipX, "RightHipX"},
    {S, ScaleRightHipY, "RightHipY"},
    {S, ScaleRightHipZ, "RightHipZ"},
};

const ActorUnit ActorUnits[ActorNumUnits] = {
    {"Inches", 1.0f},       {"Feet", 1.0f / 12.0f}, {"Millimeters", 25.4f},
    {"Centimeters", 2.54f}, {"Meters", 0.0254f},
};

const char* ActorGroupSection(ActorGroup group)
{
    switch (group) {
    case ActorGroup::Bones: return "Bones";
    case ActorGroup::Displacements: return "Displacements";
    case ActorGroup::Tweaks: return "Tweaks";
    case ActorGroup::Scales: return "Scales";
    }
    return "";
}

bool ActorKeyIsLength(const ActorKey& key)
{
    switch (key.group) {
    case ActorGroup::Bones:
    case ActorGroup::Displacements: return true;
    case ActorGroup::Tweaks: return key.index <= TweakPositionZ;
    case ActorGroup::Scales: return false;
    }
    return false;
}

float& ActorValue(ActorData& actor, const ActorKey& key)
{
    switch (key.group) {
    case ActorGroup::Bones: return actor.bones[key.index];
    case ActorGroup::Displacements: return actor.displacements[key.index];
    case ActorGroup::Tweaks: return actor.tweaks[key.index];
    case ActorGroup::Scales: break;
    }
    return actor.scales[key.index];
}

float ActorValue(const ActorData& actor, const ActorKey& key)
{
    return ActorValue(const_cast<ActorData&>(actor), key);
}

float ActorValueInUnit(const ActorData& actor, const ActorKey& key, const ActorUnit& unit)
{
    float value = ActorValue(actor, key);
    return ActorKeyIsLength(key) ? value * unit.perInch : value;
}

namespace {
// ASCII only: the client's locale must not change which names match.
bool EqualIgnoringCase(const char* a, const char* b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    for (; *a && *b; a++, b++)
        if (lower(*a) != lower(*b))
            return false;
    return *a == *b;
}
} // namespace

int FindActorUnit(const char* name)
{
    for (int i = 0; i < ActorNumUnits; i++)
        if (EqualIgnoringCase(name, ActorUnits[i].name))
            return i;
    return -1;
}
