// The five checks of the browser-repair page.
#include <gtest/gtest.h>

#include "RepairPageFixture.h"

using namespace cc;
using namespace cc::test;

namespace {

const std::string kBrowserPath = "C:\\Program Files\\Internet Explorer\\iexplore.exe";

TEST(LastQuotedPiece, TakesWhatFollowsTheLastQuoteTrimmedOfSpaces) {
    EXPECT_EQ(LastQuotedPiece("\"" + kBrowserPath + "\" http://start.example/"), "http://start.example/");
    EXPECT_EQ(LastQuotedPiece("\"" + kBrowserPath + "\"   -nohome  "), "-nohome");
    EXPECT_EQ(LastQuotedPiece("  rundll32.exe evil.dll,Run  "), "rundll32.exe evil.dll,Run");   // no quote
    EXPECT_EQ(LastQuotedPiece("\"a\" \"b c\""), "");   // ends with a quote: an empty piece
    EXPECT_EQ(LastQuotedPiece(""), "");
    EXPECT_EQ(LastQuotedPiece("   "), "");
    EXPECT_EQ(LastQuotedPiece("x\"\tpage "), "\tpage");   // only spaces are trimmed
}

TEST_F(RepairPage, BeforeTheFirstScanTheRowsAreBlankAndALaterScanOfACleanMachineIsAllClear) {
    for (const RowView& r : rows()) EXPECT_EQ(r, (RowView{"", 0, false}));
    scan();
    EXPECT_EQ(rows(), std::vector<RowView>(5, Clear()));
    EXPECT_EQ(state.SystemDirectory, kSystemDirectory);
    EXPECT_TRUE(ui.shownBoxes().empty());
}

TEST_F(RepairPage, EachHijackIsFoundInItsOwnRowWithItsOwnText) {
    fakes.registry.setText(kStartPage, "http://start.example/");
    fakes.registry.setText(kDesktopIconCommand, "\"" + kBrowserPath + "\" http://hijack.example/ ");
    fakes.registry.setText(kHttpCommand, "\"" + kBrowserPath + "\" -nohome");
    fakes.registry.setText(kSoundManStartup, "");   // empty data is still an entry
    fakes.files.addFile(std::string(kSystemDirectory) + "DNEAPI.DLL");
    scan();
    EXPECT_EQ(rows(), (std::vector<RowView>{
                          Found("检测到您的IE首页为:http://start.example/"),
                          Found("检测到劫持！"),
                          Found("检测到植入！"),
                          Found("系统检测到您的IE被非法劫持,主页为:http://hijack.example/"),
                          Found("检测到非法劫持,当前IE首页为:-nohome"),
                      }));
    EXPECT_TRUE(ui.shownBoxes().empty());
}

TEST_F(RepairPage, TextsCompareByteForByte) {
    fakes.registry.setText(kStartPage, "About:blank");
    fakes.registry.setText(kDesktopIconCommand, "\"c:\\program files\\internet explorer\\iexplore.exe\"");
    fakes.registry.setText(kHttpCommand, std::string(kCleanBrowserCommand) + " ");
    scan();
    EXPECT_EQ(row(HijackRow::StartPage), Found("检测到您的IE首页为:About:blank"));
    EXPECT_EQ(row(HijackRow::DesktopIcon), Found("系统检测到您的IE被非法劫持,主页为:"));
    EXPECT_EQ(row(HijackRow::HttpCommand), Found("检测到非法劫持,当前IE首页为:"));

    fakes.registry.setText(kHttpCommand, kBrowserPath);   // unquoted: the whole value is the piece
    scan();
    EXPECT_EQ(row(HijackRow::HttpCommand), Found("检测到非法劫持,当前IE首页为:" + kBrowserPath));
}

TEST_F(RepairPage, MissingAndNonTextValuesReadAsEmptyAndAreFindings) {
    fakes.registry.deleteValue(kStartPage);
    fakes.registry.deleteValue(kHttpCommand);
    fakes.registry.setNonText(kDesktopIconCommand);
    fakes.registry.setNonText(kSoundManStartup);   // a number value still exists
    scan();
    EXPECT_EQ(rows(), (std::vector<RowView>{
                          Found("检测到您的IE首页为:"),
                          Clear(),
                          Found("检测到植入！"),
                          Found("系统检测到您的IE被非法劫持,主页为:"),
                          Found("检测到非法劫持,当前IE首页为:"),
                      }));
}

TEST_F(RepairPage, OnlyTheSystemFoldersLibraryCounts) {
    fakes.files.addFile("C:\\WINDOWS\\dneapi.dll");
    fakes.files.addFile("C:\\WINDOWS\\system32\\drivers\\dneapi.dll");
    fakes.files.addFile("dneapi.dll");
    scan();
    EXPECT_EQ(row(HijackRow::PlantedLibrary), Clear());

    // The folder is asked again at every scan.
    fakes.system.systemDirectory = "D:\\WIN\\SYSTEM32\\";
    fakes.files.addFile("D:\\WIN\\SYSTEM32\\dneapi.dll");
    scan();
    EXPECT_EQ(state.SystemDirectory, "D:\\WIN\\SYSTEM32\\");
    EXPECT_EQ(row(HijackRow::PlantedLibrary), Found("检测到劫持！"));

    // Unknown system folder: nothing is looked up relative to the current folder.
    fakes.system.systemDirectory = "";
    fakes.journal.clear();
    scan();
    EXPECT_EQ(row(HijackRow::PlantedLibrary), Clear(true));
    for (const auto& line : fakes.journal) EXPECT_EQ(line.find("dneapi"), std::string::npos) << line;
}

TEST_F(RepairPage, RepeatedScansGiveIdenticalRowsAndNeverHideALink) {
    fakes.registry.setText(kStartPage, "http://start.example/");
    fakes.registry.setText(kSoundManStartup, "C:\\WINDOWS\\system32\\SoundMan.exe");
    scan();
    const auto first = rows();
    scan();
    EXPECT_EQ(rows(), first);

    // Cleaned behind the program's back: the verdicts clear, the links stay.
    fakes.registry.setText(kStartPage, "about:blank");
    fakes.registry.deleteValue(kSoundManStartup);
    scan();
    EXPECT_EQ(row(HijackRow::StartPage), Clear(true));
    EXPECT_EQ(row(HijackRow::StartupEntry), Clear(true));
    EXPECT_EQ(row(HijackRow::HttpCommand), Clear(false));
}

TEST_F(RepairPage, TheChecksReadInTheirOwnOrderAndChangeNothing) {
    scan();
    EXPECT_EQ(fakes.journal, (std::vector<std::string>{
                                 "read HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page",
                                 "read HKCR\\CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell\\OpenHomePage\\Command\\@",
                                 "read HKCR\\http\\shell\\open\\command\\@",
                                 "exists HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\SoundMan",
                                 "exists C:\\WINDOWS\\system32\\dneapi.dll",
                             }));
}

}  // namespace
