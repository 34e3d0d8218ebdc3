// Any value a hijacker may have stored, under any type: the undo file read
// back as regedit reads it gives the very type and bytes again, in lines of
// at most 80 characters.
#include <string>

#include "FuzzCheck.h"
#include "repair/UndoFile.h"

using namespace cc;

namespace {

int Hex(char16_t c) { return c <= u'9' ? c - u'0' : c - u'a' + 10; }

// The value line's data, as regedit parses what follows "=".
bool ParseData(std::u16string_view line, RegistryData& data) {
    if (line.starts_with(u"\"")) {   // a REG_SZ: the units between the quotes, unescaped, and a NUL
        data.type = 1;
        for (size_t i = 1; i + 1 < line.size(); ++i) {
            if (line[i] == u'\\') ++i;
            data.bytes.push_back(line[i] & 0xFF), data.bytes.push_back(line[i] >> 8);
        }
        data.bytes.push_back(0), data.bytes.push_back(0);
        return line.ends_with(u"\"");
    }
    if (!line.starts_with(u"hex(")) return false;
    const size_t close = line.find(u"):");
    if (close == std::u16string_view::npos) return false;
    data.type = 0;
    for (char16_t c : line.substr(4, close - 4)) data.type = data.type * 16 + Hex(c);
    for (size_t i = close + 2; i + 1 < line.size(); i += 3) data.bytes.push_back(Hex(line[i]) * 16 + Hex(line[i + 1]));
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* input, std::size_t size) {
    if (size < 1) return 0;
    RegistryData before{input[0] % 4 == 0 ? 1u : input[0], {input + 1, input + size}};   // REG_SZ often
    const ValueBefore value{{RegistryRoot::LocalMachine, "SOFTWARE\\Run", "a \"b\" \\c"}, before, {}};
    const std::vector<std::byte> file = UndoFileFor({&value, 1});
    std::u16string text;
    for (size_t i = 0; i + 1 < file.size(); i += 2) text += char16_t(unsigned(file[i]) | unsigned(file[i + 1]) << 8);
    const std::u16string head = u"\xFEFFWindows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Run]\r\n"
                                u"\"a \\\"b\\\" \\\\c\"=";
    fuzz::Require(text.starts_with(head) && text.ends_with(u"\r\n\r\n"), "the header, the key and the escaped name");
    std::u16string line = text.substr(head.size(), text.size() - head.size() - 4);
    const size_t name = head.size() - head.rfind(u"\r\n") - 2;   // the first line begins with the value's name
    for (size_t start = 0, end; (end = line.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
        fuzz::Require(end - start + (start ? 0 : name) <= 80 && line.substr(end - 2, 2) == u",\\",
                      "a broken line ends in \",\\\" within 80 characters");
    for (size_t cut; (cut = line.find(u"\\\r\n  ")) != std::u16string::npos;) line.erase(cut, 5);
    RegistryData after;
    fuzz::Require(ParseData(line, after) && after.type == before.type && after.bytes == before.bytes,
                  "the value comes back with its own type and bytes");
    return 0;
}
