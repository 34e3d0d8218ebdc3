// The real registry under Wine, in keys of the test's own that it removes.
#include <gtest/gtest.h>
#include <shlwapi.h>
#include <winternl.h>

#include <cstring>

#include "TestFiles.h"
#include "formats/RegistryText.h"
#include "platform/win32/Win32Registry.h"

using namespace cc;

namespace {
constexpr const wchar_t* kTestKey = L"Software\\ChengchuanCleanerTests";
constexpr std::string_view kKey = "Software\\ChengchuanCleanerTests";
struct TestKey {
    HKEY root;
    explicit TestKey(HKEY r) : root(r) { SHDeleteKeyW(root, kTestKey); }   // RegDeleteTreeW is Vista and later
    ~TestKey() { SHDeleteKeyW(root, kTestKey); }
    // Exactly these bytes, as another program might store them: through the native call, since
    // Wine's RegSetValueExW adds a NUL that a string lacks.
    void setRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        static const auto set = SystemFunction<LONG NTAPI(HANDLE, UNICODE_STRING*, ULONG, ULONG, const void*, ULONG)>(L"ntdll.dll", "NtSetValueKey");
        UniqueKey key;
        ASSERT_EQ(RegCreateKeyExW(root, kTestKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, key.put(), nullptr), 0);
        UNICODE_STRING counted{USHORT(wcslen(name) * 2), USHORT(wcslen(name) * 2), const_cast<wchar_t*>(name)};
        EXPECT_EQ(set(key.get(), &counted, 0, type, data, bytes), 0) << Narrow(name);
    }
};
TEST(Win32Registry, ReadsTextsAsStoredAndOtherTypesAsEmpty) {
    TestKey hkcu(HKEY_CURRENT_USER);
    Win32Registry registry;
    const std::tuple<const wchar_t*, DWORD, std::wstring, DWORD, std::string> cases[] = {   // stored as, read as
        {L"Start Page", REG_SZ, L"about:blank", 24, "about:blank"},
        {L"", REG_SZ, L"\"C:\\x.exe\" -nohome", 38, "\"C:\\x.exe\" -nohome"},   // the default value
        {L"Expand", REG_EXPAND_SZ, L"%SystemRoot%\\x.exe", 38, "%SystemRoot%\\x.exe"},   // not expanded
        {L"Unterminated", REG_SZ, L"about:blank", 22, "about:blank"},
        {L"Largest", REG_SZ, std::wstring(kLargestRegistryText / 2, L'l'), DWORD(kLargestRegistryText), std::string(kLargestRegistryText / 2, 'l')},
        {L"Oversized", REG_SZ, std::wstring(kLargestRegistryText / 2 + 1, L'o'), DWORD(kLargestRegistryText + 2), ""},
        {L"Empty", REG_SZ, L"", 0, ""},
        {L"Binary", REG_BINARY, L"about:blank", 11, ""}};   // text bytes under another type; an odd size read whole
    for (const auto& [name, type, data, bytes, read] : cases) {
        hkcu.setRaw(name, type, data.c_str(), bytes);
        const std::string text = Narrow(name);
        const RegistryValue value{RegistryRoot::CurrentUser, kKey, text};
        EXPECT_EQ(registry.readText(value), read) << text;
        EXPECT_EQ(registry.findValue(value), Lookup::Found) << text;
        RegistryData stored;   // and the value as it is, for a backup: type and bytes
        ASSERT_EQ(registry.readData(value, stored), Lookup::Found) << text;
        EXPECT_TRUE(stored.type == type && stored.bytes.size() == bytes && !std::memcmp(stored.bytes.data(), data.data(), bytes)) << text;
    }
    std::string text = "x";   // larger than any text is believed to be: not read at all
    EXPECT_TRUE(registry.readText({RegistryRoot::CurrentUser, kKey, "Oversized"}, text) == Lookup::Failed && text.empty());
    EXPECT_TRUE(registry.keyExists(RegistryRoot::CurrentUser, kKey));
    EXPECT_FALSE(registry.keyExists(RegistryRoot::CurrentUser, "Software\\ChengchuanCleanerTests\\None"));
    RegistryData none;
    for (const RegistryValue& missing : {RegistryValue{RegistryRoot::CurrentUser, kKey, "Missing"},
                                         RegistryValue{RegistryRoot::CurrentUser, "Software\\ChengchuanCleanerTests\\None", ""}})
        EXPECT_TRUE(registry.readText(missing, text) == Lookup::Missing && text.empty() && registry.findValue(missing) == Lookup::Missing && registry.readData(missing, none) == Lookup::Missing);
}
TEST(Win32Registry, WritesCreateMissingKeysAndStoreTerminatedStringsInThe64BitView) {
    TestKey hklm(HKEY_LOCAL_MACHINE);
    Win32Registry registry;
    const std::string text = "\xE4\xB8\xBB\xE9\xA1\xB5 http://\xED\x95\x9C.example/";   // 主页, Hangul
    const RegistryValue value{RegistryRoot::LocalMachine, "Software\\ChengchuanCleanerTests\\A\\B", "Page"};
    ASSERT_TRUE(registry.writeText(value, text));
    wchar_t raw[64]{};
    DWORD type = 0, bytes = sizeof raw;
    constexpr const wchar_t* kWritten = L"Software\\ChengchuanCleanerTests\\A\\B";
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kWritten, L"Page", RRF_RT_ANY | RRF_NOEXPAND, &type, raw, &bytes), ERROR_SUCCESS);
    EXPECT_EQ(std::tuple(Narrow(raw), type, bytes), std::tuple(text, DWORD(REG_SZ), DWORD((Widen(text).size() + 1) * sizeof(wchar_t))));
    EXPECT_TRUE(registry.deleteValue(value));
    EXPECT_EQ(registry.findValue(value), Lookup::Missing);
    EXPECT_FALSE(registry.deleteValue(value));
    EXPECT_FALSE(registry.deleteValue({RegistryRoot::LocalMachine, "Software\\ChengchuanCleanerTests\\Z", "Page"}));
}
}  // namespace
