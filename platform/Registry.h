#pragma once
// The Windows registry as the features see it: text values addressed by
// root key, key path and value name (empty for the key's default value).
// The Windows implementation uses the 64-bit view of the registry.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Lookup.h"

namespace cc {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

struct RegistryValue {
    RegistryRoot root;
    std::string_view key;    // "Software\Microsoft\..."
    std::string_view name;   // "" names the default value
};

// A value exactly as the registry holds it: its type (REG_SZ is 1) and bytes.
struct RegistryData {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> bytes;
};

class Registry {
public:
    virtual ~Registry() = default;

    // The value's text. Missing, unreadable or not a text value: empty.
    virtual std::string readText(const RegistryValue& value) = 0;
    // Whether the value exists, whatever its type and data. A failed test answers false.
    virtual bool valueExists(const RegistryValue& value) = 0;
    // Writes a text (string) value, creating the key when it is missing.
    virtual bool writeText(const RegistryValue& value, std::string_view text) = 0;
    virtual bool deleteValue(const RegistryValue& value) = 0;
    // The value's type and bytes. Missing: neither the value nor perhaps its key is there.
    virtual Lookup readData(const RegistryValue& value, RegistryData& data) = 0;
    // Whether the key is there; one that cannot be opened for another reason counts as there.
    virtual bool keyExists(RegistryRoot root, std::string_view key) = 0;
};

}  // namespace cc
