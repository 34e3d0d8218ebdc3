// Firmware tables as any firmware may give them: the parser stays inside the
// bytes, and what it reads is what the table holds.
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "formats/SmbiosParser.h"

using namespace cc;

namespace {

bool Printable(const std::string& s) {
    for (char c : s)
        if (c < 0x20 || c > 0x7E) return false;
    return s.empty() || (s.front() != ' ' && s.back() != ' ');
}

// A board text is empty, one structure's string, or two joined by a blank.
bool FromStrings(const std::string& text, const std::vector<SmbiosStructure>& all) {
    if (text.empty()) return true;
    for (const auto& s : all)
        for (const auto& a : s.strings) {
            if (a == text) return true;
            if (text.size() > a.size() && text.compare(0, a.size(), a) == 0 && text[a.size()] == ' ') return true;
        }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto all = ParseSmbiosStructures(data, size);
    std::size_t used = size >= 8 ? 8 : 0;
    for (const SmbiosStructure& s : all) {
        fuzz::Require(s.formatted.size() >= 4 && s.formatted[0] == s.type, "a structure holds its own header");
        fuzz::Require(s.formatted[1] == s.formatted.size(), "a structure is as long as it says");
        used += s.formatted.size();
        for (const std::string& text : s.strings) {
            fuzz::Require(Printable(text), "strings are trimmed printable ASCII");
            used += 1;   // at least its terminating zero
        }
    }
    fuzz::Require(used <= size, "no structure reaches past the bytes given");
    const BoardInfo board = ParseSmbiosBoard(data, size);
    for (const std::string* text : {&board.name, &board.manufacturer, &board.copyright, &board.date, &board.serialNumber,
                                    &board.oemInformation})
        fuzz::Require(FromStrings(*text, all), "every board text comes from the table's strings");
    return 0;
}
