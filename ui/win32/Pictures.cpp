#include "ui/win32/Pictures.h"

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>

#include <vector>

#include "platform/win32/Handles.h"

namespace cc {
namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

DWORD ReadLittleEndian32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<DWORD>(p[3]) << 24; }

// A whole .ico file kept as RCDATA: its first image becomes the icon, at its own size.
bool IconFromFileBytes(const BYTE* bytes, DWORD size, Picture& out) {
    constexpr DWORD kDirectory = 6, kEntry = 16;
    if (size < kDirectory + kEntry || bytes[0] || bytes[1] || bytes[2] != 1 || bytes[3]) return false;
    if ((bytes[4] | bytes[5] << 8) == 0) return false;
    const BYTE* entry = bytes + kDirectory;
    const int width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
    const DWORD length = ReadLittleEndian32(entry + 8), offset = ReadLittleEndian32(entry + 12);
    if (offset > size || length > size - offset) return false;
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(bytes + offset), length, TRUE, 0x00030000, width, height,
                                          LR_DEFAULTCOLOR);
    if (!icon) return false;
    out.icon = icon;
    out.width = width;
    out.height = height;
    return true;
}

// Decodes an RCDATA resource: an .ico file as an icon; a GIF or JPEG into a
// top-down, premultiplied 32-bit DIB.
bool DecodeEncodedImage(int resourceId, Picture& out) {
    HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /*RT_RCDATA*/);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(Module(), found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    DWORD size = SizeofResource(Module(), found);
    if (!bytes || size == 0) return false;
    if (IconFromFileBytes(bytes, size, out)) return true;

    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid())))
        return false;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), size)))
        return false;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())))
        return false;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return false;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height);   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return false;
    if (FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return false;
    }
    out.bitmap = bitmap;
    out.premultiplied = true;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    return true;
}

bool LoadBitmapResource(int resourceId, Picture& out) {
    if (!FindResourceW(Module(), MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(2) /*RT_BITMAP*/)) return false;
    auto bitmap = static_cast<HBITMAP>(
        LoadImageW(Module(), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return false;
    BITMAP info{};
    GetObjectW(bitmap, sizeof info, &info);
    out.bitmap = bitmap;
    out.width = info.bmWidth;
    out.height = info.bmHeight;
    return true;
}

bool LoadIconResource(int resourceId, Picture& out) {
    if (!FindResourceW(Module(), MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(14) /*RT_GROUP_ICON*/)) return false;
    // The 32-pixel image: every picture-box icon is shown at 32 x 32, and
    // stretched ones ask DrawIconEx for their own size at draw time.
    auto icon = static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, 32, 32, 0));
    if (!icon) return false;
    out.icon = icon;
    out.width = 32;
    out.height = 32;
    return true;
}

}  // namespace

PictureCache::~PictureCache() {
    for (auto& [id, picture] : pictures_) {
        if (picture.bitmap) DeleteObject(picture.bitmap);
        if (picture.icon) DestroyIcon(picture.icon);
    }
}

const Picture* PictureCache::get(int resourceId) {
    if (resourceId == 0) return nullptr;
    auto it = pictures_.find(resourceId);
    if (it == pictures_.end()) {
        Picture picture;
        if (!LoadBitmapResource(resourceId, picture) && !DecodeEncodedImage(resourceId, picture))
            LoadIconResource(resourceId, picture);
        it = pictures_.emplace(resourceId, picture).first;
    }
    const Picture& p = it->second;
    return (p.bitmap || p.icon) ? &p : nullptr;
}

void PictureCache::draw(HDC dc, int resourceId, int x, int y, int width, int height, PictureFit fit) {
    const Picture* p = get(resourceId);
    if (!p) return;
    int w = fit == PictureFit::Stretched ? width : p->width;
    int h = fit == PictureFit::Stretched ? height : p->height;
    if (p->icon) {
        DrawIconEx(dc, x, y, p->icon, w, h, 0, nullptr, DI_NORMAL);
        return;
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, p->bitmap);
    if (p->premultiplied) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(dc, x, y, w, h, memory, 0, 0, p->width, p->height, blend);
    } else if (w == p->width && h == p->height) {
        BitBlt(dc, x, y, w, h, memory, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, x, y, w, h, memory, 0, 0, p->width, p->height, SRCCOPY);
    }
    SelectObject(memory, old);
    DeleteDC(memory);
}

void PictureCache::drawKeyed(HDC dc, int resourceId, int x, int y, int width, int height) {
    const Picture* p = get(resourceId);
    if (!p || !p->bitmap) return;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, p->bitmap);
    GdiTransparentBlt(dc, x, y, width, height, memory, 0, 0, p->width, p->height, RGB(255, 0, 255));
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace cc
