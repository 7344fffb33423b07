// Looking up, ordering and freeing the suit table.
#pragma once

#include "suitlink/suit_slot.h"

#include <cstdint>

// The first open slot (table order) with this sender; null if none.
SuitSlot* FindOpenSlot(uint32_t address, uint16_t port);

bool AnySuitOpen();

// The table's order: address by its bytes in network order, then port read
// as the little-endian number its two stored bytes form.
bool SuitComesBefore(const SuitInfo& a, const SuitInfo& b);

// Installs a new table (allocated with new[]) and frees the old one, under
// LibraryLock; every handle becomes invalid (tableGeneration moves on).
void ReplaceSuitTable(SuitSlot* table, int count);

// Empties the table.
void FreeSuitTable();
