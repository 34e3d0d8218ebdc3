#pragma once
// What the Windows and end-to-end tests share: whole files (wide paths, the long-path form allowed), shortcuts
// and registry values stored as another program would store them, a throw-away folder, text helpers.
#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

#include "platform/win32/Handles.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Utf.h"

namespace cc::test {

inline bool MakeFile(const std::wstring& path, const std::string& content) {
    UniqueHfile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;   // creates or replaces the file with exactly these bytes
    return file && WriteFile(file.get(), content.data(), DWORD(content.size()), &written, nullptr) && written == content.size();
}
// Everything the file holds, read to its end (Linux /proc files report size 0); empty when it cannot be opened.
// Shares deletion too: a file just renamed into place is still open for it a moment by whoever moved it.
inline std::string ReadWholeFile(const std::wstring& path) {
    UniqueHfile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
    std::string content;
    char buffer[65536];
    for (DWORD read = 0; file && ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0;) content.append(buffer, read);
    return content;
}
inline bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
// A shortcut to a path, or to a shell item, saved by the shell's own link object (COM initialised).
inline bool SaveShortcut(const std::wstring& link, const std::wstring& target, PCIDLIST_ABSOLUTE items = nullptr) {
    ComPtr<IShellLinkW> shell;
    ComPtr<IPersistFile> file;
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shell.putVoid())) &&
           SUCCEEDED(items ? shell->SetIDList(items) : shell->SetPath(target.c_str())) &&
           SUCCEEDED(shell->QueryInterface(IID_IPersistFile, file.putVoid())) && SUCCEEDED(file->Save(link.c_str(), FALSE));
}
inline bool SetRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
    UniqueKey opened;   // the key made if need be, in the 64-bit view
    return !RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, opened.put(), nullptr) &&
           !RegSetValueExW(opened.get(), name, 0, type, static_cast<const BYTE*>(data), bytes);
}

// Swaps the folder `set`\cur (holding user\) for `set`\alt, whose user (or `link`, a path below it) is a link
// to the privileged folder (scripts/test-fixtures.sh). Wine cannot make links, and its MoveFileW moves what a
// link leads to, so only real folders are renamed. True once the link shows as a reparse point in the listing.
inline bool SwapInLink(const std::wstring& set, const std::wstring& link = L"user") {
    WIN32_FIND_DATAW data;
    HANDLE find = INVALID_HANDLE_VALUE;
    if (MoveFileW((set + L"cur").c_str(), (set + L"old").c_str()) && MoveFileW((set + L"alt").c_str(), (set + L"cur").c_str()))
        find = FindFirstFileW((set + L"cur\\" + link).c_str(), &data);
    return find != INVALID_HANDLE_VALUE && FindClose(find) && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
inline bool SwapBack(const std::wstring& set) {   // undoes SwapInLink: cur (the link's folder) is alt again, old is cur
    return MoveFileW((set + L"cur").c_str(), (set + L"alt").c_str()) && MoveFileW((set + L"old").c_str(), (set + L"cur").c_str());
}
// The privileged folder's file the swap aims at, made read-only.
inline bool MakePrivilegedTwin(const std::wstring& path, const std::string& content) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);   // left from an earlier run
    return MakeFile(path, content) && SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
}
inline bool IsUntouchedTwin(const std::wstring& path, const std::string& content) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) && ReadWholeFile(path) == content;
}
inline std::string Upper(std::string s) {   // as the system folds letters
    CharUpperBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}
// Calls `each` with the full path and the listing of every entry of `folder` (ending in "\") but "." and "..".
inline void ForEachIn(const std::wstring& folder, const std::function<void(const std::wstring&, const WIN32_FIND_DATAW&)>& each) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data))
        if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L"..")) each(folder + data.cFileName, data);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}
// A fresh folder under the prefix's temporary folder (or `base`, ending in a backslash), removed with
// everything in it when the test ends.
class TempFolder {
public:
    explicit TempFolder(std::string base = {}) {
        wchar_t temp[MAX_PATH]{};
        if (base.empty()) GetTempPathW(MAX_PATH, temp), base = Narrow(temp);
        for (unsigned n = GetTickCount(); path_.empty() || !CreateDirectoryW(wide().c_str(), nullptr); ++n)
            path_ = base + "cc-test-" + std::to_string(n) + "\\";
    }
    ~TempFolder() { Remove(wide()); }
    TempFolder(const TempFolder&) = delete;
    const std::string& path() const { return path_; }                 // UTF-8, ending in a backslash
    std::wstring wide() const { return L"\\\\?\\" + Widen(path_); }   // the long-path form
private:
    static void Remove(const std::wstring& folder) {   // a folder path ending in "\", junctions not followed
        ForEachIn(folder, [](const std::wstring& full, const WIN32_FIND_DATAW& data) {
            if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == FILE_ATTRIBUTE_DIRECTORY) Remove(full + L"\\");
            else if (SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL), !DeleteFileW(full.c_str())) RemoveDirectoryW(full.c_str());
        });
        RemoveDirectoryW(folder.c_str());
    }
    std::string path_;
};
// A harmless program that runs until ended: a copy of the system's cmd.exe (any name) reading
// commands from a pipe this holds, so that it also goes when the test lets go of it.
class WaitingProgram {
public:
    explicit WaitingProgram(const std::wstring& copy) {
        wchar_t cmd[MAX_PATH]{};
        GetSystemDirectoryW(cmd, MAX_PATH);
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        UniqueHandle read;
        if (!CopyFileW((std::wstring(cmd) + L"\\cmd.exe").c_str(), copy.c_str(), FALSE) || !CreatePipe(read.put(), input_.put(), &inherited, 0))
            return;
        SetHandleInformation(input_.get(), HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{sizeof startup};
        startup.dwFlags = STARTF_USESTDHANDLES, startup.hStdInput = read.get();
        PROCESS_INFORMATION started{};
        wchar_t line[] = L"waiting /q /k";
        if (CreateProcessW(copy.c_str(), line, nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, cmd, &startup, &started))
            process_.reset(started.hProcess), CloseHandle(started.hThread);
    }
    ~WaitingProgram() {   // then its file is free again
        input_.reset();
        if (process_ && WaitForSingleObject(process_.get(), 5000)) TerminateProcess(process_.get(), 0), WaitForSingleObject(process_.get(), 5000);
    }
    bool running() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }
private:
    UniqueHandle process_, input_;
};

}  // namespace cc::test
