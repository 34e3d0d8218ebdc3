#include "ui/Scale.h"

#include <cstdint>

namespace cc {
namespace {

int MulDivRounded(int v, int multiplier, int divisor) {
    const std::int64_t product = static_cast<std::int64_t>(v) * multiplier;
    const std::int64_t half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

int ScaleValue(int v, int dpi) { return dpi == kDesignDpi ? v : MulDivRounded(v, dpi, kDesignDpi); }

int UnscaleValue(int px, int dpi) { return dpi == kDesignDpi || dpi <= 0 ? px : MulDivRounded(px, kDesignDpi, dpi); }

Rect ScaleRect(Rect r, int dpi) {
    const int left = ScaleValue(r.left, dpi), top = ScaleValue(r.top, dpi);
    return {left, top, ScaleValue(r.left + r.width, dpi) - left, ScaleValue(r.top + r.height, dpi) - top};
}

Rect UnscaleRect(Rect r, int dpi) {
    const int left = UnscaleValue(r.left, dpi), top = UnscaleValue(r.top, dpi);
    return {left, top, UnscaleValue(r.left + r.width, dpi) - left, UnscaleValue(r.top + r.height, dpi) - top};
}

}  // namespace cc
