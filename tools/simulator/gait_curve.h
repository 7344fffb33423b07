// A joint angle over the gait cycle: a smooth periodic curve through
// key values, as gait analysis tabulates them.
#pragma once

#include <cstddef>

struct GaitKey {
    double phase; // 0 <= phase < 1, rising from key to key
    double degrees;
};

class GaitCurve {
  public:
    template <std::size_t N>
    constexpr explicit GaitCurve(const GaitKey (&keys)[N]) : keys(keys), count(int(N))
    {
    }
    // The angle at a phase (any real number; the cycle repeats).
    double At(double phase) const;

  private:
    const GaitKey* keys;
    int count;
};
