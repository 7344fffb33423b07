#include "varnel.h"

uint32_t VarnelVersion(void)
{
    return uint32_t(VARNEL_VERSION_MAJOR) | (uint32_t(VARNEL_VERSION_MINOR) << 16);
}
