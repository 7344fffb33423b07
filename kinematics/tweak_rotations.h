// The actor's fixed tweak rotations of the hips and the 17 joints below,
// built when the tweaks change rather than on every frame.
#pragma once

#include "varnel.h"

constexpr int TweakedJointCount = 18;

struct TweakRotations {
    float builtFrom[ActorNumTweaks - TweakHipsX]; // degrees, HipsX .. HeadZ
    Matrix rotation[TweakedJointCount];
    bool built = false;

    // RotYXZ(tY, tX, tZ) in radians of the joint whose X tweak is tweakX.
    const Matrix& Of(int tweakX) const { return rotation[(tweakX - TweakHipsX) / 3]; }
};

// Rebuilds the rotations if the actor's tweaks differ from those they were
// built from.
void UpdateTweakRotations(TweakRotations& table, const ActorData& actor);
