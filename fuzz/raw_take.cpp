// The raw take reader on arbitrary bytes. Beyond not crashing: every record
// it accepts must encode back to the very bytes it was read from.
#include "tools/cli/raw_take.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    RawTake take;
    if (!ParseRawTake(data, size, &take).empty())
        return 0;
    if (RawTakeHeaderSize + take.records.size() * RawRecordSize + take.ignoredBytes != size)
        std::abort();
    uint8_t bytes[RawRecordSize];
    for (size_t i = 0; i < take.records.size(); i++) {
        EncodeRawRecord(take.records[i], bytes);
        if (std::memcmp(bytes, data + RawTakeHeaderSize + i * RawRecordSize, RawRecordSize) != 0)
            std::abort();
    }
    return 0;
}
