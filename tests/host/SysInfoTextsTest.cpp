// The texts of the information pages and gauges, to the character.
#include <gtest/gtest.h>

#include "sysinfo/InfoTexts.h"

using namespace cc;

TEST(SysInfoTexts, CapacityIsRoundedToThreePlacesWithoutTrailingZeros) {
    EXPECT_EQ(CapacityText(1000), "0.977");
    EXPECT_EQ(CapacityText(1536), "1.5");
    EXPECT_EQ(CapacityText(1024), "1");
    EXPECT_EQ(CapacityText(0), "0");
    EXPECT_EQ(CapacityText(1), "0.001");        // 0.000977 rounds up
    EXPECT_EQ(CapacityText(953869), "931.513");  // a "1 TB" disk
    EXPECT_EQ(CapacityText(1126), "1.1");        // 1.0996 rounds to 1.100
    EXPECT_EQ(CapacityText(-1536), "-1.5");
    EXPECT_EQ(CapacityText(0x7FFFFFFF), "2097151.999");
}

TEST(SysInfoTexts, BoardTextPairsEachLabelWithItsField) {
    BoardInfo b{"P8H61", "ASUSTeK", "AMI 0801", "03/02/2011", "MT123", "OEM x"};
    EXPECT_EQ(BoardText(b), "\r\n 名称 :P8H61\r\n 制造商 :ASUSTeK\r\n 版权信息 :AMI 0801\r\n 日期 :03/02/2011"
                            "\r\n 序列号:MT123\r\n OEM信息 :OEM x");
    EXPECT_EQ(BoardText({}), "\r\n 名称 :\r\n 制造商 :\r\n 版权信息 :\r\n 日期 :\r\n 序列号:\r\n OEM信息 :");
}

TEST(SysInfoTexts, DiskTextShowsCapacityInGigabytesAndTheBareCacheNumber) {
    DiskInfo d{"ST500", "CC45", "9VM1", 1536, 16384, 63, 255, 60801};
    EXPECT_EQ(DiskText(d), "\r\n 容量:1.5 GB\r\n 版本号:CC45\r\n 序列号:9VM1\r\n 磁头数:255\r\n 柱面数:60801"
                           "\r\n 缓存大小:16384\r\n 每磁道扇区数:63");
    EXPECT_EQ(DiskText({}), "\r\n 容量:0 GB\r\n 版本号:\r\n 序列号:\r\n 磁头数:0\r\n 柱面数:0\r\n 缓存大小:0"
                            "\r\n 每磁道扇区数:0");
}

TEST(SysInfoTexts, GroupCaptionsCountTheItems) {
    EXPECT_EQ(DiskGroupCaption(2), "物理硬盘(2)个");
    EXPECT_EQ(DiskGroupCaption(0), "物理硬盘(0)个");
    EXPECT_EQ(AdapterGroupCaption(11), "物理网卡(11)个");
}

TEST(SysInfoTexts, AdapterTextPutsTheAddressRightAfterTheName) {
    AdapterInfo a{"Realtek", 7, "00-1A-2B-3C-4D-5E", "192.168.1.5", "255.255.255.0", "192.168.1.1", "10.0.0.9",
                  "192.168.1.1"};
    EXPECT_EQ(AdapterText(a), "\r\n 网卡名称:Realtek\r\n\r\n IP地址:192.168.1.5\r\n 序号:7\r\n 物理地址:00-1A-2B-3C-4D-5E"
                              "\r\n 子网掩码:255.255.255.0\r\n 默认网关:192.168.1.1\r\n Wins服务器地址:10.0.0.9"
                              "\r\n DHCP服务器地址:192.168.1.1");
}

TEST(SysInfoTexts, OsTextKeepsTheSharedLinesAndTheLabelsWithoutColon) {
    OsInfo o;
    o.name = "Microsoft Windows XP";
    o.version = "5.1";
    o.buildNumber = 2600;
    o.servicePack = "Service Pack 3";
    o.currentUser = "张三";
    o.windowsDirectory = "C:\\WINDOWS";
    o.systemDirectory = "C:\\WINDOWS\\system32";
    o.languageCode = 2052;
    o.language = "中文(中国)";
    o.countryCode = 86;
    o.country = "中华人民共和国";
    o.currencySymbol = "￥";
    o.dateFormat = "yyyy-M-d";
    o.timeFormat = "H:mm:ss";
    o.timeZone = "中国标准时间";
    EXPECT_EQ(OsText(o),
              "\r\n 操作系统:Microsoft Windows XP\r\n 版本:5.1 代码:2052\r\n 国家:中华人民共和国\r\n 时区中国标准时间"
              "\r\n 建立号码:2600\r\n 当前用户:张三\r\n 系统目录:C:\\WINDOWS\\system32\r\n 本地语言:中文(中国)"
              "\r\n 国家代码:86 货币符号￥\r\n 日期格式:yyyy-M-d 时间格式:H:mm:ss\r\n 最后服务包:Service Pack 3"
              "\r\n 系统安装目录:C:\\WINDOWS");
    o.buildNumber = -5;
    EXPECT_NE(OsText(o).find("\r\n 建立号码:-5\r\n"), std::string::npos);
}

TEST(SysInfoTexts, CpuTextUsesRunsOfTheEllipsisCharacter) {
    CpuInfo c{"GenuineIntel", "Intel(R) Core(TM) i7", 3192, "Intel64 Family 6 Model 158 Stepping 10", 64, 256, "", 64};
    const std::string leader = "\xE2\x80\xA6";   // U+2026
    auto run = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += leader;
        return s;
    };
    EXPECT_EQ(CpuText(c), "\r\n 制造商 " + run(4) + "GenuineIntel\r\n 名称 " + run(5) + "Intel(R) Core(TM) i7" +
                              "\r\n 时钟频率 " + run(3) + "3192 >>\r\n 描述 " + run(5) +
                              "Intel64 Family 6 Model 158 Stepping 10\r\n 一级缓存大小 " + run(1) +
                              "64 MB\r\n 二级缓存大小 " + run(1) + "256 MB\r\n 序列号 " + run(4) +
                              "\r\n 数据宽度 " + run(3) + "64 位");
    EXPECT_EQ(CpuText({}), "\r\n 制造商 …………\r\n 名称 ……………\r\n 时钟频率 ………0 >>\r\n 描述 ……………"
                           "\r\n 一级缓存大小 …0 MB\r\n 二级缓存大小 …0 MB\r\n 序列号 …………\r\n 数据宽度 ………0 位");
}

TEST(SysInfoTexts, UsageAndMemoryTexts) {
    EXPECT_EQ(CpuUsageText(0), " 占用\xE2\x80\xA6 0 %");
    EXPECT_EQ(CpuUsageText(100), " 占用… 100 %");
    // Full-width colons, U+FF1A, and no space after the line breaks.
    EXPECT_EQ(MemoryText(2048, 512, 1536),
              "\r\n内存总量\xEF\xBC\x9A" "2048 MB\r\n可用内存\xEF\xBC\x9A" "512 MB\r\n已使用内存\xEF\xBC\x9A" "1536 MB");
}
