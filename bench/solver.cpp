// One ordinary solve of a suit's datagram: the receive thread's per-frame
// work for each open suit, with the library lock held.
#include "actor/default_actor.h"
#include "suitlink/suit_solve.h"
#include "tests/support/suit_datagrams.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iterator>

namespace {

// Two readings a few degrees apart on every channel and sensor angle, so
// each solve moves every joint and now and then changes the support point.
SuitRawBlock Reading(int phase)
{
    SuitReadings readings{
        {}, {phase ? 4.0f : -4.0f, phase ? -3.0f : 2.0f, phase ? 10.0f : -10.0f}, {}};
    for (int i = 0; i < VARNEL_NUM_RAW_CHANNELS; i++)
        readings.channels[i] = uint16_t(2048 + (phase ? 40 + i : -35 - i));
    return MakeRawBlock(readings);
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
    SuitReadings rest;
    std::fill(std::begin(rest.channels), std::end(rest.channels), uint16_t(2048));
    SuitRawBlock calibration = MakeRawBlock(rest);
    std::copy(calibration.begin(), calibration.end(), slot.raw);
    slot.hasData.store(1);
    CalibrateSuit(slot, pose);

    const SuitRawBlock readings[2] = {Reading(0), Reading(1)};
    int phase = 0;
    for (auto _ : state) {
        std::copy(readings[phase].begin(), readings[phase].end(), slot.raw);
        phase ^= 1;
        SolvePose(slot, pose);
        benchmark::DoNotOptimize(pose);
    }
}
BENCHMARK(SolveOrdinaryFrame)->Arg(0)->Arg(1)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
