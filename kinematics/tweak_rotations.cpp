#include "kinematics/tweak_rotations.h"

#include "kinematics/joint_rotation.h"

#include <cstring>

void UpdateTweakRotations(TweakRotations& table, const ActorData& actor)
{
    const float* tweaks = actor.tweaks + TweakHipsX;
    // Bytes, not values: a tweak that is not a number still matches itself.
    if (table.built && std::memcmp(table.builtFrom, tweaks, sizeof table.builtFrom) == 0)
        return;
    std::memcpy(table.builtFrom, tweaks, sizeof table.builtFrom);
    for (int joint = 0; joint < TweakedJointCount; joint++) {
        const float* tweak = tweaks + 3 * joint;
        table.rotation[joint] = Matrix::RotYXZ(
            tweak[1] * DegreesToRadians, tweak[0] * DegreesToRadians, tweak[2] * DegreesToRadians);
    }
    table.built = true;
}
