#pragma once
// A minimal PNG writer for screenshots: 8-bit RGB, stored (uncompressed) deflate.

#include <cstdint>
#include <string>
#include <vector>

namespace cc::test {

// rgb holds width * height pixels, three bytes each, rows top to bottom.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<std::uint8_t>& rgb);

}  // namespace cc::test
