#pragma once
// The records the system queries fill. Texts are UTF-8; a fact the system
// cannot supply stays empty or 0.

#include <cstdint>
#include <string>

namespace cc {

struct BoardInfo {
    std::string name;
    std::string manufacturer;
    std::string copyright;
    std::string date;
    std::string serialNumber;
    std::string oemInformation;
};

struct DiskInfo {
    std::string model;
    std::string firmwareVersion;
    std::string serialNumber;
    std::int32_t capacityMegabytes = 0;
    std::int32_t cacheSize = 0;
    std::int32_t sectorsPerTrack = 0;
    std::int32_t heads = 0;
    std::int32_t cylinders = 0;
};

struct AdapterInfo {
    std::string name;
    std::int32_t index = 0;
    std::string macAddress;
    std::string ipAddress;
    std::string subnetMask;
    std::string defaultGateway;
    std::string winsServer;
    std::string dhcpServer;
};

struct OsInfo {
    std::string name;
    std::string version;
    std::int32_t buildNumber = 0;
    std::string servicePack;
    std::string currentUser;
    std::string windowsDirectory;
    std::string systemDirectory;
    std::int32_t languageCode = 0;
    std::string language;
    std::int32_t countryCode = 0;
    std::string country;
    std::string currencySymbol;
    std::string dateFormat;
    std::string timeFormat;
    std::string timeZone;
};

struct CpuInfo {
    std::string vendor;
    std::string name;
    std::int32_t clockMhz = 0;
    std::string description;
    std::int32_t level1Cache = 0;
    std::int32_t level2Cache = 0;
    std::string serialNumber;
    std::int32_t dataWidth = 0;
};

}  // namespace cc
