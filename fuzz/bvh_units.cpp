// The BVH rescaling on arbitrary bytes. Beyond not crashing: whatever it
// accepts it must turn into text that it accepts again, with as many lines.
#include "tools/cli/bvh_units.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
class StringSink : public TextSink {
  public:
    bool Write(std::string_view text) override
    {
        out.append(text);
        return true;
    }
    std::string out;
};

BvhScaling Scale(const std::string& text, StringSink& sink, double factor)
{
    std::FILE* in = fmemopen(const_cast<char*>(text.data()), text.size(), "r");
    if (!in)
        std::abort();
    BvhScaling result = ScaleBvh(in, sink, factor);
    std::fclose(in);
    return result;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    StringSink scaled;
    if (Scale(text, scaled, 2.54).outcome != BvhScaling::Scaled)
        return 0;
    StringSink back;
    if (Scale(scaled.out, back, 1 / 2.54).outcome != BvhScaling::Scaled)
        std::abort();
    if (std::count(text.begin(), text.end(), '\n') !=
        std::count(back.out.begin(), back.out.end(), '\n'))
        std::abort();
    return 0;
}
