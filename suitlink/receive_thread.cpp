#include "suitlink/receive_thread.h"

#include "platform/clock.h"
#include "platform/thread_cpu_time.h"
#include "suitlink/frame_delivery.h"
#include "suitlink/library_state.h"
#include "suitlink/socket_error_text.h"
#include "suitlink/suit_solve.h"
#include "suitlink/suit_table.h"
#include "suitlink/suit_timeouts.h"

#include <algorithm>
#include <cstring>
#include <mutex>

namespace {
// Longest wait for a datagram. The wait also ends when the next suit
// timeout is due, so timeouts keep their millisecond; the limit bounds how
// long a stop request (and a fake clock in tests) goes unnoticed.
constexpr int MaxReceiveWaitMilliseconds = 10;

void StoreDatagram(SuitSlot* slot)
{
    {
        std::lock_guard hold(library.LibraryLock);
        std::memcpy(slot->raw, library.ReceiveBuffer + PacketRawOffset, SuitRawSize);
        slot->hasData.store(1);
        ReportRawEvent(*slot, VarnelRawDatagram, library.ReceiveBuffer);
        CalibrateOnFirstDatagram(slot);
        slot->pendingFrames.fetch_add(1);
    }
    slot->lastReceiveTime.store(MillisecondCounter());
}

// Takes every waiting datagram, storing those of open suits. False after a
// socket error, which ends the thread.
bool DrainSocket()
{
    // The stop request is honoured even while a flood keeps the socket full.
    while (library.receiveRunning.load()) {
        ReceivedDatagram datagram;
        SuitReceive received = ReceiveSuitDatagram(&datagram);
        if (received == SuitReceive::None)
            return true;
        if (received == SuitReceive::Failed)
            return false;
        if (received == SuitReceive::Stray)
            continue;
        if (SuitSlot* slot = FindOpenSlot(datagram.address, datagram.port))
            StoreDatagram(slot);
    }
    return true;
}

void ReceiveLoop()
{
    bool readable = true;
    while (library.receiveRunning.load()) {
        // After a wait that ran out nothing is waiting: skip the receive.
        if (readable && !DrainSocket())
            return;
        ProcessPendingFrames();
        int untilTimeout = RunTimeoutPass();
        int wait = std::clamp(untilTimeout, 1, MaxReceiveWaitMilliseconds);
        readable = WaitReadable(library.socket, wait);
    }
}

void ReceiveThreadMain(void*)
{
    try {
        ReceiveLoop();
    } catch (...) {
        // An exception from a client callback ends the thread quietly; the
        // lock guards have already given LibraryLock back.
    }
}
} // namespace

void StartReceiveThread()
{
    // Set before the thread exists, so that a stop requested before it runs
    // is not lost.
    library.receiveRunning.store(1);
    if (!StartThread(&library.receiveThread, ReceiveThreadMain, nullptr, ThreadPriority::Highest))
        library.receiveRunning.store(0);
}

void StopReceiveThread()
{
    library.receiveRunning.store(0);
    JoinThread(&library.receiveThread);
}

SuitReceive ReceiveSuitDatagram(ReceivedDatagram* datagram)
{
    int errorCode = 0;
    ReceiveStatus status = ReceiveDatagram(library.socket, library.ReceiveBuffer, SUIT_PACKET_SIZE,
                                           datagram, &errorCode);
    if (status == ReceiveStatus::WouldBlock)
        return SuitReceive::None;
    if (status == ReceiveStatus::Error) {
        ReportSocketError("Socket error %s", errorCode);
        return SuitReceive::Failed;
    }
    // Anyone on the network can send anything: a datagram of another size
    // must neither stop capture nor mix stale bytes into a suit.
    if (datagram->truncated || datagram->length != SUIT_PACKET_SIZE) {
        library.strayDatagrams.fetch_add(1);
        return SuitReceive::Stray;
    }
    return SuitReceive::Datagram;
}

uint32_t StrayDatagramCount()
{
    return library.strayDatagrams.load();
}

double ReceiveThreadCpuSeconds()
{
    return library.receiveThread.running ? ThreadCpuSeconds(library.receiveThread) : 0.0;
}
