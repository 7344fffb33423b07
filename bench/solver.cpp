// One ordinary solve of a suit's datagram: the receive thread's per-frame
// work for each open suit, with the library lock held.
#include "actor/default_actor.h"
#include "common/suit_datagram.h"
#include "suitlink/suit_solve.h"

#include <benchmark/benchmark.h>

#include <bit>
#include <cstring>

namespace {

void PutChannel(uint8_t* block, int channel, uint16_t counts)
{
    block[RawChannelsOffset + 2 * channel] = uint8_t(counts);
    block[RawChannelsOffset + 2 * channel + 1] = uint8_t(counts >> 8);
}

void PutFloat(uint8_t* block, size_t offset, float value)
{
    uint32_t bits = std::bit_cast<uint32_t>(value);
    for (int i = 0; i < 4; i++)
        block[offset + i] = uint8_t(bits >> (8 * i));
}

// Two readings a few degrees apart on every channel and sensor angle, so
// each solve moves every joint and now and then changes the support point.
void FillReading(uint8_t* block, int phase)
{
    for (int i = 0; i < VARNEL_NUM_RAW_CHANNELS; i++)
        PutChannel(block, i, uint16_t(2048 + (phase ? 40 + i : -35 - i)));
    PutFloat(block, RawOrientationOffset, phase ? 4.0f : -4.0f);
    PutFloat(block, RawOrientationOffset + 4, phase ? -3.0f : 2.0f);
    PutFloat(block, RawOrientationOffset + 8, phase ? 10.0f : -10.0f);
}

// state.range(0): 0 for the built-in actor, 1 for an actor with a tweak on
// every joint axis.
void SolveOrdinaryFrame(benchmark::State& state)
{
    static SuitSlot slot;
    SkeletonFrame pose;
    slot.actor = DefaultActorData();
    if (state.range(0))
        for (int i = TweakHipsX; i < ActorNumTweaks; i++)
            slot.actor.tweaks[i] = 0.5f + 0.1f * float(i % 5);
    for (int i = 0; i < VARNEL_NUM_RAW_CHANNELS; i++)
        PutChannel(slot.raw, i, 2048);
    slot.hasData.store(1);
    CalibrateSuit(slot, pose);

    uint8_t readings[2][SuitRawSize] = {};
    FillReading(readings[0], 0);
    FillReading(readings[1], 1);
    int phase = 0;
    for (auto _ : state) {
        std::memcpy(slot.raw, readings[phase], RawChannelsSize + 12);
        phase ^= 1;
        SolvePose(slot, pose);
        benchmark::DoNotOptimize(pose);
    }
}
BENCHMARK(SolveOrdinaryFrame)->Arg(0)->Arg(1)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
