#include "platform/win32/Win32Registry.h"

#include <windows.h>

#include <new>
#include <vector>

#include "platform/RegistryText.h"
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

UniqueKey OpenKey(const RegistryValue& value, REGSAM access) {
    UniqueKey key;
    if (RegOpenKeyExW(RootKey(value.root), Widen(value.key).c_str(), 0, access | kView, key.put()) != ERROR_SUCCESS)
        key.reset();
    return key;
}

}  // namespace

std::string Win32Registry::readText(const RegistryValue& value) {
    UniqueKey key = OpenKey(value, KEY_QUERY_VALUE);
    if (!key) return {};
    const std::wstring name = Widen(value.name);
    // The data may change between asking its size and reading it; a few tries.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0, bytes = 0;
        if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
        if (!IsRegistryText(type) || bytes > kLargestRegistryText) return {};
        std::vector<std::uint8_t> data;
        try {
            data.resize(bytes);
        } catch (const std::bad_alloc&) {
            return {};
        }
        DWORD got = bytes;
        const LONG result = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &got);
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS || got > bytes) return {};
        return RegistryTextFromBytes(type, std::span(data.data(), got));
    }
    return {};
}

bool Win32Registry::valueExists(const RegistryValue& value) {
    UniqueKey key = OpenKey(value, KEY_QUERY_VALUE);
    return key && RegQueryValueExW(key.get(), Widen(value.name).c_str(), nullptr, nullptr, nullptr, nullptr) ==
                      ERROR_SUCCESS;
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
    const LONG opened = RegOpenKeyExW(RootKey(value.root), Widen(value.key).c_str(), 0, KEY_QUERY_VALUE | kView, key.put());
    if (opened == ERROR_FILE_NOT_FOUND) return Lookup::Missing;
    if (opened != ERROR_SUCCESS) return Lookup::Failed;
    const std::wstring name = Widen(value.name);
    for (int attempt = 0; attempt < 4; ++attempt) {   // the data may grow between the two calls
        DWORD type = 0, bytes = 0;
        const LONG asked = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &bytes);
        if (asked == ERROR_FILE_NOT_FOUND) return Lookup::Missing;
        if (asked != ERROR_SUCCESS) return Lookup::Failed;
        try {
            data.bytes.resize(bytes);
        } catch (const std::bad_alloc&) {
            return Lookup::Failed;
        }
        DWORD got = bytes;
        const LONG read = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.bytes.data(), &got);
        if (read == ERROR_MORE_DATA) continue;
        if (read != ERROR_SUCCESS || got > bytes) return Lookup::Failed;
        data.type = type;
        data.bytes.resize(got);
        return Lookup::Found;
    }
    return Lookup::Failed;
}

bool Win32Registry::keyExists(RegistryRoot root, std::string_view path) {
    UniqueKey key;
    return RegOpenKeyExW(RootKey(root), Widen(path).c_str(), 0, KEY_QUERY_VALUE | kView, key.put()) != ERROR_FILE_NOT_FOUND;
}

}  // namespace cc
