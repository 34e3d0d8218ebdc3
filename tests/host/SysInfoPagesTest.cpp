// The information pages and gauges on the control model, over a fake machine.
#include <gtest/gtest.h>

#include "app/Program.h"
#include "fakes/FakePlatform.h"
#include "ui/ControlModel.h"

using namespace cc;

namespace {

constexpr const char* kTabs = "高级选择夹2";

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

struct SysInfoPagesTest : ::testing::Test {
    ControlModel ui;
    fake::FakePlatform fakes;
    Program program{ui, fakes.platform};
    ProgramState& state = program.state();
    fake::FakeSystemQueries& machine = fakes.system;

    static DiskInfo Disk(const char* model, int megabytes) {
        DiskInfo d;
        d.model = model;
        d.capacityMegabytes = megabytes;
        d.heads = 16;
        return d;
    }
};

}  // namespace

TEST_F(SysInfoPagesTest, TheBoardPageShowsTheQueriedRecord) {
    machine.board = {"P5Q", "ASUS", "AMI", "2009", "SN1", "OEM"};
    EXPECT_EQ(ui.caption("主版信息标签"), "");
    ui.selectTab(kTabs, 2);
    EXPECT_EQ(ui.caption("主版信息标签"),
              "\r\n 名称 :P5Q\r\n 制造商 :ASUS\r\n 版权信息 :AMI\r\n 日期 :2009\r\n 序列号:SN1\r\n OEM信息 :OEM");
    EXPECT_EQ(state.BoardInfo.name, "P5Q");
    // Every selection asks again.
    machine.board.name = "P5Q Pro";
    ui.selectTab(kTabs, 0);
    ui.selectTab(kTabs, 2);
    EXPECT_EQ(state.BoardInfo.name, "P5Q Pro");
}

TEST_F(SysInfoPagesTest, DisksZeroAndTwoListTwoItemsAndTheSecondIsDiskTwo) {
    machine.disks[0] = Disk("Disk Zero", 1024);
    machine.disks[2] = Disk("Disk Two", 1536);
    EXPECT_EQ(ui.caption("分组框2"), "硬盘");
    ui.selectTab(kTabs, 3);
    ASSERT_EQ(ui.itemCount("列表框1"), 2);
    EXPECT_EQ(ui.itemText("列表框1", 0), "Disk Zero");
    EXPECT_EQ(ui.itemText("列表框1", 1), "Disk Two");
    EXPECT_EQ(ui.caption("分组框2"), "物理硬盘(2)个");
    EXPECT_EQ(machine.diskQueries, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    machine.diskQueries.clear();
    ui.selectItem("列表框1", 1);
    EXPECT_EQ(machine.diskQueries, std::vector<int>{2});   // re-read, not cached
    EXPECT_TRUE(StartsWith(ui.caption("标签3"), "\r\n 容量:1.5 GB")) << ui.caption("标签3");
    EXPECT_NE(ui.caption("标签3").find("\r\n 磁头数:16\r\n"), std::string::npos);
}

TEST_F(SysInfoPagesTest, OnlyDisksZeroToTenAreListed) {
    for (int n = 0; n < 14; ++n) machine.disks[n] = Disk(("D" + std::to_string(n)).c_str(), 1000);
    ui.selectTab(kTabs, 3);
    EXPECT_EQ(ui.itemCount("列表框1"), 11);
    EXPECT_EQ(ui.itemText("列表框1", 10), "D10");
    EXPECT_EQ(ui.caption("分组框2"), "物理硬盘(11)个");
}

TEST_F(SysInfoPagesTest, NoDiskGivesAnEmptyListAndCountZero) {
    ui.selectTab(kTabs, 3);
    EXPECT_EQ(ui.itemCount("列表框1"), 0);
    EXPECT_EQ(ui.caption("分组框2"), "物理硬盘(0)个");
}

TEST_F(SysInfoPagesTest, RefillingKeepsTheDetailsAndAVanishedDiskShowsNothingNew) {
    machine.disks[0] = Disk("A", 0);
    machine.disks[1] = Disk("B", 2048);
    ui.selectTab(kTabs, 3);
    ui.selectItem("列表框1", 0);
    const std::string shown = ui.caption("标签3");
    EXPECT_TRUE(StartsWith(shown, "\r\n 容量:0 GB\r\n")) << shown;
    ui.selectTab(kTabs, 0);
    ui.selectTab(kTabs, 3);
    EXPECT_EQ(ui.caption("标签3"), shown);
    // Disk 1 goes away after the list was filled.
    machine.disks.erase(1);
    ui.selectItem("列表框1", 1);
    EXPECT_EQ(ui.caption("标签3"), shown);
}

TEST_F(SysInfoPagesTest, TheAdapterListIsReplacedOnEveryFill) {
    AdapterInfo first{"Realtek PCIe", 3, "00-11-22-33-44-55", "10.0.0.2", "255.0.0.0", "10.0.0.1", "", "10.0.0.1"};
    AdapterInfo second{"Intel Wireless", 9, "66-77-88-99-AA-BB", "192.168.0.9", "255.255.255.0", "", "", ""};
    machine.adapters = {first, second};
    ui.selectTab(kTabs, 4);
    ASSERT_EQ(ui.itemCount("列表框2"), 2);
    EXPECT_EQ(ui.itemText("列表框2", 1), "Intel Wireless");
    EXPECT_EQ(ui.caption("分组框3"), "物理网卡(2)个");
    ui.selectItem("列表框2", 1);
    EXPECT_TRUE(StartsWith(ui.caption("标签4"), "\r\n 网卡名称:Intel Wireless\r\n\r\n IP地址:192.168.0.9")) << ui.caption("标签4");

    // The details come from the list kept at the last fill, not a new query.
    machine.adapters = {};
    ui.selectItem("列表框2", 0);
    EXPECT_EQ(machine.adapterQueries, 1);
    EXPECT_NE(ui.caption("标签4").find("\r\n 序号:3\r\n"), std::string::npos);

    ui.selectTab(kTabs, 0);
    ui.selectTab(kTabs, 4);
    EXPECT_EQ(ui.itemCount("列表框2"), 0);
    EXPECT_EQ(ui.caption("分组框3"), "物理网卡(0)个");
    EXPECT_TRUE(state.adapters.empty());
    EXPECT_NE(ui.caption("标签4").find("Realtek PCIe"), std::string::npos);   // the last details stay
}

TEST_F(SysInfoPagesTest, TheSystemPageShowsTheOsRecord) {
    machine.os.name = "Windows 7";
    machine.os.version = "6.1";
    machine.os.languageCode = 2052;
    ui.selectTab(kTabs, 6);
    EXPECT_TRUE(StartsWith(ui.caption("标签5"), "\r\n 操作系统:Windows 7\r\n 版本:6.1 代码:2052")) << ui.caption("标签5");
    EXPECT_EQ(state.OsInfo.name, "Windows 7");
}

TEST_F(SysInfoPagesTest, TheHomePageChangesNothing) {
    machine.board.name = "X";
    ui.selectTab(kTabs, 2);
    ui.selectTab(kTabs, 0);
    EXPECT_EQ(ui.interval("CPU时钟"), 0);
    EXPECT_EQ(ui.interval("内存时钟"), 0);
    EXPECT_EQ(ui.caption("标签5"), "");
    EXPECT_EQ(ui.caption("CPU信息标签"), "系统扫描中...");
}

TEST_F(SysInfoPagesTest, TimersStartOnTheirPagesAndKeepRunningWhenLeft) {
    EXPECT_EQ(ui.interval("CPU时钟"), 0);
    ui.selectTab(kTabs, 1);
    EXPECT_EQ(ui.interval("CPU时钟"), 1000);
    EXPECT_EQ(ui.interval("内存时钟"), 0);
    ui.selectTab(kTabs, 5);
    ui.selectTab(kTabs, 1);
    ui.selectTab(kTabs, 3);
    EXPECT_EQ(ui.interval("CPU时钟"), 1000);
    EXPECT_EQ(ui.interval("内存时钟"), 1000);
}

TEST_F(SysInfoPagesTest, TheCpuTickRewritesItsLabelsWhileHidden) {
    machine.cpu = {"AuthenticAMD", "AMD EPYC", 2445, "AMD64 Family 23 Model 49 Stepping 0", 64, 512, "", 64};
    machine.cpuLoad = 37;
    ui.selectTab(kTabs, 1);
    ui.selectTab(kTabs, 6);
    ui.tick("CPU时钟");
    EXPECT_TRUE(StartsWith(ui.caption("CPU信息标签"), "\r\n 制造商 …………AuthenticAMD")) << ui.caption("CPU信息标签");
    EXPECT_EQ(ui.position("CPU进度"), 37);
    EXPECT_EQ(ui.caption("CPU使用"), " 占用… 37 %");
    EXPECT_EQ(state.CpuInfo.clockMhz, 2445);

    machine.cpuLoad = 100;
    machine.cpu.vendor = "";
    ui.tick("CPU时钟");
    EXPECT_EQ(ui.position("CPU进度"), 100);
    EXPECT_EQ(ui.caption("CPU使用"), " 占用… 100 %");
    EXPECT_TRUE(StartsWith(ui.caption("CPU信息标签"), "\r\n 制造商 …………\r\n")) << ui.caption("CPU信息标签");
    EXPECT_EQ(machine.cpuInfoQueries, 2);   // asked afresh on every tick
    machine.cpuLoad = 0;
    ui.tick("CPU时钟");
    EXPECT_EQ(ui.position("CPU进度"), 0);
    EXPECT_EQ(ui.caption("CPU使用"), " 占用… 0 %");
}

TEST_F(SysInfoPagesTest, TheMemoryTickFollowsTheTotalAndTheUsedAmount) {
    EXPECT_EQ(ui.caption("内存标签"), "扫描中...");
    machine.totalMegabytes = 4096;
    machine.availableMegabytes = 1024;
    ui.selectTab(kTabs, 5);
    ui.tick("内存时钟");
    EXPECT_EQ(ui.maximum("内存进度"), 4096);
    EXPECT_EQ(ui.position("内存进度"), 3072);
    EXPECT_EQ(ui.caption("内存标签"), "\r\n内存总量：4096 MB\r\n可用内存：1024 MB\r\n已使用内存：3072 MB");

    machine.totalMegabytes = 2048;
    machine.availableMegabytes = 2048;
    ui.tick("内存时钟");
    EXPECT_EQ(ui.maximum("内存进度"), 2048);
    EXPECT_EQ(ui.position("内存进度"), 0);
    EXPECT_EQ(ui.caption("标签_百分比"), "");
}
