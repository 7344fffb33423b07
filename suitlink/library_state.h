// The library's one process-wide state: socket, receive thread, lock, suit
// table and the current pose.
#pragma once

#include "common/suit_datagram.h"
#include "platform/recursive_lock.h"
#include "platform/thread.h"
#include "platform/udp_socket.h"
#include "suitlink/suit_slot.h"
#include "varnel.h"

#include <atomic>
#include <cstdint>

struct LibraryState {
    bool initialized = false;
    int socket = InvalidSocket;
    PlatformThread receiveThread;
    // The receive thread's only stop signal.
    std::atomic<int> receiveRunning{0};
    // Guards the solver, CurrentPose, the frame callbacks and every change of
    // the suit table. Recursive: the receive thread calibrates a suit while
    // holding it, and frame callbacks may call functions that take it.
    RecursiveLock LibraryLock;
    // Used by discovery and by the receive thread, never by both at once.
    uint8_t ReceiveBuffer[SUIT_PACKET_SIZE] = {};
    // Replaced under LibraryLock, and only while the receive thread is
    // stopped: the thread reads both without the lock, clients with it.
    SuitSlot* suitTable = nullptr;
    int suitCount = 0;
    // Bumped under LibraryLock whenever the table is freed, so that a caller
    // holding a handle across a wait can tell whether it still points into
    // the table. Guarded by LibraryLock.
    uint32_t tableGeneration = 0;
    SkeletonFrame CurrentPose = {};
    // Told of every store, calibration and solve of an open suit. Guarded by
    // LibraryLock, under which every event happens.
    VarnelRawCallback rawCallback = nullptr;
    void* rawContext = nullptr;
    // Datagrams of the wrong size, which are dropped without being stored.
    std::atomic<uint32_t> strayDatagrams{0};
    // Datagrams of suits that discovery heard after the table was full.
    std::atomic<uint32_t> ignoredSuitDatagrams{0};
};

extern LibraryState library;
