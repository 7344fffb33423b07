#include "actor/default_actor.h"

namespace {
constexpr ActorData BuiltInActor = {
    // Bones, inches: each leg from the pelvis down (pelvis, upper leg, lower
    // leg, ankle height, heel, foot), left then right; the pelvis height and
    // depth; each arm from the clavicle out (clavicle, upper arm, forearm,
    // hand), left then right; spine, neck, head.
    {5.0f,  17.5f, 15.5f, 3.5f, 1.5f, 5.5f, //
     5.0f,  17.5f, 15.5f, 3.5f, 1.5f, 5.5f, //
     3.0f,  1.0f,                           //
     6.5f,  12.0f, 9.5f,  7.0f,             //
     6.5f,  12.0f, 9.5f,  7.0f,             //
     19.0f, 6.5f,  7.0f},
    // Displacements, inches, X Y Z: potentiometer to left wrist, right wrist,
    // left ankle, right ankle, neck.
    {2.6f, 0.0f, 1.6f, //
     2.6f, 0.0f, 1.6f, //
     3.0f, 2.0f, 1.0f, //
     3.0f, 2.0f, 1.0f, //
     0.0f, 4.0f, 3.0f},
    // Tweaks: no position offset, no angle corrections.
    {},
    // Scales: position X Y Z, chest, elbows, knees, ankles at 1; the
    // shoulders 1.2, 1.2, 1.3 each; the hips at 1.
    {1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, //
     1.2f, 1.2f, 1.3f,                                           //
     1.2f, 1.2f, 1.3f,                                           //
     1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f},
};
} // namespace

const ActorData& DefaultActorData()
{
    return BuiltInActor;
}
