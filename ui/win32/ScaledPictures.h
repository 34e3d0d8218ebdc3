#pragma once
// Pictures at the display's DPI: which of the drawn sets serves a DPI, and
// resampling a picture to the size it is shown at when no set fits exactly.

#include <windows.h>

namespace cc {

// The set drawn for the DPI, or the next larger one: its identifier offset
// (resources/ResourceIds.h) and its scale in percent.
struct PictureSet {
    int idOffset;
    int percent;
};
PictureSet PictureSetFor(int dpi);

// The picture's design length from its length in a set.
int DesignLength(int pixels, int percent);

// A copy of `bitmap` at width x height. An opaque bitmap is stretched with
// HALFTONE; one with transparency (premultiplied alpha, or a 24-bit bitmap
// keyed on magenta) is averaged over the area each pixel covers, on
// premultiplied colour, and comes back premultiplied, so that no key colour
// bleeds into its edges. Null if it cannot be made.
HBITMAP ResampledBitmap(HBITMAP bitmap, int width, int height, bool premultiplied, bool keyed);

}  // namespace cc
