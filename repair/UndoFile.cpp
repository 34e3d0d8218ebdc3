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
    text = Utf16FromBytes(data.bytes);
    if (text.back() != 0) return false;
    text.pop_back();
    return std::none_of(text.begin(), text.end(), [](char16_t unit) { return unit < 0x20 || (unit >= 0xD800 && unit <= 0xDFFF); });
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
        if (line.size() > 76) {
            text += line + u"\\\r\n";
            line = u"  ";
        }
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

// UTF-16 units as the little-endian bytes a file or value stores.
template <class Byte>
std::vector<Byte> LittleEndian(std::u16string_view units) {
    std::vector<Byte> bytes;
    for (char16_t unit : units) bytes.insert(bytes.end(), {Byte(unit & 0xFF), Byte(unit >> 8)});
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> TextValueBytes(std::string_view text) {
    return LittleEndian<std::uint8_t>(Utf16FromWtf8(text) + u'\0');
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
    return LittleEndian<std::byte>(text + u"\r\n");
}

}  // namespace cc
