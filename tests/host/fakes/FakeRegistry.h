#pragma once
// An in-memory registry. Keys and value names compare case-insensitively for
// ASCII letters, as Windows compares them. Every call is logged ("read
// HKCU\Software\...\Start Page", "@" for a default value).

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "fakes/CallLog.h"
#include "platform/Registry.h"

namespace cc::fake {

class FakeRegistry final : public Registry, public CallLog {
public:
    void setText(const RegistryValue& value, std::string text) { values_[Key(value)] = {std::move(text), true}; }
    void setNonText(const RegistryValue& value) { values_[Key(value)] = {{}, false}; }   // exists, reads empty
    // Writes and deletes under this key and its subkeys are refused, as without rights.
    void denyChanges(RegistryRoot root, std::string_view key) {
        denied_.push_back(Key({root, key, "x"}));
        denied_.back().pop_back();   // "hklm\key\"
    }
    std::string text(const RegistryValue& value) const {
        const auto it = values_.find(Key(value));
        return it == values_.end() ? std::string() : it->second.first;
    }

    std::string readText(const RegistryValue& value) override {
        record("read " + Path(value));
        const auto it = values_.find(Key(value));
        return it == values_.end() || !it->second.second ? std::string() : it->second.first;
    }
    bool valueExists(const RegistryValue& value) override {
        record("exists " + Path(value));
        return values_.count(Key(value)) != 0;
    }
    bool writeText(const RegistryValue& value, std::string_view text) override {
        record("write " + Path(value) + " = " + std::string(text));
        if (refused(value)) return false;
        setText(value, std::string(text));
        return true;
    }
    bool deleteValue(const RegistryValue& value) override {
        record("delete " + Path(value));
        return !refused(value) && values_.erase(Key(value)) != 0;
    }

private:
    static std::string Path(const RegistryValue& v) {   // "HKLM\SOFTWARE\...\Run\SoundMan"
        const char* root = v.root == RegistryRoot::ClassesRoot   ? "HKCR\\"
                           : v.root == RegistryRoot::CurrentUser ? "HKCU\\"
                                                                 : "HKLM\\";
        return root + std::string(v.key) + "\\" + (v.name.empty() ? std::string("@") : std::string(v.name));
    }
    static std::string Key(const RegistryValue& value) {
        std::string key = Path(value);
        for (char& c : key) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return key;
    }
    bool refused(const RegistryValue& value) const {
        return std::any_of(denied_.begin(), denied_.end(), [&](const std::string& k) { return Key(value).starts_with(k); });
    }

    std::map<std::string, std::pair<std::string, bool>> values_;   // folded path -> text, and whether a text value
    std::vector<std::string> denied_;                              // folded "hklm\key\" prefixes
};

}  // namespace cc::fake
