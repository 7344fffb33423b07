// The suit link's fixed times and sizes.
#pragma once

#include <cstdint>

// A suit silent for longer than this gets its timeout callback.
constexpr uint32_t SUIT_TIMEOUT_MS = 1000;
// How long VarnelFindSuits listens.
constexpr uint32_t DISCOVERY_WINDOW_MS = 1000;
// A real network holds a handful of suits; a flood from many sources must
// not grow the table without end.
constexpr int MaxSuits = 256;
