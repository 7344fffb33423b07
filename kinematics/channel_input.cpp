#include "kinematics/channel_input.h"

#include "common/channel_gains.h"
#include "common/suit_datagram.h"

#include <cmath>
#include <cstring>

namespace {
// Far beyond any angle in degrees or distance in metres a sensor can report,
// and small enough that nothing the solver computes from it overflows.
constexpr float MaxUsableReading = 1e6f;

uint16_t Channel(const uint8_t* block, int i)
{
    return ReadLittleEndian16(block + RawChannelsOffset + 2 * i);
}
} // namespace

void FilterJitter(uint8_t* raw, uint8_t* previousRaw)
{
    for (int i = 0; i < RawChannelCount; i++) {
        uint8_t* reading = raw + RawChannelsOffset + 2 * i;
        uint8_t* accepted = previousRaw + RawChannelsOffset + 2 * i;
        int change = int(Channel(raw, i)) - int(Channel(previousRaw, i));
        if (change == 1 || change == -1)
            std::memcpy(reading, accepted, 2);
        else
            std::memcpy(accepted, reading, 2);
    }
}

void HoldUnusableSensorReadings(uint8_t* raw, uint8_t* previousRaw)
{
    for (size_t offset = RawOrientationOffset; offset < RawCounterOffset; offset += 4) {
        float reading = ReadLittleEndianFloat(raw + offset);
        if (std::isfinite(reading) && std::fabs(reading) <= MaxUsableReading)
            std::memcpy(previousRaw + offset, raw + offset, 4);
        else
            std::memcpy(raw + offset, previousRaw + offset, 4);
    }
}

void ComputeChannelAngles(const uint8_t* source, const uint8_t* nullRaw,
                          float channelAngle[RawChannelCount])
{
    for (int i = 0; i < RawChannelCount; i++) {
        int counts = int(Channel(source, i)) - int(Channel(nullRaw, i));
        channelAngle[i] = static_cast<float>(counts) * ChannelGain[i];
    }
}
