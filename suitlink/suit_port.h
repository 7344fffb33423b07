// The UDP port the library listens on for suits.
#pragma once

#include <cstdint>

// SUIT_PORT, unless a test has given a port of its own.
uint16_t SuitPort();

// Makes the next VarnelInit bind port instead of SUIT_PORT (0: SUIT_PORT
// again), so that test runs on one machine never share a port. Internal:
// not exported from the shared library.
void SetSuitPortForTesting(uint16_t port);
