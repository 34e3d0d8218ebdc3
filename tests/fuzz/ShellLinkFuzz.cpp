// Shortcut files as anyone may write them: the reader never reads past the
// bytes, gives the same answer twice and the same answer for a copy cut just
// past the last byte it used, a target no longer than the bytes allow, and a
// reading in time linear in the size (many blocks or items hold no scan).
#include <chrono>
#include <vector>

#include "FuzzCheck.h"
#include "formats/ShellLink.h"

using namespace cc;

namespace {

const ShellLinkServices kServices{
    [](std::string_view ansi) {   // the code page as Latin-1: at most two bytes for each
        std::string utf8;
        for (unsigned char c : ansi) c < 0x80 ? utf8 += char(c) : (utf8 += char(0xC0 | c >> 6), utf8 += char(0x80 | (c & 0x3F)));
        return utf8;
    },
    [](std::string_view text) { return std::string(text); },
    [](const ShellFolderId& folder) -> std::optional<std::string> {
        if (folder.known ? folder.guid[0] & 1 : folder.csidl & 1) return std::nullopt;
        return std::string("F:\\Folder");
    }};

bool Same(const ShellLinkReading& a, const ShellLinkReading& b) {
    return a.target.kind == b.target.kind && a.target.path == b.target.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    const auto start = std::chrono::steady_clock::now();
    const ShellLinkReading reading = ReadShellLink(bytes, kServices);
    fuzz::Require(std::chrono::steady_clock::now() - start < std::chrono::milliseconds(250) + std::chrono::microseconds(size),
                  "at most 250 ms and a microsecond a byte");
    fuzz::Require(Same(reading, ReadShellLink(bytes, kServices)), "the same answer twice");
    fuzz::Require(reading.bytesUsed <= size, "nothing used past the end");
    fuzz::Require((reading.target.kind == ShortcutTarget::Kind::Path) != reading.target.path.empty(), "a path only for a path");
    fuzz::Require(reading.target.path.size() <= 2 * size + 16, "a target no longer than the bytes allow");
    if (reading.bytesUsed < size) {
        const std::vector<std::uint8_t> cut(data, data + reading.bytesUsed);
        fuzz::Require(Same(reading, ReadShellLink(cut, kServices)), "a copy cut past every byte used reads the same");
    }
    return 0;
}
