// The one-click repairs: their steps in order, the outcome box, the link and
// the scan that follows.
#include <gtest/gtest.h>

#include <algorithm>

#include "RepairPageFixture.h"

using namespace cc;
using namespace cc::test;

namespace {

const std::string kLibrary = std::string(kSystemDirectory) + "dneapi.dll";
const std::string kMsconfig = std::string(kSystemDirectory) + "msconfig.exe";
const std::string kRunValues = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
const std::string kFirstScanStep = "read HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page";

std::vector<std::byte> StandIn(size_t size) {
    std::vector<std::byte> block(size);
    for (size_t i = 0; i < size; ++i) block[i] = static_cast<std::byte>(i * 7 + 3);
    return block;
}

// The planted-library repair: the shell ended first and started again last;
// the utility is written (beside the old file, then swapped in) only from a copy.
std::vector<std::string> LibrarySteps(bool withCopy) {
    std::vector<std::string> steps{"start ntsd -c q -pn explorer.exe", "wait 1000", "delete " + kRunValues + "msconfig",
                                   "delete " + kLibrary};
    if (withCopy) steps.push_back("write " + kMsconfig);
    steps.insert(steps.end(), {"start explorer.exe", "exists " + kLibrary});
    return steps;
}

struct Repairs : RepairPage {
    // What the repair did before the scan that follows it.
    std::vector<std::string> repairSteps;
    bool linkShownDuringBox = false;

    // Presses the row's link; records the steps up to the box, and checks that
    // the box comes before the link is hidden and before the scan.
    void press(HijackRow which) {
        fakes.journal.clear();
        const auto link = ControlsOf(which).link;
        ui.setBoxHook([&, link](const ControlModel::ShownBox&) {
            repairSteps = fakes.journal;
            linkShownDuringBox = ui.visible(link);
        });
        ui.pressLeftButton(link);
        ASSERT_GT(fakes.journal.size(), repairSteps.size()) << "no scan after the box";
        EXPECT_EQ(fakes.journal[repairSteps.size()], kFirstScanStep);
        EXPECT_TRUE(linkShownDuringBox);
    }
    void expectOneBox(const std::string& text) {
        ASSERT_EQ(ui.shownBoxes().size(), 1u);
        EXPECT_EQ(ui.shownBoxes()[0], (ControlModel::ShownBox{text, "澄川清理助手", MessageKind::Ok, false}));
    }
    bool journalHas(std::string_view line) const {
        return std::find(fakes.journal.begin(), fakes.journal.end(), line) != fakes.journal.end();
    }
};

TEST_F(Repairs, StartPageIsCreatedWhenMissingAndTheRowClears) {
    fakes.registry.deleteValue(kStartPage);
    scan();
    press(HijackRow::StartPage);
    EXPECT_EQ(repairSteps, (std::vector<std::string>{
                               "write HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page = about:blank",
                               kFirstScanStep,
                           }));
    expectOneBox("修复完毕.");
    EXPECT_EQ(state.RegistryText, "about:blank");
    EXPECT_EQ(row(HijackRow::StartPage), Clear());
}

TEST_F(Repairs, BothBrowserCommandsArePutBackInQuotes) {
    const std::string hijacked = "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" http://hijack.example/";
    fakes.registry.setText(kDesktopIconCommand, hijacked);
    fakes.registry.setText(kHttpCommand, hijacked);
    scan();
    press(HijackRow::DesktopIcon);
    EXPECT_EQ(repairSteps,
              (std::vector<std::string>{
                  "write HKCR\\CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell\\OpenHomePage\\Command\\@ = " +
                      std::string(kCleanBrowserCommand),
                  "read HKCR\\CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell\\OpenHomePage\\Command\\@",
              }));
    EXPECT_EQ(row(HijackRow::DesktopIcon), Clear());
    EXPECT_EQ(row(HijackRow::HttpCommand), Found("检测到非法劫持,当前IE首页为:http://hijack.example/"));

    press(HijackRow::HttpCommand);
    EXPECT_EQ(repairSteps, (std::vector<std::string>{
                               "write HKCR\\http\\shell\\open\\command\\@ = " + std::string(kCleanBrowserCommand),
                               "read HKCR\\http\\shell\\open\\command\\@",
                           }));
    EXPECT_EQ(fakes.registry.text(kHttpCommand), kCleanBrowserCommand);
    EXPECT_EQ(state.RegistryText, kCleanBrowserCommand);
    EXPECT_EQ(rows(), std::vector<RowView>(5, Clear()));
    EXPECT_EQ(ui.shownBoxes().size(), 2u);
}

TEST_F(Repairs, PlantedLibraryStepsRunInOrderAndTheUtilityIsSwappedIn) {
    fakes.files.addFile(kLibrary);
    fakes.files.addFile(kMsconfig, "damaged");
    fakes.registry.setText(kMsconfigStartup, "C:\\WINDOWS\\system32\\dneapi.exe");
    const auto copy = StandIn(kMsconfigBytes);
    fakes.resources.blocks[IDR_MSCONFIG] = copy;
    scan();
    press(HijackRow::PlantedLibrary);
    EXPECT_EQ(repairSteps, LibrarySteps(true));
    expectOneBox("修复完毕.");
    EXPECT_EQ(fakes.files.content(kMsconfig), std::string(reinterpret_cast<const char*>(copy.data()), copy.size()));
    EXPECT_FALSE(fakes.registry.has(kMsconfigStartup));
    EXPECT_EQ(row(HijackRow::PlantedLibrary), Clear());
}

TEST_F(Repairs, WithoutItsOwnCopyTheUtilityOnDiskIsNeverTouched) {
    fakes.files.addFile(kLibrary);
    fakes.files.addFile(kMsconfig, "the system's own");
    fakes.resources.blocks[IDR_MSCONFIG] = StandIn(kMsconfigBytes - 1);   // not a whole copy: none
    scan();
    press(HijackRow::PlantedLibrary);
    EXPECT_EQ(repairSteps, LibrarySteps(false));
    EXPECT_EQ(fakes.files.content(kMsconfig), "the system's own");
    expectOneBox("修复完毕.");
}

TEST_F(Repairs, ALibraryStillInUseFailsTheRepairAndTheLinkComesBack) {
    fakes.processes.missingPrograms = {"ntsd"};   // the shell keeps running and holds the file
    fakes.files.addFile(kLibrary);
    fakes.files.lockFile(kLibrary);
    fakes.files.addFile(kMsconfig, "old");
    fakes.files.failWrites(true);   // and the disk refuses the new copy
    fakes.resources.blocks[IDR_MSCONFIG] = StandIn(kMsconfigBytes);
    scan();
    press(HijackRow::PlantedLibrary);
    expectOneBox("修复失败请重试");
    EXPECT_TRUE(journalHas("start explorer.exe"));   // the shell is started again whatever happened
    EXPECT_EQ(fakes.files.content(kMsconfig), "old");
    EXPECT_EQ(row(HijackRow::PlantedLibrary), Found("检测到劫持！"));
}

TEST_F(Repairs, StartupEntryIsRemovedBeforeItsProcessAndFile) {
    fakes.registry.setText(kSoundManStartup, "C:\\WINDOWS\\system32\\SoundMan.exe");
    fakes.files.addFile(std::string(kSystemDirectory) + "SoundMan.exe");
    scan();
    press(HijackRow::StartupEntry);
    EXPECT_EQ(repairSteps, (std::vector<std::string>{
                               "delete " + kRunValues + "SoundMan",
                               "start ntsd -c q -pn SoundMan.exe",
                               "wait 1000",
                               "delete C:\\WINDOWS\\system32\\SoundMan.exe",
                               "exists " + kRunValues + "SoundMan",
                           }));
    expectOneBox("修复完毕.");
    EXPECT_FALSE(fakes.files.has(std::string(kSystemDirectory) + "SoundMan.exe"));
    EXPECT_EQ(row(HijackRow::StartupEntry), Clear());
}

TEST_F(Repairs, StartupEntryGoneIsSuccessEvenWithNoProcessAndNoFile) {
    fakes.registry.setText(kSoundManStartup, "");
    fakes.processes.missingPrograms = {"ntsd"};
    scan();
    press(HijackRow::StartupEntry);
    expectOneBox("修复完毕.");
    EXPECT_EQ(row(HijackRow::StartupEntry), Clear());
}

TEST_F(Repairs, RefusedChangesReportFailureAndTheScanShowsTheLinkAgain) {
    fakes.registry.setText(kStartPage, "http://start.example/");
    fakes.registry.denyChanges(RegistryRoot::CurrentUser, "Software\\Microsoft\\Internet Explorer");
    fakes.registry.setText(kSoundManStartup, "x");
    fakes.registry.denyChanges(RegistryRoot::LocalMachine, cc::kRunKey);
    scan();

    press(HijackRow::StartPage);
    expectOneBox("修复失败请重试");
    EXPECT_EQ(state.RegistryText, "http://start.example/");   // what was read back
    EXPECT_EQ(row(HijackRow::StartPage), Found("检测到您的IE首页为:http://start.example/"));

    press(HijackRow::StartupEntry);
    EXPECT_EQ(ui.shownBoxes().back().text, "修复失败请重试");
    EXPECT_EQ(row(HijackRow::StartupEntry), Found("检测到植入！"));
}

TEST_F(Repairs, TheScanAfterARepairRefreshesEveryRow) {
    fakes.registry.setText(kStartPage, "http://start.example/");
    fakes.registry.setText(kHttpCommand, "evil.exe");
    scan();
    // Meanwhile another program hijacks the desktop icon and mends the http command.
    fakes.registry.setText(kDesktopIconCommand, "\"evil.exe\" http://other.example/");
    fakes.registry.setText(kHttpCommand, std::string(kCleanBrowserCommand));
    fakes.system.systemDirectory = "D:\\WINDOWS\\system32\\";
    press(HijackRow::StartPage);
    EXPECT_EQ(state.SystemDirectory, "D:\\WINDOWS\\system32\\");
    EXPECT_EQ(rows(), (std::vector<RowView>{
                          Clear(),
                          Clear(),
                          Clear(),
                          Found("系统检测到您的IE被非法劫持,主页为:http://other.example/"),
                          Clear(true),   // its link stays until its own repair
                      }));
}

TEST_F(Repairs, AWindowClosedWhileTheBoxIsUpEndsTheRepairQuietly) {
    fakes.registry.setText(kStartPage, "x");
    scan();
    ui.setBoxHook([&](const ControlModel::ShownBox&) { ui.close(); });
    EXPECT_NO_THROW(ui.pressLeftButton("超级链接框1"));
    EXPECT_TRUE(ui.windowClosed());
    EXPECT_EQ(fakes.registry.text(kStartPage), "about:blank");
}

}  // namespace
