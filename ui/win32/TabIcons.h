#pragma once
// The icons of a tab strip as one image list, at the size the strip shows.

#include <windows.h>
#include <commctrl.h>

#include <span>

namespace cc {

// An image list of the icon resources `ids`, each `side` pixels square; the
// caller's to destroy.
// Icons drawn at that very size go in as one strip of their own pixels: the
// system's way, an icon handle per image, costs several milliseconds each
// under Wine. Other sizes (120 DPI) are scaled by the system as before.
HIMAGELIST TabIconList(HINSTANCE instance, std::span<const int> ids, int side);

// Adds the icons' exact images at `side` as one strip; false, adding
// nothing, if one of them has no image of that very size.
bool AddIconStrip(HIMAGELIST list, HINSTANCE instance, std::span<const int> ids, int side);

}  // namespace cc
