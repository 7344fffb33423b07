#include "common/channel_gains.h"

namespace {
constexpr float G = RadiansPerCount;
} // namespace

const float ChannelGain[SuitChannelCount] = {
    0,  -G, G,  G,  -G, G,  -G, -G, -G, G,  -G, -G, -G, G,  -G, -G, //  0..15
    G,  -G, -G, -G, G,  -G, G,  G,  -G, -G, -G, -G, -G, -G, G,  -G, // 16..31
    -G, G,  -G, -G, -G, 0,  0,  0,  0,  G,  G,  G,  G,  -G, -G, 0,  // 32..47
};
