#include "varnel.h"

namespace {
constexpr uint32_t MajorVersion = 2;
constexpr uint32_t MinorVersion = 556;
} // namespace

uint32_t VarnelVersion(void)
{
    return MajorVersion | (MinorVersion << 16);
}
