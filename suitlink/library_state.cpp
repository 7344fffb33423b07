#include "suitlink/library_state.h"

#include <cstring>

LibraryState library;

SuitInfo SuitInfoOf(const SuitSlot& slot)
{
    SuitInfo info;
    info.address = slot.address;
    info.port = slot.port;
    info.flags = slot.flags;
    std::memcpy(info.name, slot.name, sizeof info.name);
    info.frameRate = slot.frameRate;
    return info;
}
