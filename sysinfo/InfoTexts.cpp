#include "sysinfo/InfoTexts.h"

#include <cmath>
#include <cstdio>

namespace cc {

namespace {

std::string Num(std::int64_t value) { return std::to_string(value); }

}  // namespace

std::string BoardText(const BoardInfo& board) {
    return "\r\n 名称 :" + board.name + "\r\n 制造商 :" + board.manufacturer + "\r\n 版权信息 :" + board.copyright +
           "\r\n 日期 :" + board.date + "\r\n 序列号:" + board.serialNumber + "\r\n OEM信息 :" +
           board.oemInformation;
}

std::string CapacityText(std::int32_t megabytes) {
    // Round in thousandths as an integer so no binary fraction leaks into the text.
    const double gigabytes = static_cast<double>(megabytes) / 1024.0;
    const auto thousandths = static_cast<std::int64_t>(std::llround(gigabytes * 1000.0));
    const std::int64_t magnitude = thousandths < 0 ? -thousandths : thousandths;
    std::string text = (thousandths < 0 ? "-" : "") + Num(magnitude / 1000);
    std::int64_t fraction = magnitude % 1000;
    if (fraction != 0) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%03d", static_cast<int>(fraction));
        std::string part = digits;
        while (!part.empty() && part.back() == '0') part.pop_back();
        text += "." + part;
    }
    return text;
}

std::string DiskText(const DiskInfo& disk) {
    return "\r\n 容量:" + CapacityText(disk.capacityMegabytes) + " GB\r\n 版本号:" + disk.firmwareVersion +
           "\r\n 序列号:" + disk.serialNumber + "\r\n 磁头数:" + Num(disk.heads) + "\r\n 柱面数:" +
           Num(disk.cylinders) + "\r\n 缓存大小:" + Num(disk.cacheSize) + "\r\n 每磁道扇区数:" +
           Num(disk.sectorsPerTrack);
}

std::string DiskListText(const DiskInfo& disk, int number) {
    return disk.model.empty() ? "硬盘 " + Num(number) : disk.model;
}

std::string DiskGroupCaption(int count) { return "物理硬盘(" + Num(count) + ")个"; }

std::string AdapterText(const AdapterInfo& adapter) {
    return "\r\n 网卡名称:" + adapter.name + "\r\n\r\n IP地址:" + adapter.ipAddress + "\r\n 序号:" +
           Num(adapter.index) + "\r\n 物理地址:" + adapter.macAddress + "\r\n 子网掩码:" + adapter.subnetMask +
           "\r\n 默认网关:" + adapter.defaultGateway + "\r\n Wins服务器地址:" + adapter.winsServer +
           "\r\n DHCP服务器地址:" + adapter.dhcpServer;
}

std::string AdapterGroupCaption(int count) { return "物理网卡(" + Num(count) + ")个"; }

std::string OsText(const OsInfo& os) {
    return "\r\n 操作系统:" + os.name + "\r\n 版本:" + os.version + " 代码:" + Num(os.languageCode) +
           "\r\n 国家:" + os.country + "\r\n 时区" + os.timeZone + "\r\n 建立号码:" + Num(os.buildNumber) +
           "\r\n 当前用户:" + os.currentUser + "\r\n 系统目录:" + os.systemDirectory + "\r\n 本地语言:" +
           os.language + "\r\n 国家代码:" + Num(os.countryCode) + " 货币符号" + os.currencySymbol +
           "\r\n 日期格式:" + os.dateFormat + " 时间格式:" + os.timeFormat + "\r\n 最后服务包:" +
           os.servicePack + "\r\n 系统安装目录:" + os.windowsDirectory;
}

std::string CacheSizeText(std::int32_t kilobytes) {
    if (kilobytes > 0 && kilobytes < 1024) return Num(kilobytes) + " KB";
    if (kilobytes % 1024 == 0) return Num(kilobytes / 1024) + " MB";
    const std::int64_t tenths = (std::int64_t{kilobytes} * 10 + 512) / 1024;   // rounded to the nearest tenth
    return Num(tenths / 10) + "." + Num(tenths % 10) + " MB";
}

std::string CpuText(const CpuInfo& cpu) {
    return "\r\n 制造商 …………" + cpu.vendor + "\r\n 名称 ……………" + cpu.name + "\r\n 时钟频率 ………" +
           Num(cpu.clockMhz) + " >>\r\n 描述 ……………" + cpu.description + "\r\n 一级缓存大小 …" +
           CacheSizeText(cpu.level1Cache) + "\r\n 二级缓存大小 …" + CacheSizeText(cpu.level2Cache) + "\r\n 序列号 …………" +
           cpu.serialNumber + "\r\n 数据宽度 ………" + Num(cpu.dataWidth) + " 位";
}

std::string CpuUsageText(int load) { return " 占用… " + Num(load) + " %"; }

std::string MemoryText(int totalMegabytes, int availableMegabytes, int usedMegabytes) {
    return "\r\n内存总量：" + Num(totalMegabytes) + " MB\r\n可用内存：" + Num(availableMegabytes) +
           " MB\r\n已使用内存：" + Num(usedMegabytes) + " MB";
}

}  // namespace cc
