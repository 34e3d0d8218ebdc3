#pragma once
// The one scale between the design and the screen. The design is in pixels
// at 96 DPI; the window draws at its display's DPI. Only the real window
// calls these: everything else keeps design units.

#include "ui/Geometry.h"

namespace cc {

inline constexpr int kDesignDpi = 96;

// v * dpi / 96 rounded to the nearest, halves away from zero (MulDiv's rule).
int ScaleValue(int v, int dpi);
// The design value nearest to px; the inverse of ScaleValue for dpi >= 96.
int UnscaleValue(int px, int dpi);

// A rectangle in its parent, by its edges: left/top and right/bottom are
// scaled, not the width and height, so neighbours that meet in the design
// meet on the screen.
Rect ScaleRect(Rect design, int dpi);
Rect UnscaleRect(Rect pixels, int dpi);

}  // namespace cc
