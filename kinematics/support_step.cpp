// The support point and the hips translation over the floor.
#include "kinematics/support_step.h"

#include "skeleton/floor.h"

#include <cmath>

namespace {

bool IsFootPoint(int32_t index)
{
    return index >= 0 && index < FootPointCount;
}

bool IsFinite(Vector v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// The lowest point above the floor; the current one keeps the body while it
// ties, and otherwise ties go to the smallest index.
int32_t ChooseSupport(const float height[FootPointCount], int32_t current)
{
    float lowest = height[0];
    for (int k = 1; k < FootPointCount; k++)
        if (height[k] < lowest)
            lowest = height[k];
    if (IsFootPoint(current) && height[current] == lowest)
        return current;
    for (int k = 0; k < FootPointCount; k++)
        if (height[k] == lowest)
            return k;
    // Only a height that is not a number gets here; keep the body where it was.
    return IsFootPoint(current) ? current : 0;
}

// The old point carries the body for the first part of the frame and the new
// one for the rest. The new point's path starts where it really was at the
// start of the frame: the carried offset plus the old point's travel.
Vector HandOver(const FloorGeometry& floor, const Vector contact[FootPointCount],
                const Vector previous[FootPointCount], int32_t from, int32_t to, Vector carried)
{
    Vector start = carried + contact[from] - previous[from] + previous[to];
    Vector path = previous[from] + (contact[to] - previous[to]) - contact[from];
    float t = HandOverFraction(floor, start, path);
    if (t >= 1.0f)
        return carried;
    Vector offset = carried + (contact[from] - previous[from]);
    Vector oldAtHandOver = previous[from] + (contact[from] - previous[from]) * t;
    offset = offset - (oldAtHandOver - previous[from]);
    Vector newAtHandOver = previous[to] + (contact[to] - previous[to]) * t;
    return offset - (contact[to] - newAtHandOver);
}

} // namespace

float HandOverFraction(const FloorGeometry& floor, Vector start, Vector path)
{
    float den = floor.dzdx * path.x + floor.dzdy * path.y - path.z;
    if (den == 0.0f)
        return 1.0f;
    float s = -(floor.dzdx * start.x + floor.dzdy * start.y - start.z + floor.z0) / den;
    float crossingZ = start.z + s * path.z;
    float stepped = s;
    if (floor.NumSteps != 0 && floor.max > floor.min && path.z != 0.0f) {
        // The point lands on the stair below the plane crossing.
        float step = (floor.max - floor.min) / static_cast<float>(floor.NumSteps);
        crossingZ = std::floor((crossingZ - floor.min) / step) * step + floor.min;
        stepped = (crossingZ - start.z) / path.z;
    }
    float t = 1.0f;
    if (stepped >= 0.0f && stepped < 1.0f)
        t = stepped;
    if (floor.clamp != 0 && (crossingZ < floor.min || crossingZ > floor.max) && path.z != 0.0f) {
        // The plane is crossed off the plateau: the point meets a limit level instead.
        float u = (floor.min - start.z) / path.z;
        if (u >= 0.0f && u < t && u <= s)
            t = u;
        u = (floor.max - start.z) / path.z;
        if (u >= 0.0f && u < t && u >= s)
            t = u;
    }
    return t;
}

void StepSupport(const Vector footPoints[FootPointCount], SupportMode mode, Vector sensorTravel,
                 SupportState& state)
{
    const Vector* contact = footPoints;
    const Vector* previous = state.previousContacts;
    int32_t old = mode == SupportMode::Calibration ? -1 : state.supportIndex;
    bool carried = IsFootPoint(old);

    // Keep the old support point where it stood in the previous frame.
    Vector offset = carried ? state.rootOffset - (contact[old] - previous[old]) : Vector(0, 0, 0);

    // One reading of the floor for the whole frame.
    FloorGeometry floor;
    VarnelGetFloor(&floor);
    float height[FootPointCount];
    for (int k = 0; k < FootPointCount; k++)
        height[k] =
            contact[k].z - FloorHeightOn(floor, contact[k].x + offset.x, contact[k].y + offset.y);
    int32_t support = ChooseSupport(height, old);

    switch (mode) {
    case SupportMode::Calibration: offset.x = offset.y = 0.0f; break;
    case SupportMode::PositionSensor: offset = sensorTravel; break;
    case SupportMode::Legs:
        if (carried && support != old)
            offset = HandOver(floor, contact, previous, old, support, offset);
        break;
    }
    offset.z = FloorHeightOn(floor, contact[support].x + offset.x, contact[support].y + offset.y) -
               contact[support].z;

    // One reading that is not a number (a glitching orientation sensor, a
    // floor being edited) must not become the travel of every later frame.
    if (mode != SupportMode::Calibration) {
        bool finite = IsFinite(offset);
        for (int k = 0; k < FootPointCount; k++)
            finite = finite && IsFinite(contact[k]);
        if (!finite)
            return;
    }

    state.supportIndex = support;
    for (int k = 0; k < FootPointCount; k++)
        state.previousContacts[k] = contact[k];
    state.rootOffset = offset;
}
