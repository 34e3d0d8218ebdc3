#include "TempFolder.h"

#include "platform/win32/Utf.h"

namespace cc::test {
namespace {

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring full = folder + name;
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTree(full + L"\\");
            } else {
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (!DeleteFileW(full.c_str())) RemoveDirectoryW(full.c_str());   // a junction
            }
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH]{};
    GetTempPathW(MAX_PATH, base);
    for (unsigned n = GetTickCount();; ++n) {
        std::wstring candidate = std::wstring(L"\\\\?\\") + base + L"cc-test-" + std::to_wstring(n);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = Narrow(candidate.substr(4)) + "\\";
            break;
        }
    }
}

TempFolder::~TempFolder() { RemoveTree(wide()); }

std::wstring TempFolder::wide() const { return L"\\\\?\\" + Widen(path_); }

}  // namespace cc::test
