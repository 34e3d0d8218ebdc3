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

    // The value's text (empty for a value that holds no text), or that it is
    // missing, or that it could not be read (a key whose access list denies
    // reading, text too long to believe): then `text` is empty.
    virtual Lookup readText(const RegistryValue& value, std::string& text) = 0;
    // The text alone, empty whether missing, unreadable or no text: only for
    // reads where all of these mean the same.
    std::string readText(const RegistryValue& value) {
        std::string text;
        readText(value, text);
        return text;
    }
    // Whether the value is there, whatever its type and data, or could not be looked at.
    virtual Lookup findValue(const RegistryValue& value) = 0;
    // Writes a text (string) value, creating the key when it is missing.
    virtual bool writeText(const RegistryValue& value, std::string_view text) = 0;
    virtual bool deleteValue(const RegistryValue& value) = 0;
    // The value's type and bytes. Missing: neither the value nor perhaps its key is there.
    virtual Lookup readData(const RegistryValue& value, RegistryData& data) = 0;
    // Whether the key is there; one that cannot be opened for another reason counts as there.
    virtual bool keyExists(RegistryRoot root, std::string_view key) = 0;
};

}  // namespace cc
