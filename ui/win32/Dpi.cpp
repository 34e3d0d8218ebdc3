// The display's DPI as the window sees it, and the fonts made for it. The
// window's own work at its DPI is Win32WindowDpi.cpp's.
#include "ui/win32/Dpi.h"

#include "platform/win32/SystemLibrary.h"
#include "ui/Scale.h"

namespace cc {
namespace {

UniqueHfont CreateSongFont(int pixels, bool bold) {
    return UniqueHfont{CreateFontW(-pixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, L"宋体")};
}

}  // namespace

int WindowDpi(HWND window) {
    // Windows 10 1607 and later know each window's monitor; before that the
    // screen's DPI is the one the program draws at.
    static const auto getDpiForWindow = SystemFunction<UINT WINAPI(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (window && getDpiForWindow)
        if (UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    const UniqueHdcWindow screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : kDesignDpi;
}

int VerticalScrollBarWidth(int dpi) {
    // Windows 10 1607 and later give it for any DPI; before, the system's
    // metrics are at the one DPI there is.
    static const auto forDpi = SystemFunction<int WINAPI(int, UINT)>(L"user32.dll", "GetSystemMetricsForDpi");
    return forDpi ? forDpi(SM_CXVSCROLL, static_cast<UINT>(dpi)) : GetSystemMetrics(SM_CXVSCROLL);
}

ScaledFonts::ScaledFonts(int dpi) {
    fonts_[static_cast<size_t>(FontStyle::Default)] = CreateSongFont(ScaleValue(12, dpi), false);
    fonts_[static_cast<size_t>(FontStyle::Bold12)] = CreateSongFont(ScaleValue(12, dpi), true);
    fonts_[static_cast<size_t>(FontStyle::Bold14)] = CreateSongFont(ScaleValue(14, dpi), true);
    fonts_[static_cast<size_t>(FontStyle::Regular14)] = CreateSongFont(ScaleValue(14, dpi), false);
}

}  // namespace cc
