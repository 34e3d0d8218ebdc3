#pragma once
// Pictures at the display's DPI: which of the drawn sets serves a DPI, and
// resampling a picture to the size it is shown at when no set fits exactly.

#include <windows.h>

#include <cstdint>

#include "ui/win32/GdiOwners.h"

namespace cc {

// The set drawn for the DPI, or the next larger one: its identifier offset
// (resources/ResourceIds.h) and the DPI it was drawn for.
struct PictureSet {
    int idOffset;
    int dpi;
};
PictureSet PictureSetFor(int dpi);

// A top-down 32-bit DIB section, its pixels in `bits`.
UniqueHbitmap CreateTopDownDib(int width, int height, std::uint32_t** bits);

// A copy of `bitmap` at width x height. An opaque bitmap is stretched with
// HALFTONE; one with transparency (premultiplied alpha, or a 24-bit bitmap
// keyed on magenta) is averaged over the area each pixel covers, on
// premultiplied colour, and comes back premultiplied, so that no key colour
// bleeds into its edges. Null if it cannot be made.
UniqueHbitmap ResampledBitmap(HBITMAP bitmap, int width, int height, bool premultiplied, bool keyed);

}  // namespace cc
