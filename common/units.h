// The system's unit factors: fixed single-precision values rather than
// figures derived from pi, so that every part converts alike and solved
// angles and written files agree to the last digit.
#pragma once

constexpr float DegreesToRadians = 0.017453292f;
constexpr float RadiansToDegrees = 57.29578f;
// The position sensor reads metres; the skeleton is in inches.
constexpr float MetersToInches = 39.37008f;
