// The information pages and gauges on the control model, over a fake system.
#include "fakes/FakePlatform.h"
#include "sysinfo/InfoTexts.h"
using namespace cc;

struct SysInfoPagesTest : ::testing::Test, fake::FakeProgram {
    void select(std::initializer_list<int> tabs) { for (int tab : tabs) ui.selectTab("高级选择夹2", tab); }
};

TEST_F(SysInfoPagesTest, BoardAndSystemPagesShowTheRecordAskedAtEverySelection) {
    system.board = {"P5Q", "ASUS", "AMI", "2009", "SN1", "OEM"};
    auto pages = [&] { return std::pair(ui.caption("主版信息标签"), ui.caption("标签5")); };
    for (const char* name : {"P5Q", "P5Q Pro"}) {
        system.board.name = system.os.name = name;
        select({2, 6});
        EXPECT_EQ(pages(), std::pair(BoardText(system.board), OsText(system.os)));
        EXPECT_TRUE(system.diskQueries.empty());   // each page asks only for its own
    }
}

TEST_F(SysInfoPagesTest, DisksZeroToTenThatAnswerAreListedAndReadAgainWhenSelected) {
    select({3});
    EXPECT_TRUE(ui.itemCount("列表框1") == 0 && ui.caption("分组框2") == DiskGroupCaption(0));
    for (int n : {0, 2, 10, 11}) system.disks[n] = {"Disk " + std::to_string(n), "", "", 1024 * n, 0, 0, 16, 0};
    system.disks[10].model.clear();   // a disk that reports no model is named by its number
    system.diskQueries.clear();
    select({0, 3});
    EXPECT_EQ(ui.itemCount("列表框2"), 0);   // the adapters' page is not filled with the disks'
    EXPECT_EQ(system.diskQueries, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(fake::Items(ui, "列表框1"), (fake::Strings{"Disk 0", "Disk 2", "硬盘 10"}));
    EXPECT_EQ(ui.caption("分组框2"), DiskGroupCaption(3));
    system.diskQueries.clear(), system.disks[2].heads = 255;
    ui.selectItem("列表框1", 1);
    EXPECT_EQ(system.diskQueries, std::vector<int>{2});   // re-read, not cached
    EXPECT_EQ(ui.caption("标签3"), DiskText(system.disks[2]));
}

TEST_F(SysInfoPagesTest, GaugeTimersStartOnTheirPagesAndTicksRefreshTheGauges) {
    auto intervals = [&] { return std::pair(ui.interval("CPU时钟"), ui.interval("内存时钟")); };
    select({0, 2, 3, 4, 6});
    EXPECT_EQ(intervals(), std::pair(0, 0));
    select({1});
    EXPECT_EQ(intervals(), std::pair(1000, 0));
    select({5, 0});   // and they keep running when their page is left
    EXPECT_EQ(intervals(), std::pair(1000, 1000));
    for (auto [load, total, available] : {std::tuple{37, 4096, 1024}, {100, 2048, 2048}, {0, 100, 100}}) {
        system.cpu = {"AuthenticAMD", "AMD EPYC " + std::to_string(load), 2445, "AMD64", 64, 512, "", 64};
        system.cpuLoad = load, system.totalMegabytes = total, system.availableMegabytes = available;
        ui.tick("CPU时钟"), ui.tick("内存时钟");
        EXPECT_EQ(ui.caption("CPU信息标签") + ui.caption("CPU使用") + ui.caption("内存标签"),
                  CpuText(system.cpu) + CpuUsageText(load) + MemoryText(total, available, total - available));
        EXPECT_EQ(std::tuple(ui.position("CPU进度"), ui.maximum("内存进度"), ui.position("内存进度")),
                  std::tuple(load, total, total - available));
    }
}
