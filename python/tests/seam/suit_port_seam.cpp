// The library the Python tests load is libvarnel's own objects plus this: a
// suit port of the tests' own, so that they never bind the suits' port.
#include "suitlink/suit_port.h"

#include <cstdint>

extern "C" __attribute__((visibility("default"))) void VarnelTestSetSuitPort(uint16_t port)
{
    SetSuitPortForTesting(port);
}
