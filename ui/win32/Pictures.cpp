#include "ui/win32/Pictures.h"

#include <objbase.h>
#include <olectl.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/OldWays.h"
#include "ui/Scale.h"
#include "ui/win32/ScaledPictures.h"

namespace cc {
namespace {

HINSTANCE Module() { return GetModuleHandleW(nullptr); }

DWORD ReadLittleEndian32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<DWORD>(p[3]) << 24; }

// A whole .ico file kept as RCDATA: its smallest image is the design's size;
// the image of that size at the DPI becomes the icon, else the next larger.
bool IconFromFileBytes(const BYTE* bytes, DWORD size, int dpi, Picture& out) {
    constexpr DWORD kDirectory = 6, kEntry = 16;
    if (size < kDirectory + kEntry || bytes[0] || bytes[1] || bytes[2] != 1 || bytes[3]) return false;
    const DWORD count = bytes[4] | bytes[5] << 8;
    if (count == 0 || size < kDirectory + kEntry * count) return false;
    auto side = [&](DWORD i) { return bytes[kDirectory + kEntry * i] ? bytes[kDirectory + kEntry * i] : 256; };
    int design = 256;
    for (DWORD i = 0; i < count; ++i) design = std::min(design, side(i));
    const int wanted = ScaleValue(design, dpi);
    DWORD best = 0;
    for (DWORD i = 1; i < count; ++i) {
        const int mine = side(i), theirs = side(best);
        const bool better = theirs < wanted ? mine > theirs : (mine >= wanted && mine < theirs);
        if (better) best = i;
    }
    const BYTE* entry = bytes + kDirectory + kEntry * best;
    const DWORD length = ReadLittleEndian32(entry + 8), offset = ReadLittleEndian32(entry + 12);
    if (offset > size || length > size - offset) return false;
    UniqueHicon icon{CreateIconFromResourceEx(const_cast<BYTE*>(bytes + offset), length, TRUE, 0x00030000, wanted,
                                              wanted, LR_DEFAULTCOLOR)};
    if (!icon) return false;
    out.icon = std::move(icon);
    out.width = out.height = wanted;
    out.designWidth = out.designHeight = design;
    return true;
}

// The decoder of the picture's own format, JPEG or GIF, made by its class:
// asked to find one, the factory first reads every decoder's registration,
// which under Wine takes longer than the decoding.
ComPtr<IWICBitmapDecoder> DecoderFor(IWICImagingFactory* factory, IWICStream* stream, const BYTE* bytes, DWORD size) {
    const CLSID* format = size > 2 && bytes[0] == 0xFF && bytes[1] == 0xD8      ? &CLSID_WICJpegDecoder
                          : size > 3 && std::memcmp(bytes, "GIF8", 4) == 0 ? &CLSID_WICGifDecoder
                                                                            : nullptr;
    ComPtr<IWICBitmapDecoder> decoder;
    if (format && SUCCEEDED(CoCreateInstance(*format, nullptr, CLSCTX_INPROC_SERVER, IID_IWICBitmapDecoder, decoder.putVoid())) &&
        SUCCEEDED(decoder->Initialize(stream, WICDecodeMetadataCacheOnDemand)))
        return decoder;
    const LARGE_INTEGER start{};
    if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) ||
        FAILED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())))
        decoder.reset();
    return decoder;
}

// Windows Vista and later, and XP with the imaging component installed.
bool DecodeWithImagingComponent(const BYTE* bytes, DWORD size, Picture& out) {
    if (OldWayForced(OldWay::Pictures)) return false;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                factory.putVoid())))
        return false;
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes), size)))
        return false;
    ComPtr<IWICBitmapDecoder> decoder = DecoderFor(factory.get(), stream.get(), bytes, size);
    if (!decoder) return false;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return false;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) return false;
    std::uint32_t* bits = nullptr;
    UniqueHbitmap bitmap = CreateTopDownDib(static_cast<int>(width), static_cast<int>(height), &bits);
    if (!bitmap || FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4, reinterpret_cast<BYTE*>(bits))))
        return false;
    out.bitmap = std::move(bitmap);
    out.premultiplied = true;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    return true;
}

// Renders the picture over a background of one colour into a new DIB.
UniqueHbitmap RenderOver(IPicture* picture, int width, int height, BYTE background, std::uint32_t** pixels) {
    UniqueHbitmap dib = CreateTopDownDib(width, height, pixels);
    if (!dib) return {};
    std::fill_n(*pixels, static_cast<std::size_t>(width) * height, background * 0x010101u);
    OLE_XSIZE_HIMETRIC hmWidth = 0;
    OLE_YSIZE_HIMETRIC hmHeight = 0;
    picture->get_Width(&hmWidth);
    picture->get_Height(&hmHeight);
    HRESULT drawn = E_FAIL;
    {
        UniqueHdc dc{CreateCompatibleDC(nullptr)};
        SelectedObject selected(dc.get(), dib.get());
        drawn = picture->Render(dc.get(), 0, 0, width, height, 0, hmHeight, hmWidth, -hmHeight, nullptr);
        GdiFlush();
    }
    if (FAILED(drawn)) return {};
    return dib;
}

// Windows XP without the imaging component: OLE's picture loader. Drawn once
// over black and once over white, the two give each pixel's coverage, so a
// GIF's transparent colour becomes alpha 0 as the imaging component makes it.
bool DecodeWithOlePicture(const BYTE* bytes, DWORD size, Picture& out) {
    UniqueHglobal copy{GlobalAlloc(GMEM_MOVEABLE, size)};
    if (!copy) return false;
    std::memcpy(GlobalLock(copy.get()), bytes, size);
    GlobalUnlock(copy.get());
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(copy.get(), TRUE, stream.put()))) return false;
    copy.release();   // the stream's now, freed with it
    ComPtr<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture, picture.putVoid())))
        return false;
    OLE_HANDLE handle = 0;
    BITMAP info{};
    short type = PICTYPE_NONE;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP || FAILED(picture->get_Handle(&handle)) ||
        !GetObjectW(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), sizeof info, &info) ||
        info.bmWidth <= 0 || info.bmHeight <= 0)
        return false;
    const int width = info.bmWidth, height = info.bmHeight;
    std::uint32_t *black = nullptr, *white = nullptr;
    UniqueHbitmap result = RenderOver(picture.get(), width, height, 0, &black);
    const UniqueHbitmap overWhite = result ? RenderOver(picture.get(), width, height, 255, &white) : UniqueHbitmap{};
    if (!overWhite) return false;
    for (std::size_t i = 0, n = static_cast<std::size_t>(width) * height; i < n; ++i) {
        const std::uint32_t green = black[i] >> 8 & 0xFF, greenOverWhite = white[i] >> 8 & 0xFF;
        const std::uint32_t alpha = 255 - (greenOverWhite - std::min(green, greenOverWhite));
        black[i] = (black[i] & 0xFFFFFF) | alpha << 24;   // over black: already premultiplied
    }
    out.bitmap = std::move(result);
    out.premultiplied = true;
    out.width = width;
    out.height = height;
    return true;
}

// Decodes an RCDATA resource: an .ico file as an icon; a GIF or JPEG into a
// top-down, premultiplied 32-bit DIB.
bool DecodeEncodedImage(int resourceId, int dpi, Picture& out) {
    HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /*RT_RCDATA*/);
    if (!found) return false;
    HGLOBAL loaded = LoadResource(Module(), found);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    DWORD size = SizeofResource(Module(), found);
    if (!bytes || size == 0) return false;
    if (IconFromFileBytes(bytes, size, dpi, out)) return true;
    return DecodeWithImagingComponent(bytes, size, out) || DecodeWithOlePicture(bytes, size, out);
}

bool LoadBitmapResource(int resourceId, Picture& out) {
    if (!FindResourceW(Module(), MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(2) /*RT_BITMAP*/)) return false;
    UniqueHbitmap bitmap{static_cast<HBITMAP>(
        LoadImageW(Module(), MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))};
    if (!bitmap) return false;
    BITMAP info{};
    GetObjectW(bitmap.get(), sizeof info, &info);
    out.bitmap = std::move(bitmap);
    out.width = info.bmWidth;
    out.height = info.bmHeight;
    return true;
}

bool LoadIconResource(int resourceId, int dpi, Picture& out) {
    if (!FindResourceW(Module(), MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(14) /*RT_GROUP_ICON*/)) return false;
    // The 32-pixel image at the DPI: every picture-box icon is shown at 32 x 32,
    // and stretched ones ask DrawIconEx for their own size at draw time.
    const int side = ScaleValue(32, dpi);
    UniqueHicon icon{static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, side, side, 0))};
    if (!icon) return false;
    out.icon = std::move(icon);
    out.width = out.height = side;
    out.designWidth = out.designHeight = 32;
    return true;
}

void Blit(HDC dc, int x, int y, int w, int h, const Picture& p, int stretchMode) {
    const UniqueHdc memory{CreateCompatibleDC(dc)};
    const SelectedObject selected(memory.get(), p.bitmap.get());
    if (p.premultiplied) {
        BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(dc, x, y, w, h, memory.get(), 0, 0, p.width, p.height, blend);
    } else if (w == p.width && h == p.height) {
        BitBlt(dc, x, y, w, h, memory.get(), 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, stretchMode);
        if (stretchMode == HALFTONE) SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, x, y, w, h, memory.get(), 0, 0, p.width, p.height, SRCCOPY);
    }
}

}  // namespace

void PictureCache::setDpi(int dpi) {
    if (dpi == dpi_) return;
    pictures_.clear();
    resized_.clear();
    dpi_ = dpi;
}

const Picture* PictureCache::get(int resourceId) {
    if (resourceId == 0) return nullptr;
    auto it = pictures_.find(resourceId);
    if (it == pictures_.end()) {
        // The set drawn for the DPI; icons hold every size in one resource.
        Picture picture;
        const PictureSet set = PictureSetFor(dpi_);
        int drawnFor = set.dpi;
        if (!set.idOffset || (!LoadBitmapResource(resourceId + set.idOffset, picture) &&
                              !DecodeEncodedImage(resourceId + set.idOffset, dpi_, picture))) {
            drawnFor = kDesignDpi;
            if (!LoadBitmapResource(resourceId, picture) && !DecodeEncodedImage(resourceId, dpi_, picture))
                LoadIconResource(resourceId, dpi_, picture);
        }
        if (!picture.icon) {
            picture.designWidth = UnscaleValue(picture.width, drawnFor);
            picture.designHeight = UnscaleValue(picture.height, drawnFor);
        }
        it = pictures_.emplace(resourceId, std::move(picture)).first;
    }
    const Picture& p = it->second;
    return (p.bitmap || p.icon) ? &p : nullptr;
}

const Picture* PictureCache::resized(int resourceId, const Picture& p, int width, int height, bool keyed) {
    auto key = std::tuple{resourceId, width, height};
    auto it = resized_.find(key);
    if (it == resized_.end()) {
        Picture copy;
        copy.bitmap = ResampledBitmap(p.bitmap.get(), width, height, p.premultiplied, keyed);
        copy.premultiplied = p.premultiplied || keyed;
        copy.width = width;
        copy.height = height;
        copy.designWidth = p.designWidth;
        copy.designHeight = p.designHeight;
        it = resized_.emplace(key, std::move(copy)).first;
    }
    return it->second.bitmap ? &it->second : &p;
}

void PictureCache::draw(HDC dc, int resourceId, int x, int y, int width, int height, PictureFit fit) {
    const Picture* p = get(resourceId);
    if (!p) return;
    int w = width, h = height;
    if (fit != PictureFit::Stretched) {
        // Its design size at the DPI; a box of that design size fills exactly,
        // whichever way its edges rounded.
        auto shown = [this](int design, int box) {
            const int scaled = ScaleValue(design, dpi_);
            return dpi_ != kDesignDpi && std::abs(scaled - box) <= 1 ? box : scaled;
        };
        w = shown(p->designWidth, width);
        h = shown(p->designHeight, height);
    }
    if (p->icon) {
        DrawIconEx(dc, x, y, p->icon.get(), w, h, 0, nullptr, DI_NORMAL);
        return;
    }
    if (dpi_ == kDesignDpi) {
        Blit(dc, x, y, w, h, *p, COLORONCOLOR);
        return;
    }
    // Shown at its own size: resampled once from the set drawn for the DPI.
    // Stretched: its pixels repeated as at 96 DPI where it grows (a frame
    // edge), a good filter where it shrinks (the next larger set).
    const bool asDrawn = fit == PictureFit::Stretched || (w == p->width && h == p->height);
    const Picture& source = asDrawn ? *p : *resized(resourceId, *p, w, h, false);
    Blit(dc, x, y, w, h, source, w < source.width || h < source.height ? HALFTONE : COLORONCOLOR);
}

void PictureCache::drawKeyed(HDC dc, int resourceId, int x, int y, int width, int height) {
    const Picture* p = get(resourceId);
    if (!p || !p->bitmap) return;
    if (dpi_ != kDesignDpi && (width != p->width || height != p->height)) {
        // Not the size it was drawn at: averaged with the key colour as transparent.
        if (const Picture* fitted = resized(resourceId, *p, width, height, true); fitted->premultiplied) {
            Blit(dc, x, y, width, height, *fitted, HALFTONE);
            return;
        }
    }
    const UniqueHdc memory{CreateCompatibleDC(dc)};
    const SelectedObject selected(memory.get(), p->bitmap.get());
    GdiTransparentBlt(dc, x, y, width, height, memory.get(), 0, 0, p->width, p->height, RGB(255, 0, 255));
}

}  // namespace cc
