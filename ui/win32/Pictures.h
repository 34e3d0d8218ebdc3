#pragma once
// The program's pictures, loaded once from its resources: BMPs as bitmaps,
// GIFs and JPEGs decoded into premultiplied 32-bit bitmaps (through the imaging
// component, or OLE's picture loader where it is missing), ICOs as icons.
// Drawn actual size from the top-left corner, or stretched. Each is loaded
// from the set drawn for the display's DPI (ScaledPictures.h) and shown at
// its design size times the DPI.

#include <windows.h>

#include <map>
#include <tuple>

#include "ui/Catalogue.h"
#include "ui/win32/GdiOwners.h"

namespace cc {

// A bitmap or an icon, deleted with its picture.
struct Picture {
    UniqueHbitmap bitmap;
    UniqueHicon icon;
    bool premultiplied = false;   // a 32-bit bitmap with alpha (GIF, JPEG)
    int width = 0;    // in pixels, as loaded
    int height = 0;
    int designWidth = 0;   // at 96 DPI
    int designHeight = 0;
};

class PictureCache {
public:
    PictureCache() = default;
    PictureCache(const PictureCache&) = delete;
    PictureCache& operator=(const PictureCache&) = delete;

    // Pictures for the display's DPI from now on.
    void setDpi(int dpi);

    // Null when the resource is missing or cannot be decoded.
    const Picture* get(int resourceId);

    // Draws into (x, y, width, height): at its own size from the top-left
    // corner (clipped by the DC), or stretched to fill it.
    void draw(HDC dc, int resourceId, int x, int y, int width, int height, PictureFit fit);
    // Draws a 24-bit bitmap with magenta as the transparent colour.
    void drawKeyed(HDC dc, int resourceId, int x, int y, int width, int height);

private:
    // The picture resampled to width x height, made once.
    const Picture* resized(int resourceId, const Picture& picture, int width, int height, bool keyed);

    std::map<int, Picture> pictures_;
    std::map<std::tuple<int, int, int>, Picture> resized_;
    int dpi_ = 96;
};

}  // namespace cc
