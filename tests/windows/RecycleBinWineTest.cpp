// Junk moved to the Recycle Bin by its held handle: the "$R" file is the very file listed, its "$I" record names
// where it was, rifiuti-vista (Debian's reader of the bin, through Y:) reads it so, and moving it back by the
// record's path restores it. A file replaced since it was listed stays; so does every file of a drive whose bin
// is a planted link (U:, scripts/test-fixtures.sh).
#include <gtest/gtest.h>

#include <map>

#include "TestFiles.h"
#include "formats/RecycleRecord.h"
#include "platform/win32/FolderSecurity.h"
#include "platform/win32/Win32FileSystem.h"

using namespace cc;
using namespace cc::test;

namespace {
std::uint64_t FileTimeNow() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return std::uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}
// Where Linux sees a file of the prefix: Linux programs take Linux paths.
std::string UnixPath(const std::wstring& path) {
    using Convert = char* CDECL(const wchar_t*);
    auto* convert = reinterpret_cast<Convert*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
    char* unix = convert ? convert(path.c_str()) : nullptr;
    const std::string result = unix ? unix : "";
    if (unix) HeapFree(GetProcessHeap(), 0, unix);
    return result;
}
// What rifiuti-vista prints of the record file (a Linux path). Wine starts a Linux program on its own, with
// the test's output: Linux's shell (Y:\sh) writes it to a file, which comes whole once the reader has ended.
std::string Rifiuti(const std::string& record, const std::wstring& out) {
    const std::string unixOut = UnixPath(out);
    // Split into arguments as Windows splits a command line: in double quotes, \" for a quote.
    std::wstring line = Widen(R"(sh -c "rifiuti-vista \"$0\" > \"$1.part\" && mv \"$1.part\" \"$1\"" ")" + record + "\" \"" + unixOut + "\"");
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(L"Y:\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) return "not started";
    for (HANDLE h : {started.hProcess, started.hThread}) if (h) CloseHandle(h);
    for (int waited = 0; waited < 10000 && !Exists(out); waited += 50) Sleep(50);
    return ReadWholeFile(out);
}
// The line rifiuti-vista prints for the record: its file, the time in UTC, the size and the path.
std::string RifiutiLine(const std::string& name, const RecycleRecord& record) {
    const FILETIME time{DWORD(record.deletedAt), DWORD(record.deletedAt >> 32)};
    SYSTEMTIME t{};
    char text[32];
    FileTimeToSystemTime(&time, &t);
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
    return name + "\t" + text + "\t" + std::to_string(record.size) + "\t" + record.path;
}
}  // namespace

TEST(RecycleBinOnWine, MovesExactlyTheListedFileWithARecordThatRestoresIt) {
    TempFolder folder("T:\\");
    const std::map<std::string, std::string> made{{"a.log", "alpha"}, {"无扩展名", "no extension"}, {"swapped.tmp", "listed"}};
    for (const auto& [name, content] : made) ASSERT_TRUE(MakeFile(Widen(folder.path() + name), content));
    Win32FileSystem files;
    std::map<std::string, std::uint64_t> ids;
    for (const FolderEntry& entry : files.listFolder(folder.path(), {})) ids[entry.name] = entry.id;
    ASSERT_TRUE(MakeFile(Widen(folder.path() + "swapped.new"), "planted") &&
                MoveFileExW(Widen(folder.path() + "swapped.new").c_str(), Widen(folder.path() + "swapped.tmp").c_str(), MOVEFILE_REPLACE_EXISTING));
    const std::uint64_t before = FileTimeNow();
    for (const auto& [name, content] : made)
        EXPECT_EQ(files.recycleFile(folder.path() + name, ids[name]), KeepsUserBins() && name != "swapped.tmp") << name;
    files.closeFolders();
    const std::uint64_t after = FileTimeNow();
    EXPECT_EQ(ReadWholeFile(Widen(folder.path() + "swapped.tmp")), "planted");
    if (!KeepsUserBins()) {   // XP: nothing moves, nothing is made
        EXPECT_TRUE(Exists(Widen(folder.path() + "a.log")) && !Exists(L"T:\\$Recycle.Bin"));
        return;
    }
    EXPECT_EQ(GetFileAttributesW(L"T:\\$Recycle.Bin") & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    const std::wstring bin = L"T:\\$Recycle.Bin\\" + UserSid() + L"\\";
    EXPECT_NE(ReadWholeFile(bin + L"desktop.ini").find("{645FF040-5081-101B-9F08-00AA002F954E}"), std::string::npos);
    std::map<std::string, std::uint64_t> binIds;
    for (const FolderEntry& entry : files.listFolder(Narrow(bin), {})) binIds[entry.name] = entry.id;
    RTL_OSVERSIONINFOW os;
    ASSERT_TRUE(RealWindowsVersion(os));
    int found = 0;
    for (const auto& [name, id] : binIds) {
        const std::optional<RecycleRecord> record = DecodeRecycleRecord(
            [&] { const std::string s = ReadWholeFile(bin + Widen(name)); return std::vector<std::uint8_t>(s.begin(), s.end()); }());
        if (!name.starts_with("$I") || !record || !record->path.starts_with(folder.path())) continue;
        ++found;
        const std::string original = record->path.substr(folder.path().size()), moved = "$R" + name.substr(2);
        EXPECT_EQ(name.size(), 8 + (original == "a.log" ? 4u : 0u)) << name;   // "$I", six letters, the extension
        EXPECT_EQ(binIds[moved], ids[original]) << original;   // the very file, renamed
        EXPECT_EQ(record->size, made.at(original).size());
        EXPECT_EQ(record->version, os.dwMajorVersion >= 10 ? 2u : 1u);   // as this Windows writes them
        EXPECT_TRUE(record->deletedAt >= before && record->deletedAt <= after);
        EXPECT_NE(Rifiuti(UnixPath(bin + Widen(name)), Widen(folder.path()) + Widen(name) + L".txt").find(RifiutiLine(name, *record)), std::string::npos);
        EXPECT_FALSE(Exists(Widen(record->path)));
        EXPECT_TRUE(MoveFileW((bin + Widen(moved)).c_str(), Widen(record->path).c_str()));   // restored as Explorer restores it
        EXPECT_EQ(ReadWholeFile(Widen(record->path)), made.at(original));
        DeleteFileW((bin + Widen(name)).c_str());
    }
    EXPECT_EQ(found, 2);
    // A bin that is a link (to a privileged folder) is no bin: the file stays, and nothing is made there.
    ASSERT_TRUE(MakeFile(L"U:\\x.log", "stays")) << "run scripts/test-fixtures.sh";
    EXPECT_FALSE(files.recycleFile("U:\\x.log", kNotListed));
    EXPECT_EQ(ReadWholeFile(L"U:\\x.log"), "stays");
    DeleteFileW(L"U:\\x.log");
    bool empty = true;
    ForEachIn(L"C:\\cc-fixtures\\priv-bin\\", [&](const std::wstring&, const WIN32_FIND_DATAW&) { empty = false; });
    EXPECT_TRUE(empty);
}
