// Libraries planted beside the program, Wine told to prefer them (per program: WINEDLLOVERRIDES misses processes a test
// starts): it takes none on any page, and works. Not version.dll: Wine's own user32 imports it, whatever the program does.
#include <gtest/gtest.h>
#include <process.h>
#include <shlwapi.h>

#include "ProgramDriver.h"
#include "platform/win32/Win32SystemQueries.h"
#include "tests/windows/TestFiles.h"
#include "ui/Catalogue.h"

using namespace cc::test;

namespace {
const wchar_t* const kPlanted[] = {L"uxtheme.dll", L"iphlpapi.dll", L"dwmapi.dll", L"winmm.dll", L"propsys.dll", L"cryptbase.dll"};
constexpr const wchar_t *kProgram = L"ChengchuanCleaner.exe", *kControl = L"plant-control.exe";
// The positive control: this test program, copied beside the stand-ins, loads each by its bare name as a program that imports it does.
const bool kIsControl = [] {
    wchar_t self[MAX_PATH];
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH) || lstrcmpiW(PathFindFileNameW(self), kControl)) return false;
    for (const wchar_t* library : kPlanted) LoadLibraryW(library);
    ExitProcess(0);
}();
}  // namespace

TEST(PlantedLibrariesEndToEnd, NoLibraryBesideTheProgramIsLoadedOnAnyPageAndTheProgramWorks) {
    TempFolder folder;
    const std::wstring at = folder.wide(), standIn = gProgram.substr(0, gProgram.find_last_of(L'\\') + 1) + L"cc_stand_in.dll";
    wchar_t self[MAX_PATH];
    ASSERT_TRUE(GetModuleFileNameW(nullptr, self, MAX_PATH) && CopyFileW(gProgram.c_str(), (at + kProgram).c_str(), TRUE) &&
                CopyFileW(self, (at + kControl).c_str(), TRUE));
    for (const wchar_t* program : {kProgram, kControl})
        for (const std::wstring library : kPlanted) {
            const std::wstring overrides = L"Software\\Wine\\AppDefaults\\" + std::wstring(program) + L"\\DllOverrides", native = L"native,builtin";
            ASSERT_TRUE(CopyFileW(standIn.c_str(), (at + library).c_str(), FALSE) &&
                        SetRegistryValue(HKEY_CURRENT_USER, overrides.c_str(), library.substr(0, library.size() - 4).c_str(), REG_SZ, native.c_str(), 30));
        }
    auto marked = [&] { std::vector<bool> m; for (auto library : kPlanted) m.push_back(Exists(at + library + L".loaded")); return m; };
    {
        ProgramDriver program(at + kProgram);
        ASSERT_TRUE(program.start());
        for (const cc::TabSpec& strip : cc::TabControls()) {   // every page of every strip, an inner strip's outer page first
            if (const int page = cc::Controls()[cc::FindControl(strip.control)].page; page >= 0) program.openPage("高级选择夹1", page);
            for (int tab = 0; tab < static_cast<int>(strip.texts.size()); ++tab) program.clickTab(program.control(std::string(strip.control).c_str()), tab);
        }
        // The adapters IPHLPAPI tells of, as this test has them from the system folder (SystemQueriesTest: there are some).
        EXPECT_EQ(SendMessageW(program.control("列表框2"), LB_GETCOUNT, 0, 0), LRESULT(cc::Win32SystemQueries().QueryAdapters().size()));
        EXPECT_EQ(marked(), std::vector<bool>(std::size(kPlanted), false));
        EXPECT_EQ(program.closeAndWait(), 0);
    }
    EXPECT_EQ(_wspawnl(_P_WAIT, (at + kControl).c_str(), kControl, nullptr), 0);
    EXPECT_EQ(marked(), std::vector<bool>(std::size(kPlanted), true));
    for (const wchar_t* program : {kProgram, kControl}) SHDeleteKeyW(HKEY_CURRENT_USER, (L"Software\\Wine\\AppDefaults\\" + std::wstring(program)).c_str());
}
