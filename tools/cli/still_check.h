// Whether a suit holds still: calibrating on a pose that is still moving
// would skew every frame of the take.
#pragma once

#include <array>
#include <cstdint>

constexpr int StillChannelCount = 48;
// Potentiometer noise of a suit at rest stays within this on every channel.
constexpr int StillToleranceCounts = 4;
constexpr int64_t StillNanoseconds = 500'000'000;

using RawChannels = std::array<uint16_t, StillChannelCount>;

// Fed the suit's raw channels as they arrive, with the time of each: the
// suit is still once every reading over StillNanoseconds has stayed within
// StillToleranceCounts of the first reading of that stretch.
class StillCheck {
  public:
    enum class Verdict {
        Settling, // still so far, not yet for long enough
        Moved,    // this reading left the tolerance; the stretch starts again
        Still,
    };

    Verdict Feed(int64_t now, const RawChannels& channels);

  private:
    bool started = false;
    RawChannels reference{};
    int64_t stretchStart = 0;
};
