#include "fakes/FakeRegistry.h"

#include <algorithm>

namespace cc::fake {
namespace {

std::string Fold(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string RootName(RegistryRoot root) {
    switch (root) {
        case RegistryRoot::ClassesRoot: return "HKCR";
        case RegistryRoot::CurrentUser: return "HKCU";
        case RegistryRoot::LocalMachine: return "HKLM";
    }
    return "?";
}

}  // namespace

std::string FakeRegistry::PathOf(const RegistryValue& value) {
    return RootName(value.root) + "\\" + std::string(value.key) + "\\" +
           (value.name.empty() ? std::string("@") : std::string(value.name));
}

void FakeRegistry::setText(const RegistryValue& value, std::string text) {
    values_[Fold(PathOf(value))] = {std::move(text), true};
}

void FakeRegistry::setNonText(const RegistryValue& value) { values_[Fold(PathOf(value))] = {{}, false}; }

void FakeRegistry::denyChanges(RegistryRoot root, std::string_view key) {
    denied_.push_back(Fold(RootName(root) + "\\" + std::string(key) + "\\"));
}

bool FakeRegistry::has(const RegistryValue& value) const { return values_.count(Fold(PathOf(value))) != 0; }

std::string FakeRegistry::text(const RegistryValue& value) const {
    auto it = values_.find(Fold(PathOf(value)));
    return it == values_.end() ? std::string() : it->second.text;
}

bool FakeRegistry::refused(const RegistryValue& value) const {
    const std::string path = Fold(PathOf(value));
    return std::any_of(denied_.begin(), denied_.end(), [&](const std::string& key) { return path.rfind(key, 0) == 0; });
}

std::string FakeRegistry::readText(const RegistryValue& value) {
    record("read " + PathOf(value));
    auto it = values_.find(Fold(PathOf(value)));
    return it == values_.end() || !it->second.isText ? std::string() : it->second.text;
}

bool FakeRegistry::valueExists(const RegistryValue& value) {
    record("exists " + PathOf(value));
    return has(value);
}

bool FakeRegistry::writeText(const RegistryValue& value, std::string_view text) {
    record("write " + PathOf(value) + " = " + std::string(text));
    if (refused(value)) return false;
    setText(value, std::string(text));
    return true;
}

bool FakeRegistry::deleteValue(const RegistryValue& value) {
    record("delete " + PathOf(value));
    if (refused(value)) return false;
    return values_.erase(Fold(PathOf(value))) != 0;
}

}  // namespace cc::fake
