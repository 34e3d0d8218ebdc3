#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <cstdint>
#include <new>
#include <vector>

#include "formats/RegistryText.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Utf.h"

namespace cc {
namespace {

// Always the 64-bit registry, the one the system's own programs read.
constexpr REGSAM kView = KEY_WOW64_64KEY;
HKEY RootKey(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
        case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
        case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    }
    return nullptr;
}

// ERROR_SUCCESS with the key open, ERROR_FILE_NOT_FOUND when it is not there, or another error.
LONG OpenKey(RegistryRoot root, std::string_view path, REGSAM access, UniqueKey& key) {
    const LONG result = RegOpenKeyExW(RootKey(root), Widen(path).c_str(), 0, access | kView, key.put());
    if (result != ERROR_SUCCESS) key.reset();
    return result;
}

UniqueKey OpenKey(const RegistryValue& value, REGSAM access) {
    UniqueKey key;
    OpenKey(value.root, value.key, access, key);
    return key;
}

// The value's key opened to read; Missing when it is not there, Failed when
// it is there but will not open (its access list denies reading, for one).
Lookup OpenToRead(const RegistryValue& value, UniqueKey& key) {
    const LONG opened = OpenKey(value.root, value.key, KEY_QUERY_VALUE, key);
    return opened == ERROR_SUCCESS ? Lookup::Found : opened == ERROR_FILE_NOT_FOUND ? Lookup::Missing : Lookup::Failed;
}

// The value's type and bytes; more than `largest` bytes is not read. The data
// may change between asking its size and reading it: a few tries.
Lookup QueryValue(HKEY key, const std::wstring& name, size_t largest, RegistryData& data) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, bytes = 0;
        const LONG asked = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes);
        if (asked == ERROR_FILE_NOT_FOUND) return Lookup::Missing;
        if (asked != ERROR_SUCCESS || bytes > largest) return Lookup::Failed;
        try {
            data.bytes.resize(bytes);
        } catch (const std::bad_alloc&) {
            return Lookup::Failed;
        }
        DWORD got = bytes;
        const LONG read = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.bytes.data(), &got);
        if (read == ERROR_MORE_DATA) continue;
        if (read != ERROR_SUCCESS || got > bytes) return Lookup::Failed;
        data.type = type;
        data.bytes.resize(got);
        return Lookup::Found;
    }
    return Lookup::Failed;
}

}  // namespace

Lookup Win32Registry::readText(const RegistryValue& value, std::string& text) {
    text.clear();
    UniqueKey key;
    RegistryData data;
    Lookup found = OpenToRead(value, key);
    if (found == Lookup::Found) found = QueryValue(key.get(), Widen(value.name), kLargestRegistryText, data);
    if (found == Lookup::Found) text = RegistryTextFromBytes(data.type, data.bytes);
    return found;
}

Lookup Win32Registry::findValue(const RegistryValue& value) {
    UniqueKey key;
    const Lookup opened = OpenToRead(value, key);
    if (opened != Lookup::Found) return opened;
    const LONG asked = RegQueryValueExW(key.get(), Widen(value.name).c_str(), nullptr, nullptr, nullptr, nullptr);
    return asked == ERROR_SUCCESS ? Lookup::Found : asked == ERROR_FILE_NOT_FOUND ? Lookup::Missing : Lookup::Failed;
}

bool Win32Registry::writeText(const RegistryValue& value, std::string_view text) {
    UniqueKey key;
    if (RegCreateKeyExW(RootKey(value.root), Widen(value.key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE | kView, nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring data = Widen(text);
    const size_t bytes = (data.size() + 1) * sizeof(wchar_t);   // with its NUL
    if (bytes > kLargestRegistryText) return false;
    return RegSetValueExW(key.get(), Widen(value.name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>(bytes)) == ERROR_SUCCESS;
}

bool Win32Registry::deleteValue(const RegistryValue& value) {
    UniqueKey key = OpenKey(value, KEY_SET_VALUE);
    return key && RegDeleteValueW(key.get(), Widen(value.name).c_str()) == ERROR_SUCCESS;
}

Lookup Win32Registry::readData(const RegistryValue& value, RegistryData& data) {
    UniqueKey key;
    const Lookup opened = OpenToRead(value, key);
    return opened == Lookup::Found ? QueryValue(key.get(), Widen(value.name), SIZE_MAX, data) : opened;
}

bool Win32Registry::keyExists(RegistryRoot root, std::string_view path) {
    UniqueKey key;
    return OpenKey(root, path, KEY_QUERY_VALUE, key) != ERROR_FILE_NOT_FOUND;
}

}  // namespace cc
