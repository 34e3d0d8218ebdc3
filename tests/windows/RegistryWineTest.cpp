// The real registry under Wine, in keys of the test's own that it removes.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include <string>

#include "platform/win32/Utf.h"
#include "platform/win32/Win32Registry.h"

using namespace cc;

namespace {

constexpr const wchar_t* kTestKey = L"Software\\ChengchuanCleanerTests";

// The test's key under a root, removed with everything in it before and after.
struct TestKey {
    HKEY root;
    explicit TestKey(HKEY r) : root(r) { clear(); }
    ~TestKey() { clear(); }
    void clear() { SHDeleteKeyW(root, kTestKey); }   // RegDeleteTreeW is Vista and later

    // Stores raw bytes of any type, as another program might.
    void setRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(root, kTestKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), bytes), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void setRawText(const wchar_t* name, const std::wstring& text, DWORD bytes, DWORD type = REG_SZ) {
        setRaw(name, type, text.data(), bytes);
    }
};

RegistryValue At(RegistryRoot root, std::string_view name, std::string_view subkey = "Software\\ChengchuanCleanerTests") {
    return {root, subkey, name};
}

TEST(Win32Registry, ReadsTextValuesAsStoredAndTheDefaultValue) {
    TestKey hkcu(HKEY_CURRENT_USER);
    Win32Registry registry;
    const std::wstring page = L"about:blank";
    hkcu.setRawText(L"Start Page", page, (page.size() + 1) * 2);
    hkcu.setRawText(L"", L"\"C:\\x.exe\" -nohome", 38);
    const std::wstring expand = L"%SystemRoot%\\x.exe";
    hkcu.setRawText(L"Expand", expand, (expand.size() + 1) * 2, REG_EXPAND_SZ);
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "Start Page")), "about:blank");
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "start page")), "about:blank");   // names ignore case
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "")), "\"C:\\x.exe\" -nohome");
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "Expand")), "%SystemRoot%\\x.exe");   // not expanded
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "Missing")), "");
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "", "Software\\ChengchuanCleanerTests\\None")), "");
    EXPECT_FALSE(registry.valueExists(At(RegistryRoot::CurrentUser, "Missing")));
    EXPECT_FALSE(registry.valueExists(At(RegistryRoot::CurrentUser, "", "Software\\ChengchuanCleanerTests\\None")));
}

TEST(Win32Registry, OddlyStoredTextsReadSafely) {
    TestKey hkcu(HKEY_CURRENT_USER);
    Win32Registry registry;
    // No terminating NUL, and an odd byte count.
    hkcu.setRawText(L"Unterminated", L"about:blank", 11 * 2);
    hkcu.setRawText(L"Odd", L"abc", 5);
    // A NUL inside: programs reading the value see the text before it.
    hkcu.setRawText(L"Inner", std::wstring(L"about:blank\0http://x/", 21), 21 * 2);
    // Over a megabyte, far past any fixed buffer.
    std::wstring huge(600000, L'w');
    huge[599999] = L'!';
    hkcu.setRawText(L"Huge", huge, (huge.size() + 1) * 2);
    hkcu.setRaw(L"Empty", REG_SZ, nullptr, 0);
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "Unterminated")), "about:blank");
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "Odd")), "ab");
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "Inner")), "about:blank");
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "Huge")), Narrow(huge));
    EXPECT_EQ(registry.readText(At(RegistryRoot::CurrentUser, "Empty")), "");
    EXPECT_TRUE(registry.valueExists(At(RegistryRoot::CurrentUser, "Empty")));
}

TEST(Win32Registry, ValuesOfOtherTypesExistButReadEmpty) {
    TestKey hklm(HKEY_LOCAL_MACHINE);
    Win32Registry registry;
    const DWORD number = 1;
    hklm.setRaw(L"SoundMan", REG_DWORD, &number, sizeof number);
    hklm.setRaw(L"Binary", REG_BINARY, "about:blank", 11);
    hklm.setRaw(L"Multi", REG_MULTI_SZ, L"a\0b\0", 10);
    for (const char* name : {"SoundMan", "Binary", "Multi"}) {
        EXPECT_EQ(registry.readText(At(RegistryRoot::LocalMachine, name)), "") << name;
        EXPECT_TRUE(registry.valueExists(At(RegistryRoot::LocalMachine, name))) << name;
    }
}

TEST(Win32Registry, WritesCreateMissingKeysAndStoreTerminatedStrings) {
    TestKey hkcu(HKEY_CURRENT_USER);
    Win32Registry registry;
    const std::string text = "\xE4\xB8\xBB\xE9\xA1\xB5 http://\xED\x95\x9C.example/";   // 主页, Hangul
    const RegistryValue value = At(RegistryRoot::CurrentUser, "Page", "Software\\ChengchuanCleanerTests\\A\\B");
    ASSERT_TRUE(registry.writeText(value, text));
    EXPECT_EQ(registry.readText(value), text);

    wchar_t raw[64]{};
    DWORD type = 0, bytes = sizeof raw;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\ChengchuanCleanerTests\\A\\B", L"Page", RRF_RT_ANY, &type,
                           raw, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(bytes, (Widen(text).size() + 1) * sizeof(wchar_t));
    EXPECT_EQ(Narrow(raw), text);

    EXPECT_TRUE(registry.deleteValue(value));
    EXPECT_FALSE(registry.valueExists(value));
    EXPECT_FALSE(registry.deleteValue(value));
    EXPECT_FALSE(registry.deleteValue(At(RegistryRoot::CurrentUser, "Page", "Software\\ChengchuanCleanerTests\\Z")));
}

TEST(Win32Registry, UsesThe64BitView) {
    TestKey hklm(HKEY_LOCAL_MACHINE);
    Win32Registry registry;
    ASSERT_TRUE(registry.writeText(At(RegistryRoot::LocalMachine, "View"), "64"));
    auto visibleIn = [](REGSAM view) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTestKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return false;
        const bool found = RegQueryValueExW(key, L"View", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(key);
        return found;
    };
    EXPECT_TRUE(visibleIn(KEY_WOW64_64KEY));
    EXPECT_FALSE(visibleIn(KEY_WOW64_32KEY));   // the 32-bit programs' Wow6432Node
}

}  // namespace
