// The operating system, its user and folders, and the user's locale.
#include <windows.h>

#include <string>

#include "platform/win32/SystemFolder.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32SystemQueries.h"

namespace cc {

namespace {

std::string RegistryText(const wchar_t* key, const wchar_t* value) {
    wchar_t buffer[256];
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key, value, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return {};
    return Narrow(buffer);
}

std::string LocaleText(LCTYPE type) {
    wchar_t buffer[128];
    const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
    return length > 1 ? Narrow(std::wstring_view(buffer, length - 1)) : std::string();
}

std::int32_t LocaleNumber(LCTYPE type) {
    DWORD number = 0;
    if (!GetLocaleInfoW(LOCALE_USER_DEFAULT, type | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&number),
                        sizeof number / sizeof(wchar_t)))
        return 0;
    return static_cast<std::int32_t>(number);
}

std::string UserName() {
    wchar_t buffer[256];
    DWORD size = 256;
    return GetUserNameW(buffer, &size) && size > 0 ? Narrow(std::wstring_view(buffer, size - 1)) : std::string();
}

std::string TimeZoneName() {
    TIME_ZONE_INFORMATION zone{};
    const DWORD which = GetTimeZoneInformation(&zone);
    if (which == TIME_ZONE_ID_INVALID) return {};
    return Narrow(which == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightName : zone.StandardName);
}

}  // namespace

OsInfo Win32SystemQueries::QueryOsInfo() {
    OsInfo info;
    RTL_OSVERSIONINFOW version;
    if (RealWindowsVersion(version)) {
        info.version = std::to_string(version.dwMajorVersion) + "." + std::to_string(version.dwMinorVersion);
        info.buildNumber = static_cast<std::int32_t>(version.dwBuildNumber);
        info.servicePack = Narrow(version.szCSDVersion);
    }
    info.name = RegistryText(L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"ProductName");
    info.currentUser = UserName();
    info.windowsDirectory = Narrow(SystemFolder(GetWindowsDirectoryW));
    info.systemDirectory = Narrow(SystemFolder(GetSystemDirectoryW));
    info.languageCode = static_cast<std::int32_t>(GetUserDefaultLangID());
    info.language = LocaleText(LOCALE_SLANGUAGE);
    info.countryCode = LocaleNumber(LOCALE_ICOUNTRY);
    info.country = LocaleText(LOCALE_SCOUNTRY);
    info.currencySymbol = LocaleText(LOCALE_SCURRENCY);
    info.dateFormat = LocaleText(LOCALE_SSHORTDATE);
    info.timeFormat = LocaleText(LOCALE_STIMEFORMAT);
    info.timeZone = TimeZoneName();
    return info;
}

}  // namespace cc
