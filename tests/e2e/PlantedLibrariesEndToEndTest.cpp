// Libraries planted beside the program, with Wine told to prefer them (its per-program DllOverrides, which
// reach processes a test starts; WINEDLLOVERRIDES does not): the program takes none of them on any page,
// and works. version.dll is not planted: Wine's own user32 imports it, whatever the program does.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <iphlpapi.h>
#include <process.h>
#include <shlwapi.h>

#include "ProgramDriver.h"
#include "platform/win32/SystemLibrary.h"
#include "tests/windows/TestFiles.h"
#include "ui/Catalogue.h"

using namespace cc::test;

namespace {

const wchar_t* const kPlanted[] = {L"uxtheme.dll", L"iphlpapi.dll", L"dwmapi.dll", L"winmm.dll", L"propsys.dll", L"cryptbase.dll"};
constexpr const wchar_t *kProgram = L"ChengchuanCleaner.exe", *kControl = L"plant-control.exe";

// The positive control: this test program, copied beside the stand-ins as plant-control.exe, loads each by
// its bare name, as a program that imports it does.
const bool kIsControl = [] {
    wchar_t self[MAX_PATH];
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH) || lstrcmpiW(PathFindFileNameW(self), kControl)) return false;
    for (const wchar_t* library : kPlanted) LoadLibraryW(library);
    ExitProcess(0);
}();

std::wstring AppDefaults(const wchar_t* program) { return std::wstring(L"Software\\Wine\\AppDefaults\\") + program; }

int Adapters() {   // what the program's 网卡 page lists: every adapter but the loopback (not imported: planted)
    const auto list = cc::SystemFunction<decltype(GetAdaptersAddresses)>(L"iphlpapi.dll", "GetAdaptersAddresses");
    ULONG size = 1 << 16;
    std::vector<std::uint64_t> buffer(size / 8);
    int count = 0;
    auto* a = reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data());
    for (list(AF_UNSPEC, 0, nullptr, a, &size) ? a = nullptr : a; a; a = a->Next) count += a->IfType != IF_TYPE_SOFTWARE_LOOPBACK;
    return count;
}

}  // namespace

TEST(PlantedLibrariesEndToEnd, NoLibraryBesideTheProgramIsLoadedOnAnyPageAndTheProgramWorks) {
    TempFolder folder;
    const std::wstring at = folder.wide(), built = gProgram.substr(0, gProgram.find_last_of(L'\\') + 1);
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_TRUE(CopyFileW(gProgram.c_str(), (at + kProgram).c_str(), TRUE) && CopyFileW(self, (at + kControl).c_str(), TRUE));
    for (const wchar_t* program : {kProgram, kControl})
        for (const wchar_t* library : kPlanted) {
            ASSERT_TRUE(CopyFileW((built + L"cc_stand_in.dll").c_str(), (at + library).c_str(), FALSE));
            const std::wstring name(library, wcslen(library) - 4), native = L"native,builtin";
            ASSERT_TRUE(SetRegistryValue(HKEY_CURRENT_USER, (AppDefaults(program) + L"\\DllOverrides").c_str(), name.c_str(), REG_SZ,
                                         native.c_str(), DWORD(native.size() + 1) * 2));
        }
    auto marked = [&] { std::vector<bool> m; for (auto library : kPlanted) m.push_back(Exists(at + library + L".loaded")); return m; };
    {
        ProgramDriver program(at + kProgram);
        ASSERT_TRUE(program.start());
        for (const cc::TabSpec& strip : cc::TabControls()) {   // every page of every strip
            const int page = cc::Controls()[cc::FindControl(strip.control)].page;
            if (page >= 0) program.openPage("高级选择夹1", page);   // an inner strip's page of the outer one first
            for (int tab = 0; tab < static_cast<int>(strip.texts.size()); ++tab) program.clickTab(program.control(std::string(strip.control).c_str()), tab);
        }
        EXPECT_EQ(SendMessageW(program.control("列表框2"), LB_GETCOUNT, 0, 0), Adapters());   // IPHLPAPI's, from the system folder
        EXPECT_EQ(marked(), std::vector<bool>(std::size(kPlanted), false));
        EXPECT_EQ(program.closeAndWait(), 0);
    }
    EXPECT_EQ(_wspawnl(_P_WAIT, (at + kControl).c_str(), kControl, nullptr), 0);
    EXPECT_EQ(marked(), std::vector<bool>(std::size(kPlanted), true));
    for (const wchar_t* program : {kProgram, kControl}) SHDeleteKeyW(HKEY_CURRENT_USER, AppDefaults(program).c_str());
}
