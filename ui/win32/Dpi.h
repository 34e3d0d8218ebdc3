#pragma once
// The display's DPI as the window sees it, and the fonts made for it.

#include <windows.h>

#include <array>

#include "ui/Catalogue.h"
#include "ui/win32/GdiOwners.h"

namespace cc {

// WM_DPICHANGED (Windows 8.1 and later): the window moved to a monitor of
// another DPI; wParam the new DPI, lParam the rectangle Windows suggests.
inline constexpr UINT kDpiChangedMessage = 0x02E0;

// The DPI the window draws at: its monitor's where Windows tells (10 and
// later), else the screen's (XP to 8, and Wine), which is the system's.
// With no window, the system's.
int WindowDpi(HWND window);

// A vertical scroll bar's width at the DPI, as the list controls draw it.
int VerticalScrollBarWidth(int dpi);

// The design's fonts at one DPI; deleted with it.
class ScaledFonts {
public:
    ScaledFonts() = default;
    explicit ScaledFonts(int dpi);
    void swap(ScaledFonts& other) noexcept { fonts_.swap(other.fonts_); }
    HFONT get(FontStyle style) const { return fonts_[static_cast<size_t>(style)].get(); }

private:
    std::array<UniqueHfont, 4> fonts_;
};

}  // namespace cc
