// The foot options the viewer reads BVH files with unless the user changes
// them: ankle-heel-ball angle in degrees, ball-to-heel over ankle-to-heel.
// The commands read takes the same way, so that a take looks alike in both.
#pragma once

constexpr float DefaultAnkleHeelBallAngle = 85.0f;
constexpr float DefaultBallToHeelRatio = 1.5f;
