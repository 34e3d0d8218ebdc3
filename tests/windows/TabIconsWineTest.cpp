// A strip's icons drawn at their own size go into its image list as one strip of their pixels: each must draw as
// its icon handle, added the system's way, does, over any background, at every size (120 DPI's 40 has no image).
#include <gtest/gtest.h>

#include <vector>

#include "ui/Catalogue.h"
#include "ui/win32/TabIcons.h"

static std::vector<DWORD> Drawn(HIMAGELIST list, int side, int count, COLORREF background, UINT style) {
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), side * count, -side, 1, 32, BI_RGB}};
    DWORD* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SelectObject(dc, GetStockObject(DC_BRUSH)), SetDCBrushColor(dc, background);
    PatBlt(dc, 0, 0, side * count, side, PATCOPY);
    for (int i = 0; i < count; ++i) ImageList_Draw(list, i, dc, i * side, 0, style);
    GdiFlush();
    std::vector<DWORD> pixels(bits, bits + side * side * count);
    SelectObject(dc, old), DeleteDC(dc), DeleteObject(bitmap);
    return pixels;
}

TEST(TabIcons, EachIconDrawsAsItsHandleDoesAtEverySize) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    for (int side : {32, 40, 48, 64})
        for (const cc::TabSpec& tabs : cc::TabControls()) {
            const int count = static_cast<int>(tabs.icons.size());
            if (count == 0) continue;
            HIMAGELIST strip = cc::TabIconList(module, tabs.icons, side);
            HIMAGELIST handles = ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, count, 0);
            for (int id : tabs.icons) {
                HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, side, side, 0));
                ImageList_AddIcon(handles, icon), DestroyIcon(icon);
            }
            ASSERT_EQ(ImageList_GetImageCount(strip), count) << side;
            for (COLORREF background : {RGB(255, 255, 255), RGB(10, 36, 106)})
                for (UINT style : {ILD_NORMAL, ILD_MASK})   // the colours, and the mask
                    EXPECT_EQ(Drawn(strip, side, count, background, style), Drawn(handles, side, count, background, style)) << side;
            ImageList_Destroy(strip), ImageList_Destroy(handles);
        }
}
