// One suit of the suit table. A VarnelHandle points at one of these.
#pragma once

#include "common/suit_datagram.h"
#include "kinematics/solver_state.h"
#include "varnel.h"

#include <atomic>
#include <cstdint>

struct SuitSlot {
    // Identity, the fields of SuitInfo in its order; fixed after discovery.
    uint32_t address = 0; // network byte order
    uint16_t port = 0;    // network byte order
    uint16_t flags = 0;
    char name[SuitNameSize] = {};
    float frameRate = 0.0f;

    // Shared between client calls, the receive thread and timeout threads
    // without the lock, hence atomic.
    std::atomic<FrameCallback> frameCallback{nullptr}; // null = not open
    std::atomic<TimeoutCallback> timeoutCallback{nullptr};
    std::atomic<uint32_t> lastReceiveTime{0};
    std::atomic<uint32_t> timeoutStartTime{0};
    std::atomic<int> timeoutActive{0};
    std::atomic<uint32_t> pendingFrames{0};
    std::atomic<uint32_t> droppedFrames{0};
    std::atomic<int> positionSensorEnabled{0};

    // The latest readings and the solver's state; guarded by LibraryLock.
    // The flags are atomic as well because VarnelRead checks hasData before
    // locking.
    uint8_t raw[SuitRawSize] = {};
    std::atomic<int> hasData{0};
    std::atomic<int> nullSet{0};
    SolverState solver;
    ActorData actor = {};
};

SuitInfo SuitInfoOf(const SuitSlot& slot);
