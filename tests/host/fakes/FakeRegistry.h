#pragma once
// An in-memory registry. Every call is logged ("read HKCU\Software\...\Start
// Page", "@" for a default value); paths compare exactly, as the program
// always spells them the same way.

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/Registry.h"

namespace cc::fake {

class FakeRegistry final : public Registry, public CallLog {
public:
    void setText(const RegistryValue& value, std::string text) { values_[Path(value)] = std::move(text); }
    void setNonText(const RegistryValue& value) { values_[Path(value)] = std::nullopt; }   // exists, reads empty
    // Writes and deletes under this key and its subkeys are refused, as without rights.
    void denyChanges(RegistryRoot root, std::string_view key) {
        denied_.push_back(Path({root, key, ""}));
        denied_.back().pop_back();   // "HKLM\key\"
    }

    std::string readText(const RegistryValue& value) override {
        record("read " + Path(value));
        const auto it = values_.find(Path(value));
        return it == values_.end() ? std::string() : it->second.value_or("");
    }
    bool valueExists(const RegistryValue& value) override {
        record("exists " + Path(value));
        return values_.count(Path(value)) != 0;
    }
    bool writeText(const RegistryValue& value, std::string_view text) override {
        record("write " + Path(value) + " = " + std::string(text));
        if (refused(value)) return false;
        setText(value, std::string(text));
        return true;
    }
    bool deleteValue(const RegistryValue& value) override {
        record("delete " + Path(value));
        return !refused(value) && values_.erase(Path(value)) != 0;
    }

private:
    static std::string Path(const RegistryValue& v) {   // "HKLM\SOFTWARE\...\Run\SoundMan"
        const char* root = v.root == RegistryRoot::ClassesRoot   ? "HKCR\\"
                           : v.root == RegistryRoot::CurrentUser ? "HKCU\\"
                                                                 : "HKLM\\";
        return root + std::string(v.key) + "\\" + (v.name.empty() ? std::string("@") : std::string(v.name));
    }
    bool refused(const RegistryValue& value) const {
        const std::string path = Path(value);
        return std::any_of(denied_.begin(), denied_.end(), [&](const std::string& key) { return path.starts_with(key); });
    }

    std::map<std::string, std::optional<std::string>> values_;   // path -> text, or nullopt for another type
    std::vector<std::string> denied_;                            // "HKLM\key\" prefixes
};

}  // namespace cc::fake
