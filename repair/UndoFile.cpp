#include "repair/UndoFile.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "formats/RegistryText.h"
#include "formats/Wtf8.h"

namespace cc {
namespace {

std::u16string RootName(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot: return u"HKEY_CLASSES_ROOT";
        case RegistryRoot::CurrentUser: return u"HKEY_CURRENT_USER";
        case RegistryRoot::LocalMachine: return u"HKEY_LOCAL_MACHINE";
    }
    return {};
}

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

// Between quotes, with the two characters the format escapes.
std::u16string Quoted(std::u16string_view text) {
    std::u16string quoted = u"\"";
    for (char16_t unit : text) {
        if (unit == u'\\' || unit == u'"') quoted += u'\\';
        quoted += unit;
    }
    return quoted + u"\"";
}

std::u16string NameOf(const RegistryValue& where) {
    return where.name.empty() ? u"@" : Quoted(Utf16FromWtf8(where.name));
}

// The units of a REG_SZ that a quoted string gives back byte for byte: whole
// units, one NUL at the end and none before it, and no line break or other
// control character that would end or bend the line.
bool QuotesExactly(const RegistryData& data, std::u16string& text) {
    if (data.type != kRegistryString || data.bytes.size() < 2 || data.bytes.size() % 2) return false;
    text.clear();
    for (size_t i = 0; i + 2 < data.bytes.size(); i += 2) {
        const char16_t unit = static_cast<char16_t>(data.bytes[i] | data.bytes[i + 1] << 8);
        if (unit < 0x20 || (unit >= 0xD800 && unit <= 0xDFFF)) return false;
        text += unit;
    }
    return data.bytes[data.bytes.size() - 2] == 0 && data.bytes.back() == 0;
}

// hex(type):xx,xx,... with the lines broken where regedit breaks its own.
std::u16string HexData(std::u16string line, const RegistryData& data) {
    char type[16];
    std::snprintf(type, sizeof type, "hex(%x):", static_cast<unsigned>(data.type));
    line += Ascii(type);
    std::u16string text;
    for (size_t i = 0; i < data.bytes.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02x", data.bytes[i]);
        line += Ascii(byte);
        if (i + 1 == data.bytes.size()) break;
        line += u',';
        if (line.size() > 76) text += line + u"\\\r\n", line = u"  ";
    }
    return text + line;
}

std::u16string ValueLine(const ValueBefore& value) {
    const std::u16string name = NameOf(value.where) + u"=";
    if (!value.data) return name + u"-";
    std::u16string text;
    if (QuotesExactly(*value.data, text)) return name + Quoted(text);
    return HexData(name, *value.data);
}

}  // namespace

std::vector<std::uint8_t> TextValueBytes(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    for (char16_t unit : Utf16FromWtf8(text)) bytes.push_back(unit & 0xFF), bytes.push_back(unit >> 8);
    bytes.push_back(0), bytes.push_back(0);
    return bytes;
}

std::vector<std::byte> UndoFileFor(std::span<const ValueBefore> values) {
    std::u16string text = u"\xFEFF" u"Windows Registry Editor Version 5.00\r\n";
    for (const ValueBefore& value : values) {
        const std::u16string root = RootName(value.where.root) + u"\\";
        if (!value.createdKey.empty())
            text += u"\r\n[-" + root + Utf16FromWtf8(value.createdKey) + u"]\r\n";
        else
            text += u"\r\n[" + root + Utf16FromWtf8(value.where.key) + u"]\r\n" + ValueLine(value) + u"\r\n";
    }
    text += u"\r\n";
    std::vector<std::byte> bytes;
    for (char16_t unit : text) bytes.push_back(std::byte(unit & 0xFF)), bytes.push_back(std::byte(unit >> 8));
    return bytes;
}

}  // namespace cc
