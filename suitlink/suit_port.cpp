#include "suitlink/suit_port.h"

#include "common/suit_datagram.h"

#include <atomic>

namespace {
std::atomic<uint16_t> portForTesting{0};
} // namespace

uint16_t SuitPort()
{
    uint16_t port = portForTesting.load();
    return port != 0 ? port : SUIT_PORT;
}

void SetSuitPortForTesting(uint16_t port)
{
    portForTesting.store(port);
}
