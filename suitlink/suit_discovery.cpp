// VarnelFindSuits: listen for one second, then rebuild the suit table in
// address and port order, keeping what is known about suits heard again.
#include "actor/default_actor.h"
#include "platform/clock.h"
#include "suitlink/library_state.h"
#include "suitlink/lifecycle_turn.h"
#include "suitlink/receive_thread.h"
#include "suitlink/suit_link_limits.h"
#include "suitlink/suit_table.h"
#include "suitlink/suit_timeouts.h"
#include "varnel.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <vector>

namespace {
bool AlreadyHeard(const std::vector<SuitInfo>& heard, const ReceivedDatagram& datagram)
{
    return std::any_of(heard.begin(), heard.end(), [&](const SuitInfo& info) {
        return info.address == datagram.address && info.port == datagram.port;
    });
}

SuitInfo SuitInfoFromPacket(const uint8_t* packet, const ReceivedDatagram& datagram)
{
    SuitHeader header = DecodeSuitHeader(packet);
    SuitInfo info{};
    static_assert(sizeof info.name == sizeof header.name);
    std::memcpy(info.name, header.name, sizeof info.name);
    info.address = datagram.address;
    info.port = datagram.port;
    // Clients take the reciprocal of the rate: only a usable one is listed.
    float frameRate = header.frameRate;
    info.frameRate = std::isfinite(frameRate) && frameRate > 0.0f ? frameRate : 0.0f;
    info.flags = header.flags;
    return info;
}

// Collects the first datagram of every suit heard within the window, in the
// order heard. Returns false when a socket error ended listening.
bool ListenForSuits(std::vector<SuitInfo>& heard)
{
    uint8_t* packet = library.ReceiveBuffer;
    uint32_t deadline = MillisecondCounter() + DISCOVERY_WINDOW_MS;
    for (;;) {
        int32_t remaining = int32_t(deadline - MillisecondCounter());
        if (remaining <= 0)
            return true;
        ReceivedDatagram datagram;
        SuitReceive received = ReceiveSuitDatagram(&datagram);
        if (received == SuitReceive::None) {
            WaitReadable(library.socket, remaining);
            continue;
        }
        if (received == SuitReceive::Failed)
            return false;
        if (received == SuitReceive::Stray)
            continue;
        if (ReadLittleEndian16(packet + PacketLengthOffset) != SUIT_PACKET_SIZE ||
            AlreadyHeard(heard, datagram))
            continue;
        if (heard.size() >= size_t(MaxSuits)) {
            library.ignoredSuitDatagrams.fetch_add(1);
            continue;
        }
        try {
            heard.push_back(SuitInfoFromPacket(packet, datagram));
        } catch (const std::bad_alloc&) {
            return true; // keep the suits heard so far
        }
    }
}

const SuitSlot* FindInTable(const SuitSlot* table, int count, uint32_t address, uint16_t port)
{
    for (int i = count - 1; i >= 0; i--) {
        if (table[i].address == address && table[i].port == port)
            return &table[i];
    }
    return nullptr;
}

// A suit heard again keeps its actor and its whole calibration.
void CarryOver(const SuitSlot& known, SuitSlot& slot)
{
    slot.actor = known.actor;
    slot.nullSet.store(known.nullSet.load());
    slot.solver = known.solver;
}

enum class Rebuild { Done, OutOfMemory, SuitOpened };

// Replaces the table by one slot per suit heard. The new slots start closed,
// without data and with cleared counters (their defaults). Leaves the old
// table when the new one cannot be allocated, or when a client opened one of
// its suits while discovery listened: the table is never rebuilt under an
// open suit.
Rebuild RebuildSuitTable(const std::vector<SuitInfo>& heard)
{
    int count = int(heard.size());
    SuitSlot* table = nullptr;
    if (count > 0) {
        table = new (std::nothrow) SuitSlot[size_t(count)];
        if (!table)
            return Rebuild::OutOfMemory;
    }
    // Clients read the table and carry-over state under the lock.
    std::lock_guard hold(library.LibraryLock);
    if (AnySuitOpen()) {
        delete[] table;
        return Rebuild::SuitOpened;
    }
    for (int i = 0; i < count; i++) {
        const SuitInfo& info = heard[size_t(i)];
        SuitSlot& slot = table[i];
        slot.address = info.address;
        slot.port = info.port;
        slot.flags = info.flags;
        std::memcpy(slot.name, info.name, sizeof slot.name);
        slot.frameRate = info.frameRate;
        if (const SuitSlot* known =
                FindInTable(library.suitTable, library.suitCount, info.address, info.port))
            CarryOver(*known, slot);
        else
            slot.actor = DefaultActorData();
    }
    ReplaceSuitTable(table, count);
    return Rebuild::Done;
}
} // namespace

int VarnelFindSuits(void)
{
    LifecycleTurn turn;
    // The table is never rebuilt under an open suit.
    if (!turn.Taken() || !library.initialized || AnySuitOpen())
        return -1;
    StopReceiveThread();
    WaitForTimeoutThreads();
    std::vector<SuitInfo> heard;
    if (ListenForSuits(heard))
        std::sort(heard.begin(), heard.end(), SuitComesBefore);
    Rebuild rebuilt = RebuildSuitTable(heard);
    if (library.suitCount > 0)
        StartReceiveThread();
    return rebuilt == Rebuild::SuitOpened ? -1 : library.suitCount;
}
