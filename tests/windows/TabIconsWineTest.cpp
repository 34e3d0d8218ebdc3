// A strip's icons, added as one strip of their pixels, draw as their handles do, at every size (40 has no image of its own).
#include <gtest/gtest.h>

#include <vector>

#include "ui/Catalogue.h"
#include "ui/win32/ScaledPictures.h"
#include "ui/win32/TabIcons.h"

static std::vector<std::uint32_t> Drawn(HIMAGELIST list, int side, int count, COLORREF background) {
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = cc::CreateTopDownDib(side * count, side, &bits);
    HDC dc = CreateCompatibleDC(nullptr);   // deleted with the bitmap and brush still in it
    SelectObject(dc, bitmap), SelectObject(dc, GetStockObject(DC_BRUSH)), SetDCBrushColor(dc, background), PatBlt(dc, 0, 0, side * count, side, PATCOPY);
    for (int i = 0; i < count; ++i) ImageList_Draw(list, i, dc, i * side, 0, ILD_NORMAL);
    GdiFlush();
    std::vector<std::uint32_t> pixels(bits, bits + side * side * count);
    DeleteDC(dc), DeleteObject(bitmap);
    return pixels;
}

TEST(TabIcons, EachIconDrawsAsItsHandleDoesAtEverySize) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    for (int side : {32, 40, 48, 64})
        for (const cc::TabSpec& tabs : cc::TabControls().first(2)) {   // the two with icons
            const int count = static_cast<int>(tabs.icons.size());
            HIMAGELIST strip = cc::TabIconList(module, tabs.icons, side), handles = ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, count, 0);
            for (int id : tabs.icons)
                if (auto icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, side, side, 0)))
                    ImageList_AddIcon(handles, icon), DestroyIcon(icon);
            for (COLORREF background : {RGB(255, 255, 255), RGB(10, 36, 106)})
                EXPECT_EQ(Drawn(strip, side, count, background), Drawn(handles, side, count, background)) << side;
            ImageList_Destroy(strip), ImageList_Destroy(handles);
        }
}
