// A strip's icons, added as one strip of their pixels, draw as their handles do, at every size (40 has no image of its own).
#include <gtest/gtest.h>

#include <vector>

#include "ui/Catalogue.h"
#include "ui/win32/CommonControls.h"
#include "ui/win32/GdiOwners.h"
#include "ui/win32/ScaledPictures.h"
#include "ui/win32/TabIcons.h"

static std::vector<std::uint32_t> Drawn(HIMAGELIST list, int side, int count, COLORREF background) {
    std::uint32_t* bits = nullptr;
    const cc::UniqueHbitmap bitmap = cc::CreateTopDownDib(side * count, side, &bits);
    const cc::UniqueHdc dc{CreateCompatibleDC(nullptr)};   // deleted with the bitmap and brush still in it
    SelectObject(dc.get(), bitmap.get());
    SelectObject(dc.get(), GetStockObject(DC_BRUSH));
    SetDCBrushColor(dc.get(), background);
    PatBlt(dc.get(), 0, 0, side * count, side, PATCOPY);
    for (int i = 0; i < count; ++i) ImageList_Draw(list, i, dc.get(), i * side, 0, ILD_NORMAL);
    GdiFlush();
    return std::vector<std::uint32_t>(bits, bits + side * side * count);
}

TEST(TabIcons, EachIconDrawsAsItsHandleDoesAtEverySize) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    for (int side : {32, 40, 48, 64})
        for (const cc::TabSpec& tabs : cc::TabControls().first(2)) {   // the two with icons
            const int count = static_cast<int>(tabs.icons.size());
            cc::UniqueHimagelist strip{cc::comctl::ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, count, 0)};
            const bool taken = cc::AddIconStrip(strip.get(), module, tabs.icons, side);
            EXPECT_EQ(taken, side != 40) << side;
            if (!taken) strip.reset(cc::TabIconList(module, tabs.icons, side));
            const cc::UniqueHimagelist handles{ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, count, 0)};
            for (int id : tabs.icons)
                if (const cc::UniqueHicon icon{static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, side, side, 0))})
                    ImageList_AddIcon(handles.get(), icon.get());
            for (COLORREF background : {RGB(255, 255, 255), RGB(10, 36, 106)})
                EXPECT_EQ(Drawn(strip.get(), side, count, background), Drawn(handles.get(), side, count, background)) << side;
        }
}
