#pragma once
// A fresh folder under the Wine prefix's temporary folder, removed with
// everything in it when the test ends. Tests touch nothing outside it.

#include <string>

#include "TestFiles.h"
#include "platform/win32/Utf.h"

namespace cc::test {

class TempFolder {
public:
    TempFolder() {
        wchar_t base[MAX_PATH]{};
        GetTempPathW(MAX_PATH, base);
        for (unsigned n = GetTickCount(); path_.empty() || !CreateDirectoryW(wide().c_str(), nullptr); ++n)
            path_ = Narrow(base) + "cc-test-" + std::to_string(n) + "\\";
    }
    ~TempFolder() { Remove(wide()); }
    TempFolder(const TempFolder&) = delete;

    const std::string& path() const { return path_; }      // UTF-8, ending in a backslash
    std::wstring wide() const { return L"\\\\?\\" + Widen(path_); }   // the long-path form

private:
    static void Remove(const std::wstring& folder) {   // a folder path ending in "\", junctions not followed
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
        for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data)) {
            std::wstring name = data.cFileName, full = folder + name;
            if (name == L"." || name == L"..") continue;
            if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY)
                Remove(full + L"\\");
            else if (SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL), !DeleteFileW(full.c_str()))
                RemoveDirectoryW(full.c_str());
        }
        if (find != INVALID_HANDLE_VALUE) FindClose(find);
        RemoveDirectoryW(folder.c_str());
    }
    std::string path_;
};

}  // namespace cc::test
