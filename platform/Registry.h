#pragma once
// The Windows registry as the features see it: text values addressed by
// root key, key path and value name (empty for the key's default value).
// The Windows implementation uses the 64-bit view of the registry.

#include <string>
#include <string_view>

namespace cc {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

struct RegistryValue {
    RegistryRoot root;
    std::string_view key;    // "Software\Microsoft\..."
    std::string_view name;   // "" names the default value
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
};

}  // namespace cc
