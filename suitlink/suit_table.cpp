#include "suitlink/suit_table.h"

#include "suitlink/library_state.h"

#include <cstring>
#include <mutex>

namespace {
uint32_t AddressOrderKey(uint32_t address)
{
    uint8_t bytes[4];
    std::memcpy(bytes, &address, sizeof bytes);
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

uint16_t PortOrderKey(uint16_t port)
{
    uint8_t bytes[2];
    std::memcpy(bytes, &port, sizeof bytes);
    return ReadLittleEndian16(bytes);
}
} // namespace

SuitSlot* FindOpenSlot(uint32_t address, uint16_t port)
{
    for (int i = 0; i < library.suitCount; i++) {
        SuitSlot& slot = library.suitTable[i];
        if (slot.frameCallback.load() && slot.address == address && slot.port == port)
            return &slot;
    }
    return nullptr;
}

bool AnySuitOpen()
{
    for (int i = 0; i < library.suitCount; i++) {
        if (library.suitTable[i].frameCallback.load())
            return true;
    }
    return false;
}

bool SuitComesBefore(const SuitInfo& a, const SuitInfo& b)
{
    uint32_t addressA = AddressOrderKey(a.address), addressB = AddressOrderKey(b.address);
    if (addressA != addressB)
        return addressA < addressB;
    return PortOrderKey(a.port) < PortOrderKey(b.port);
}

void ReplaceSuitTable(SuitSlot* table, int count)
{
    std::lock_guard hold(library.LibraryLock);
    library.tableGeneration++;
    delete[] library.suitTable;
    library.suitTable = table;
    library.suitCount = count;
}

void FreeSuitTable()
{
    ReplaceSuitTable(nullptr, 0);
}
