// The first frame's pictures, BMP files the window makes bitmaps of itself: the colours GDI reads, alpha whole or clear.
#include <gtest/gtest.h>

#include "resources/ResourceIds.h"
#include "ui/win32/Pictures.h"
#include "ui/win32/ScaledPictures.h"

TEST(Pictures, BmpPicturesHoldTheColoursGdiReadsAndAClearOrWholeAlpha) {
    for (int dpi : {96, 144, 192})
        for (int id : {IDR_LOGO, IDR_BANNER}) {
            cc::PictureCache cache;
            cache.setDpi(dpi);
            const cc::Picture* picture = cache.get(id);
            HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id + cc::PictureSetFor(dpi).idOffset), RT_RCDATA);
            const auto* file = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
            DIBSECTION dib{};
            ASSERT_TRUE(picture && picture->premultiplied && file && GetObjectW(picture->bitmap, sizeof dib, &dib)) << id;
            const auto* mine = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
            const int w = picture->width, h = picture->height;
            std::uint32_t* gdi = nullptr;
            HBITMAP reference = cc::CreateTopDownDib(w, h, &gdi);
            HDC dc = CreateCompatibleDC(nullptr);
            const HGDIOBJ old = SelectObject(dc, reference);
            SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, file + reinterpret_cast<const BITMAPFILEHEADER*>(file)->bfOffBits,
                              reinterpret_cast<const BITMAPINFO*>(file + sizeof(BITMAPFILEHEADER)), DIB_RGB_COLORS);
            GdiFlush();
            int wrong = 0, clear = 0;
            for (int i = 0; i < w * h; ++i)   // colours as GDI reads them; alpha whole, or nothing at all
                wrong += (mine[i] & 0xFFFFFF) != (gdi[i] & 0xFFFFFF) || (mine[i] >> 24 != 255 && mine[i]), clear += !(mine[i] >> 24);
            EXPECT_EQ(wrong, 0) << id << " at " << dpi;
            EXPECT_EQ(clear > 0, id == IDR_LOGO) << dpi;   // the logo is a disc; the banner is clear nowhere
            SelectObject(dc, old), DeleteDC(dc), DeleteObject(reference);
        }
}
