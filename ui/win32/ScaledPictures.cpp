#include "ui/win32/ScaledPictures.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "resources/ResourceIds.h"

namespace cc {

UniqueHbitmap CreateTopDownDib(int width, int height, std::uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return UniqueHbitmap{CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(bits), nullptr, 0)};
}

namespace {

constexpr std::uint32_t kMagenta = 0xFF00FF;

// The pixels of a 24- or 32-bit DIB section as premultiplied 0xAARRGGBB, top row first.
bool ReadPremultiplied(HBITMAP bitmap, bool premultiplied, bool keyed, std::vector<std::uint32_t>& out, int& width,
                       int& height) {
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits) return false;
    const int bits = dib.dsBm.bmBitsPixel;
    if (bits != 24 && bits != 32) return false;
    width = dib.dsBm.bmWidth;
    height = dib.dsBm.bmHeight;
    // Ours are top-down; a BMP resource loads bottom-up. (Wine reports a
    // top-down section's height as positive, so the header cannot tell.)
    const bool bottomUp = !premultiplied && dib.dsBmih.biHeight > 0;
    const auto* base = static_cast<const BYTE*>(dib.dsBm.bmBits);
    out.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const BYTE* row = base + static_cast<size_t>(bottomUp ? height - 1 - y : y) * dib.dsBm.bmWidthBytes;
        for (int x = 0; x < width; ++x) {
            const BYTE* p = row + x * (bits / 8);
            std::uint32_t colour = p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
            if (premultiplied) colour |= static_cast<std::uint32_t>(bits == 32 ? p[3] : 255) << 24;
            else colour = keyed && colour == kMagenta ? 0 : colour | 0xFF000000u;
            out[static_cast<size_t>(y) * width + x] = colour;
        }
    }
    return true;
}

// Each target pixel is the average of the source area it covers.
void AreaAverage(const std::vector<std::uint32_t>& in, int inWidth, int inHeight, std::uint32_t* out, int width,
                 int height) {
    const double fx = static_cast<double>(inWidth) / width, fy = static_cast<double>(inHeight) / height;
    for (int ty = 0; ty < height; ++ty) {
        const double y0 = ty * fy, y1 = y0 + fy;
        for (int tx = 0; tx < width; ++tx) {
            const double x0 = tx * fx, x1 = x0 + fx;
            double sum[4]{}, area = 0;
            for (int sy = static_cast<int>(y0); sy < inHeight && sy < y1; ++sy) {
                const double wy = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
                for (int sx = static_cast<int>(x0); sx < inWidth && sx < x1; ++sx) {
                    const double weight = wy * (std::min<double>(sx + 1, x1) - std::max<double>(sx, x0));
                    const std::uint32_t pixel = in[static_cast<size_t>(sy) * inWidth + sx];
                    for (int c = 0; c < 4; ++c) sum[c] += (pixel >> (8 * c) & 0xFF) * weight;
                    area += weight;
                }
            }
            std::uint32_t pixel = 0;
            for (int c = 0; c < 4 && area > 0; ++c)
                pixel |= static_cast<std::uint32_t>(std::min(255.0, sum[c] / area + 0.5)) << (8 * c);
            out[static_cast<size_t>(ty) * width + tx] = pixel;
        }
    }
}

}  // namespace

PictureSet PictureSetFor(int dpi) {
    if (dpi <= 96) return {0, 96};
    if (dpi <= 144) return {PICTURE_SET_150, 144};
    return {PICTURE_SET_200, 192};
}

UniqueHbitmap ResampledBitmap(HBITMAP bitmap, int width, int height, bool premultiplied, bool keyed) {
    if (width <= 0 || height <= 0) return {};
    std::uint32_t* bits = nullptr;
    if (!premultiplied && !keyed) {
        BITMAP info{};
        GetObjectW(bitmap, sizeof info, &info);
        UniqueHbitmap result = CreateTopDownDib(width, height, &bits);
        if (!result) return {};
        UniqueHdc source{CreateCompatibleDC(nullptr)}, target{CreateCompatibleDC(nullptr)};
        SelectedObject sourceBitmap(source.get(), bitmap), targetBitmap(target.get(), result.get());
        SetStretchBltMode(target.get(), HALFTONE);
        SetBrushOrgEx(target.get(), 0, 0, nullptr);   // as HALFTONE asks
        StretchBlt(target.get(), 0, 0, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        GdiFlush();
        return result;
    }
    std::vector<std::uint32_t> pixels;
    int inWidth = 0, inHeight = 0;
    if (!ReadPremultiplied(bitmap, premultiplied, keyed, pixels, inWidth, inHeight)) return {};
    UniqueHbitmap result = CreateTopDownDib(width, height, &bits);
    if (result) AreaAverage(pixels, inWidth, inHeight, bits, width, height);
    return result;
}

}  // namespace cc
