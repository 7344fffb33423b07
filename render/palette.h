// The scene's colours.
#pragma once

#include "render/canvas.h"

namespace Palette {
constexpr Color Black{0, 0, 0};
constexpr Color White{255, 255, 255};
constexpr Color Grey{128, 128, 128};
constexpr Color Red{255, 0, 0};
constexpr Color Green{0, 255, 0};
constexpr Color Blue{0, 0, 255};
constexpr Color Yellow{255, 255, 0};
} // namespace Palette
