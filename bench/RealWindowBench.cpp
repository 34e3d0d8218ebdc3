// Times the real program in its real window under Wine, driven from outside
// as a user would drive it, against plain work on the same files in the same
// run: the junk scan of the big tree on T: against a plain walk of T:, the
// deletion of all its results against deleting the same files directly, a
// scan of one folder of 200,000 files, the shortcut scan with 5,000 broken
// shortcuts and their deletion, the program's peak working set, and the
// longest time the window keeps the system waiting in each. The fixed cost
// of a scan (the click, the first pump, the poll that sees the end) is the
// same scan of the empty drive W:, subtracted from each scan's time. Run
// through scripts/bench.sh, which lays out the drives and puts the deleted
// files back before each run. The direct deletion works on V:, which holds
// the tree's junk files again at the same paths, right after the program's
// deletion, so that both see the machine alike.
#include <windows.h>
#include <objbase.h>
#include <psapi.h>
#include <shobjidl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/Handles.h"
#include "tests/e2e/ProgramDriver.h"

using cc::test::ProgramDriver;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kBrokenShortcuts = 5000;
// The junk names of each leaf folder of the tree (scripts/bench.sh builds it).
const wchar_t* const kJunkNames[] = {L"setup.log", L"cache.tmp", L"~lock.doc", L"old.bak", L"Thumbs.db"};

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// How long the window keeps a caller waiting: a thread of its own sends it
// WM_NULL every 50 ms, as the system asks before it calls a window hung, and
// keeps the longest wait since it was last asked.
class SilenceProbe {
public:
    explicit SilenceProbe(HWND window) : window_(window) { thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
    ~SilenceProbe() {
        InterlockedExchange(&stop_, 1);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    SilenceProbe(const SilenceProbe&) = delete;
    // The longest wait in seconds since the last call; the next measurement starts.
    double takeLongest() { return InterlockedExchange(&longestMs_, 0) / 1000.0; }

private:
    static DWORD WINAPI Run(void* self) {
        auto* probe = static_cast<SilenceProbe*>(self);
        while (!InterlockedCompareExchange(&probe->stop_, 0, 0)) {
            const auto start = Clock::now();
            DWORD_PTR answer = 0;
            SendMessageTimeoutW(probe->window_, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &answer);
            const LONG waited = static_cast<LONG>(Since(start) * 1000);
            for (LONG seen = probe->longestMs_; waited > seen;)
                seen = InterlockedCompareExchange(&probe->longestMs_, waited, seen) == seen ? waited : probe->longestMs_;
            Sleep(50);
        }
        return 0;
    }
    HWND window_;
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0, longestMs_ = 0;
};

// The floor: every folder listed once, nothing matched. Collects the files
// that `wanted` picks, if given.
void PlainWalk(const std::wstring& folder, long long& files, std::vector<std::wstring>* picked = nullptr,
               bool (*wanted)(const wchar_t*) = nullptr) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileExW((folder + L"*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return;
    std::vector<std::wstring> folders;
    do {
        if (data.cFileName[0] == L'.') continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) folders.push_back(data.cFileName);
        } else {
            ++files;
            if (picked && wanted(data.cFileName)) picked->push_back(folder + data.cFileName);
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const auto& name : folders) PlainWalk(folder + name + L"\\", files, picked, wanted);
}

bool IsTreeJunk(const wchar_t* name) {
    for (const wchar_t* junk : kJunkNames)
        if (lstrcmpiW(name, junk) == 0) return true;
    return false;
}

double TimePlainWalk(const std::wstring& root, long long& files) {
    files = 0;
    auto start = Clock::now();
    PlainWalk(root, files);
    return Since(start);
}

// 5,000 copies of one shortcut to a file that is gone.
void MakeBrokenShortcuts(const std::wstring& folder) {
    std::wstring first = folder + L"broken0.lnk";
    if (GetFileAttributesW((folder + L"broken" + std::to_wstring(kBrokenShortcuts - 1) + L".lnk").c_str()) !=
        INVALID_FILE_ATTRIBUTES)
        return;
    CreateDirectoryW(folder.c_str(), nullptr);
    {
        const cc::ComApartment com;   // first: the link is released before COM ends
        cc::ComPtr<IShellLinkW> link;
        cc::ComPtr<IPersistFile> file;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid())) &&
            SUCCEEDED(link->SetPath(L"U:\\gone\\program.exe")) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.putVoid())))
            file->Save(first.c_str(), TRUE);
    }
    for (int i = 1; i < kBrokenShortcuts; ++i)
        CopyFileW(first.c_str(), (folder + L"broken" + std::to_wstring(i) + L".lnk").c_str(), FALSE);
}

// Waits until the control's text is the expected one, polling often.
bool WaitForText(const ProgramDriver& program, HWND control, const std::wstring& text, int timeoutSeconds) {
    auto start = Clock::now();
    while (Since(start) < timeoutSeconds) {
        if (program.text(control) == text) return true;
        Sleep(2);
    }
    return false;
}

// The junk page with only `drive` checked and the recommended patterns.
void ChooseDriveAndPatterns(ProgramDriver& program, const std::wstring& drive) {
    HWND tabs = program.control("高级选择夹3");
    program.clickTab(tabs, 1);
    HWND drives = program.control("选择列表框2");
    if (program.listCount(drives) == 0) {   // all drives: the local-only box off
        PostMessageW(program.control("选择框1"), BM_CLICK, 0, 0);
        program.settle();
    }
    for (int i = 0; i < program.listCount(drives); ++i)
        if (program.listChecked(drives, i) != (program.listText(drives, i) == drive)) program.clickCheckBox(drives, i);
    program.clickTab(tabs, 2);
    program.clickControl(program.control("按钮10"));
    program.clickTab(tabs, 0);
}

// From the click on 按钮1 to its caption "扫描" again, in seconds.
double TimeJunkScan(ProgramDriver& program) {
    HWND scan = program.control("按钮1");
    // Its caption ends as "扫描": start from another, to see the end of this scan.
    SendMessageW(scan, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"扫描垃圾"));
    auto start = Clock::now();
    program.clickControl(scan, false);
    if (!WaitForText(program, scan, L"扫描", 3600)) return 1e9;
    return Since(start);
}

struct ScanTimes {
    double scan = 1e9, plainWalk = 1e9;
    long long files = 0;
};

// The best of three scans of the empty drive W:, the same click and wait.
double TimeFixedCost(ProgramDriver& program) {
    ChooseDriveAndPatterns(program, L"W:\\");
    double best = 1e9;
    for (int round = 0; round < 3; ++round) best = std::min(best, TimeJunkScan(program));
    return best;
}

// The junk scan of one drive against a plain walk of it, in turns, the best
// of three each: the machine is shared, and both then see the same cache.
ScanTimes TimeScanAgainstWalk(ProgramDriver& program, const std::wstring& drive) {
    ScanTimes best;
    TimePlainWalk(drive, best.files);   // warms the cache
    ChooseDriveAndPatterns(program, drive);
    for (int round = 0; round < 3; ++round) {
        best.plainWalk = std::min(best.plainWalk, TimePlainWalk(drive, best.files));
        best.scan = std::min(best.scan, TimeJunkScan(program));
    }
    return best;
}

double TimePlainWalkOfEveryDrive() {
    wchar_t roots[512]{};
    GetLogicalDriveStringsW(511, roots);
    double walk = 0;
    for (const wchar_t* root = roots; *root; root += wcslen(root) + 1) {
        long long files = 0;
        walk += TimePlainWalk(root, files);
    }
    return walk;
}

// From the click on the shortcut page's 扫描 to its caption "扫描" again, in seconds.
double TimeShortcutScan(ProgramDriver& program) {
    HWND scan = program.control("扫描");
    const auto start = Clock::now();
    program.clickControl(scan, false);
    WaitForText(program, scan, L"扫描中..", 60);
    WaitForText(program, scan, L"扫描", 3600);
    return Since(start);
}

void Report(const char* what, double program, double baseline, const char* baselineName, double target) {
    std::printf("%-34s %8.2f s   %-28s %8.2f s   %6.2fx", what, program, baselineName, baseline, program / baseline);
    if (target > 0) std::printf("  (target <= %.2fx: %s)", target, program / baseline <= target ? "met" : "MISSED");
    std::printf("\n");
    std::fflush(stdout);
}

void ReportSilence(const char* what, double longest) {
    std::printf("  longest silence of the window, %s: %.3f s  (target < 0.25 s: %s)\n", what, longest,
                longest < 0.25 ? "met" : "MISSED");
    std::fflush(stdout);
}

// Start-up: from CreateProcess until the program's first top-level window is
// visible and answers a message (WM_NULL, as the system asks whether a window
// hangs), in seconds; and the process's peak working set once it has nothing
// left to do, in MiB. The window is then closed.
struct StartUp {
    double seconds = 0;
    double peakMiB = 0;
};
StartUp TimeStartUp(std::wstring commandLine) {
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return {};
    std::pair<DWORD, HWND> found{process.dwProcessId, nullptr};
    while (!found.second && Since(start) < 30) {
        EnumWindows([](HWND hwnd, LPARAM p) -> BOOL {
            auto& [id, window] = *reinterpret_cast<std::pair<DWORD, HWND>*>(p);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            return owner == id && IsWindowVisible(hwnd) ? (window = hwnd, FALSE) : TRUE;
        }, reinterpret_cast<LPARAM>(&found));
        if (!found.second) Sleep(1);
    }
    DWORD_PTR answer = 0;
    const bool answered = found.second && SendMessageTimeoutW(found.second, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
    StartUp result{Since(start), 0};
    // What start-up leaves for later runs once the window is there: the peak counts it too.
    WaitForInputIdle(process.hProcess, 10000);
    Sleep(500);
    SendMessageTimeoutW(found.second, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &answer);
    PROCESS_MEMORY_COUNTERS memory{sizeof memory};
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    result.peakMiB = static_cast<double>(memory.PeakWorkingSetSize) / (1 << 20);
    if (found.second) PostMessageW(found.second, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return answered ? result : StartUp{};
}

// The display's DPI as Wine reads it when a process starts.
void SetLogPixels(DWORD dpi) {
    for (auto [root, path] : {std::pair{HKEY_CURRENT_USER, L"Control Panel\\Desktop"},
                              std::pair{HKEY_CURRENT_CONFIG, L"Software\\Fonts"}}) {
        HKEY key = nullptr;
        if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) continue;
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
        RegCloseKey(key);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// cc_bench --start-up [--rounds N] PROGRAM.exe [EARLIER.exe ...]: at 96 and
// 192 DPI, each program to its window answering, in turns with notepad's (the
// order turned round every round, so that none always follows the same one),
// the median of N rounds (9 unless given, at least 7), and the peak working set.
int StartUpBench(int argc, wchar_t** argv) {
    int first = 2, rounds = 9;
    if (argc >= 5 && std::wstring(argv[2]) == L"--rounds") rounds = std::max(7, _wtoi(argv[3])), first = 4;
    std::vector<std::wstring> programs(argv + first, argv + argc);
    programs.push_back(L"notepad.exe");
    bool met = true;
    for (DWORD dpi : {96u, 192u}) {
        SetLogPixels(dpi);
        std::vector<std::vector<double>> times(programs.size());
        std::vector<double> peaks(programs.size());
        for (const auto& program : programs) TimeStartUp(L"\"" + program + L"\"");   // each from the cache from now on
        for (int round = 0; round < rounds; ++round)
            for (size_t k = 0; k < programs.size(); ++k) {
                const size_t i = round % 2 ? programs.size() - 1 - k : k;
                const StartUp one = TimeStartUp(L"\"" + programs[i] + L"\"");
                if (one.seconds <= 0) return SetLogPixels(96), std::fprintf(stderr, "no window from %ls\n", programs[i].c_str()), 1;
                times[i].push_back(one.seconds);
                peaks[i] = std::max(peaks[i], one.peakMiB);
            }
        const double notepad = Median(times.back());
        for (size_t i = 0; i + 1 < programs.size(); ++i) {
            const double ratio = Median(times[i]) / notepad;
            if (i == 0) met = met && ratio <= 1.5;
            std::printf("%lu DPI, start-up to the window, %ls: %.3f s, %.2fx notepad's %.3f s (target <= 1.5x: %s), "
                        "peak working set %.1f MiB\n", dpi, programs[i].c_str(), Median(times[i]), ratio, notepad,
                        ratio <= 1.5 ? "met" : "MISSED", peaks[i]);
        }
        std::printf("%lu DPI, notepad's peak working set %.1f MiB; each the median of %d runs\n", dpi, peaks.back(), rounds);
        std::fflush(stdout);
    }
    SetLogPixels(96);
    return met ? 0 : 1;
}
}  // namespace

// cc_bench --shortcuts PROGRAM.exe EARLIER.exe ...: the shortcut scan of each
// program in turns with a plain walk of every drive, the best of three each,
// so that two builds are compared in the same conditions. One program runs at
// a time: the clicks are real input, and go to the window on top.
int ShortcutsBench(int argc, wchar_t** argv) {
    MakeBrokenShortcuts(L"U:\\links\\");
    std::vector<double> best(argc - 2, 1e9);
    double walk = 1e9;
    for (int round = 0; round < 3; ++round) {
        walk = std::min(walk, TimePlainWalkOfEveryDrive());
        for (int i = 2; i < argc; ++i) {
            ProgramDriver program(argv[i], L"");
            if (!program.start()) return std::fprintf(stderr, "the window of %ls did not appear\n", argv[i]), 1;
            program.clickTab(program.control("高级选择夹1"), 3);
            const double fixed = TimeFixedCost(program);
            program.clickTab(program.control("高级选择夹1"), 1);
            best[i - 2] = std::min(best[i - 2], TimeShortcutScan(program) - fixed);
            program.closeAndWait();
        }
    }
    for (int i = 2; i < argc; ++i) {
        char name[300];
        std::snprintf(name, sizeof name, "shortcut scan, %ls", argv[i]);
        Report(name, best[i - 2], walk, "plain walk of every drive", 1.15);
    }
    return 0;
}

// The junk scan of a drive through its file table against the program's walk of the same tree as a folder, in turns,
// the best of three each, the fixed cost left out.
void TableAgainstWalk(ProgramDriver& program, const wchar_t* tableDrive, const wchar_t* walkDrive, double fixed, const char* what,
                      double target) {
    HWND results = program.control("选择列表框1");
    double table = 1e9, walk = 1e9;
    int tableResults = 0, walkResults = 0;
    for (int round = 0; round < 3; ++round) {
        ChooseDriveAndPatterns(program, tableDrive);
        table = std::min(table, TimeJunkScan(program) - fixed);
        tableResults = program.listCount(results);
        ChooseDriveAndPatterns(program, walkDrive);
        walk = std::min(walk, TimeJunkScan(program) - fixed);
        walkResults = program.listCount(results);
    }
    std::printf("%s: %d results through the table, %d through the walk\n", what, tableResults, walkResults);
    Report(what, table, walk, "the same scan, walked", target);
}

// cc_bench --table PROGRAM.exe: the junk scans of NTFS drives read through their file table. R: is a tree of
// 200,000 files in 2,000 folders as an NTFS image (its raw volume) and as a folder, S: that folder alone, which
// the program walks; 1% of the files are junk, ten files in every tenth folder. Q: is 60 folders of 1,000 files,
// 1% junk in every folder, P: its folder. M: is 1,000,000 files as R:.
// Each scan is timed as the others are, the fixed cost of a scan (W:, empty) left out.
int TableBench(const wchar_t* programPath) {
    ProgramDriver program(programPath, L"");
    if (!program.start()) return std::fprintf(stderr, "the program's window did not appear\n"), 1;
    program.clickTab(program.control("高级选择夹1"), 3);
    HWND results = program.control("选择列表框1");
    SilenceProbe probe(program.window());
    const double fixed = TimeFixedCost(program);
    std::printf("fixed cost of a scan (empty drive W:): %.3f s, subtracted below\n", fixed);
    probe.takeLongest();
    TableAgainstWalk(program, L"R:\\", L"S:\\", fixed, "200,000 files, 10 a folder", 0.1);
    ReportSilence("scans of 200,000 files", probe.takeLongest());
    TableAgainstWalk(program, L"Q:\\", L"P:\\", fixed, "60 folders of 1,000 files", 0.2);
    ReportSilence("scans of 60 folders of 1,000 files", probe.takeLongest());
    long long files = 0;
    const double plain = TimePlainWalk(L"M:\\", files);
    ChooseDriveAndPatterns(program, L"M:\\");
    double million = 1e9;
    for (int round = 0; round < 2; ++round) million = std::min(million, TimeJunkScan(program) - fixed);
    std::printf("M: %lld files; the scan listed %d results in %.2f s (target <= 1.5 s: %s)\n", files, program.listCount(results),
                million, million <= 1.5 ? "met" : "MISSED");
    Report("junk scan of 1,000,000 files, table", million, plain, "plain walk of M:", 0);
    ReportSilence("scans of 1,000,000 files", probe.takeLongest());
    PROCESS_MEMORY_COUNTERS memory{sizeof memory};
    GetProcessMemoryInfo(program.process(), &memory, sizeof memory);
    const double peak = static_cast<double>(memory.PeakWorkingSetSize) / (1 << 20);
    std::printf("peak working set of the program: %.1f MiB  (target <= 160 MiB: %s)\n", peak, peak <= 160 ? "met" : "MISSED");
    return program.closeAndWait() == 0 ? 0 : 1;
}

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"--start-up") return StartUpBench(argc, argv);
    if (argc >= 3 && std::wstring(argv[1]) == L"--table") return TableBench(argv[2]);
    if (argc >= 3 && std::wstring(argv[1]) == L"--shortcuts") return ShortcutsBench(argc, argv);
    // --scans PROGRAM.exe: the scans alone, no deletion; the shortcut deletion's figures then come from the last run.
    const bool scansOnly = argc >= 3 && std::wstring(argv[1]) == L"--scans";
    if (scansOnly) ++argv, --argc;
    if (argc < 2 || GetFileAttributesW(L"T:\\tree-complete") == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesW(L"U:\\flat") == INVALID_FILE_ATTRIBUTES || GetFileAttributesW(L"V:\\top0") == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "usage: cc_bench PROGRAM.exe, with the drives scripts/bench.sh lays out;\n"
                             "       cc_bench --scans PROGRAM.exe (no deletions)\n"
                             "       cc_bench --start-up [--rounds N] PROGRAM.exe [EARLIER.exe ...]\n");
        return 2;
    }
    MakeBrokenShortcuts(L"U:\\links\\");
    ProgramDriver program(argv[1], L"");
    if (!program.start()) {
        std::fprintf(stderr, "the program's window did not appear\n");
        return 1;
    }
    program.clickTab(program.control("高级选择夹1"), 3);
    HWND results = program.control("选择列表框1");
    SilenceProbe probe(program.window());

    // 0. The fixed cost of a click on a scan, from an empty drive.
    const double fixed = TimeFixedCost(program);
    std::printf("fixed cost of a scan (empty drive W:): %.3f s, subtracted below\n", fixed);

    // 1. The junk scan of the tree against a plain walk of it.
    const ScanTimes tree = TimeScanAgainstWalk(program, L"T:\\");
    std::printf("tree on T: %lld files; the scan listed %d results\n", tree.files, program.listCount(results));
    Report("junk scan, 27 patterns, tree", tree.scan - fixed, tree.plainWalk, "plain walk of T:", 1.3);
    ReportSilence("tree scans", probe.takeLongest());

    // 2. Deleting all checked results, against deleting the same files directly.
    if (!scansOnly) {
        std::vector<std::wstring> copies;
        long long ignored = 0;
        PlainWalk(L"V:\\", ignored, &copies, IsTreeJunk);   // warm, as T: is for the program
        auto start = Clock::now();
        program.clickControl(program.control("按钮2"), false);
        while (program.listCount(results) != 0 && Since(start) < 3600) Sleep(20);   // blocks while the handler runs
        double programDelete = Since(start);
        start = Clock::now();
        for (const auto& path : copies) DeleteFileW(path.c_str());
        double directDelete = Since(start);
        std::printf("deleted %zu copies directly\n", copies.size());
        Report("deleting all results", programDelete, directDelete, "DeleteFileW on each", 1.5);
        ReportSilence("deleting 100,000 results", probe.takeLongest());
    }

    // 3. One folder of 200,000 files.
    const ScanTimes flat = TimeScanAgainstWalk(program, L"U:\\");
    std::printf("U: %lld files, 200,000 in one folder; the scan listed %d results\n", flat.files,
                program.listCount(results));
    Report("junk scan, one folder", flat.scan - fixed, flat.plainWalk, "plain walk of U:", 1.3);
    ReportSilence("one-folder scans", probe.takeLongest());

    // 4. The shortcut page: every drive, 5,000 broken shortcuts on U:.
    // In turns with a plain walk of every drive, the best of three each, as the junk scans.
    program.clickTab(program.control("高级选择夹1"), 1);
    double plainAll = 1e9, scanShortcuts = 1e9;
    probe.takeLongest();
    for (int round = 0; round < 3; ++round) {
        plainAll = std::min(plainAll, TimePlainWalkOfEveryDrive());
        scanShortcuts = std::min(scanShortcuts, TimeShortcutScan(program) - fixed);
    }
    std::printf("the shortcut scan listed %d broken shortcuts\n", program.listCount(program.control("选择1")));
    Report("shortcut scan, every drive", scanShortcuts, plainAll, "plain walk of every drive", 1.15);
    ReportSilence("the shortcut scan", probe.takeLongest());

    // 5. Deleting the broken shortcuts found (made again at the next run).
    if (scansOnly) return program.closeAndWait() == 0 ? 0 : 1;
    HWND shortcuts = program.control("选择1");
    const int found = program.listCount(shortcuts);
    const auto start = Clock::now();
    program.clickControl(program.control("删除"), false);
    while (program.listCount(shortcuts) != 0 && Since(start) < 3600) Sleep(20);
    std::printf("deleting %d broken shortcuts: %.2f s\n", found, Since(start));
    ReportSilence("deleting the shortcuts", probe.takeLongest());

    PROCESS_MEMORY_COUNTERS memory{sizeof memory};
    GetProcessMemoryInfo(program.process(), &memory, sizeof memory);
    const double peak = static_cast<double>(memory.PeakWorkingSetSize) / (1 << 20);
    std::printf("peak working set of the program: %.1f MiB  (target <= 120 MiB: %s)\n", peak,
                peak <= 120 ? "met" : "MISSED");
    return program.closeAndWait() == 0 ? 0 : 1;
}
