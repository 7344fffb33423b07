// The library's one floor description. The solver reads it on every frame
// while the viewer may replace it from its own thread, so it is kept in a
// sequence lock: readers never wait and retry only if a write overlapped,
// and a reader sees the old or the new floor whole.
#include "skeleton/floor.h"

#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <mutex>

namespace {
constexpr int FloorWords = sizeof(FloorGeometry) / sizeof(uint32_t);

struct FloorStore {
    std::atomic<uint32_t> sequence{0}; // odd while a write is under way
    std::atomic<uint32_t> words[FloorWords] = {};
    std::mutex writeLock; // writers are rare; one at a time keeps the sequence simple
};

using FloorWordArray = std::array<uint32_t, FloorWords>;

constinit FloorStore floorStore;

FloorGeometry LoadFloor()
{
    FloorWordArray words;
    for (;;) {
        uint32_t before = floorStore.sequence.load(std::memory_order_acquire);
        if (before & 1u)
            continue;
        // Acquire keeps the second look at the sequence after the words: a
        // word from a newer write brings that write's odd sequence with it.
        for (int i = 0; i < FloorWords; i++)
            words[i] = floorStore.words[i].load(std::memory_order_acquire);
        if (floorStore.sequence.load(std::memory_order_relaxed) == before)
            break;
    }
    return std::bit_cast<FloorGeometry>(words);
}
} // namespace

void VarnelSetFloor(FloorGeometry floor)
{
    auto words = std::bit_cast<FloorWordArray>(floor);
    std::lock_guard<std::mutex> guard(floorStore.writeLock);
    uint32_t sequence = floorStore.sequence.load(std::memory_order_relaxed);
    floorStore.sequence.store(sequence + 1, std::memory_order_relaxed);
    for (int i = 0; i < FloorWords; i++)
        floorStore.words[i].store(words[i], std::memory_order_release);
    floorStore.sequence.store(sequence + 2, std::memory_order_release);
}

void VarnelGetFloor(FloorGeometry* floor)
{
    if (floor)
        *floor = LoadFloor();
}

float FloorHeightOn(const FloorGeometry& floor, float x, float y)
{
    float z = (floor.dzdx * x + floor.dzdy * y) + floor.z0;
    if (floor.clamp) {
        if (z < floor.min)
            z = floor.min;
        else if (z > floor.max)
            z = floor.max;
    }
    if (floor.NumSteps != 0 && floor.max > floor.min) {
        float step = (floor.max - floor.min) / float(floor.NumSteps);
        z = std::floor((z - floor.min) / step) * step + floor.min;
    }
    return z;
}

float VarnelFloorHeight(float x, float y)
{
    return FloorHeightOn(LoadFloor(), x, y);
}
