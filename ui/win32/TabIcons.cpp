#include "ui/win32/TabIcons.h"

#include <cstring>
#include <vector>

#include "ui/win32/CommonControls.h"
#include "ui/win32/GdiOwners.h"

namespace cc {
namespace {

// The image of exactly side x side pixels, 32 bits with alpha, of an icon
// resource: its header, then its colours and its mask, bottom row first.
const BITMAPINFOHEADER* ExactImage(HINSTANCE instance, int id, int side) {
    HRSRC group = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14) /*RT_GROUP_ICON*/);
    auto* directory = group ? static_cast<BYTE*>(LockResource(LoadResource(instance, group))) : nullptr;
    const int imageId = directory ? LookupIconIdFromDirectoryEx(directory, TRUE, side, side, LR_DEFAULTCOLOR) : 0;
    HRSRC found = imageId ? FindResourceW(instance, MAKEINTRESOURCEW(imageId), MAKEINTRESOURCEW(3) /*RT_ICON*/) : nullptr;
    if (!found) return nullptr;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(instance, found)));
    const DWORD colours = side * side * 4, mask = ((side + 31) / 32 * 4) * side;
    if (!header || SizeofResource(instance, found) < sizeof *header || header->biSize < sizeof *header ||
        header->biWidth != side || header->biHeight != 2 * side || header->biBitCount != 32 ||
        header->biCompression != BI_RGB || SizeofResource(instance, found) < header->biSize + colours + mask)
        return nullptr;
    return header;
}

// A top-down DIB section `width` x `height` of 32 or 1 bits (black and white).
UniqueHbitmap TopDownBitmap(int width, int height, WORD bits, BYTE** pixels) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info{{sizeof(BITMAPINFOHEADER), width, -height, 1, bits, BI_RGB}, {{0, 0, 0, 0}, {255, 255, 255, 0}}};
    return UniqueHbitmap{CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                          reinterpret_cast<void**>(pixels), nullptr, 0)};
}

}  // namespace

// Every icon's exact image side by side, colours and mask as the icon holds
// them, added at once.
bool AddIconStrip(HIMAGELIST list, HINSTANCE instance, std::span<const int> ids, int side) {
    const int count = static_cast<int>(ids.size());
    std::vector<const BITMAPINFOHEADER*> images;
    for (int id : ids)
        if (!images.emplace_back(ExactImage(instance, id, side))) return false;
    BYTE *colours = nullptr, *mask = nullptr;
    const UniqueHbitmap colourStrip = TopDownBitmap(side * count, side, 32, &colours);
    const UniqueHbitmap maskStrip = TopDownBitmap(side * count, side, 1, &mask);
    const int stride = side * 4, maskStride = (side + 31) / 32 * 4, stripMaskStride = (side * count + 31) / 32 * 4;
    for (int i = 0; colourStrip && maskStrip && i < count; ++i) {
        const BYTE* iconColours = reinterpret_cast<const BYTE*>(images[i]) + images[i]->biSize;
        const BYTE* iconMask = iconColours + stride * side;
        for (int y = 0; y < side; ++y) {
            const int row = side - 1 - y;
            std::memcpy(colours + (y * count + i) * stride, iconColours + row * stride, stride);
            for (int x = 0; x < side; ++x) {
                const int at = i * side + x;
                if (iconMask[row * maskStride + x / 8] & (0x80 >> x % 8))
                    mask[y * stripMaskStride + at / 8] |= static_cast<BYTE>(0x80 >> at % 8);
            }
        }
    }
    return colourStrip && maskStrip && comctl::ImageList_Add(list, colourStrip.get(), maskStrip.get()) >= 0;
}

HIMAGELIST TabIconList(HINSTANCE instance, std::span<const int> ids, int side) {
    HIMAGELIST list = comctl::ImageList_Create(side, side, ILC_COLOR32 | ILC_MASK, static_cast<int>(ids.size()), 0);
    if (!list || AddIconStrip(list, instance, ids, side)) return list;
    for (int id : ids) {
        const UniqueHicon icon{static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, side, side, 0))};
        comctl::AddIconTo(list, icon.get());
    }
    return list;
}

}  // namespace cc
