#pragma once
// An in-memory registry for host tests. Keys and value names compare
// case-insensitively for ASCII letters, as Windows compares them. Every call
// is logged ("read HKCU\Software\...\Start Page", "@" for a default value).

#include <map>
#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/Registry.h"

namespace cc::fake {

class FakeRegistry final : public Registry, public CallLog {
public:
    // --- test set-up and inspection ---
    void setText(const RegistryValue& value, std::string text);
    void setNonText(const RegistryValue& value);   // a number or binary value: exists, reads empty
    // Writes and deletes under this key (and its subkeys) are refused, as without rights.
    void denyChanges(RegistryRoot root, std::string_view key);
    bool has(const RegistryValue& value) const;
    std::string text(const RegistryValue& value) const;   // what is stored, for a text value

    // --- Registry ---
    std::string readText(const RegistryValue& value) override;
    bool valueExists(const RegistryValue& value) override;
    bool writeText(const RegistryValue& value, std::string_view text) override;
    bool deleteValue(const RegistryValue& value) override;

    static std::string PathOf(const RegistryValue& value);   // "HKLM\SOFTWARE\...\Run\SoundMan"

private:
    struct Stored {
        std::string text;
        bool isText = true;
    };
    bool refused(const RegistryValue& value) const;

    std::map<std::string, Stored> values_;   // folded path -> value
    std::vector<std::string> denied_;        // folded "HKLM\key\" prefixes
};

}  // namespace cc::fake
