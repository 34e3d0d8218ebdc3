#pragma once
#include "platform/Registry.h"

namespace cc {

class Win32Registry final : public Registry {
public:
    using Registry::readText;
    Lookup readText(const RegistryValue& value, std::string& text) override;
    Lookup findValue(const RegistryValue& value) override;
    bool writeText(const RegistryValue& value, std::string_view text) override;
    bool deleteValue(const RegistryValue& value) override;
    Lookup readData(const RegistryValue& value, RegistryData& data) override;
    bool keyExists(RegistryRoot root, std::string_view key) override;
};

}  // namespace cc
