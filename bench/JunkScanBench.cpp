// Times the junk scan over a synthetic tree on drive T: against two walks of
// the same tree in the same run: a plain one-pattern walk (the floor: one
// listing per folder, no matching) and one system search per pattern per
// folder (the straightforward way). Prints the times, their ratios and the
// peak memory. Run through scripts/bench.sh.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/Program.h"
#include "junk/DiskSpace.h"
#include "junk/JunkScan.h"
#include "junk/PatternList.h"
#include "platform/win32/Win32Platform.h"
#include "ui/ControlModel.h"

using namespace cc;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kTop = 20, kMiddle = 10, kLeaves = 100, kFilesPerLeaf = 10;   // 20,000 folders, 200,000 files

// Names of a leaf's files: mostly ordinary ones, some junk.
const char* const kNames[kFilesPerLeaf] = {"report.docx", "photo.jpg",  "notes.txt", "setup.log", "cache.tmp",
                                           "data.bin",    "~lock.doc",  "old.bak",   "readme.md", "Thumbs.db"};

void BuildTree(const std::wstring& root) {
    if (GetFileAttributesW((root + L"tree-complete").c_str()) != INVALID_FILE_ATTRIBUTES) return;
    std::printf("building the tree (once)...\n");
    for (int a = 0; a < kTop; ++a) {
        std::wstring top = root + L"top" + std::to_wstring(a) + L"\\";
        CreateDirectoryW(top.c_str(), nullptr);
        for (int b = 0; b < kMiddle; ++b) {
            std::wstring middle = top + L"mid" + std::to_wstring(b) + L"\\";
            CreateDirectoryW(middle.c_str(), nullptr);
            for (int c = 0; c < kLeaves; ++c) {
                std::wstring leaf = middle + L"leaf" + std::to_wstring(c) + L"\\";
                CreateDirectoryW(leaf.c_str(), nullptr);
                for (const char* name : kNames) {
                    std::wstring file = leaf + std::wstring(name, name + strlen(name));
                    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
                    if (h != INVALID_HANDLE_VALUE) {
                        DWORD written = 0;
                        WriteFile(h, "x", 1, &written, nullptr);
                        CloseHandle(h);
                    }
                }
            }
        }
    }
    CloseHandle(CreateFileW((root + L"tree-complete").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
}

// The floor: every folder listed once, nothing matched.
void PlainWalk(const std::wstring& folder, long long& files) {
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
        }
    } while (FindNextFileW(find, &data));
    FindClose(find);
    for (const auto& name : folders) PlainWalk(folder + name + L"\\", files);
}

// One system search per pattern per folder, then one for the subfolders.
void SearchPerPattern(const std::wstring& folder, const std::vector<std::wstring>& patterns,
                      std::vector<std::wstring>& results) {
    WIN32_FIND_DATAW data;
    for (const auto& pattern : patterns) {
        HANDLE find = FindFirstFileW((folder + pattern).c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) continue;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) results.push_back(folder + data.cFileName);
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    HANDLE find = FindFirstFileW((folder + L"*.*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0] != L'.' &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            SearchPerPattern(folder + data.cFileName + L"\\", patterns, results);
    } while (FindNextFileW(find, &data));
    FindClose(find);
}

template <typename F>
double Best(int runs, F&& f) {
    double best = 1e100;
    for (int i = 0; i < runs; ++i) {
        auto start = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main() {
    const std::wstring root = L"T:\\";
    if (GetFileAttributesW(root.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::fprintf(stderr, "no drive T: (run through scripts/bench.sh)\n");
        return 2;
    }
    BuildTree(root);

    std::vector<std::wstring> patterns;
    for (std::string_view p : RecommendedPatterns())
        if (p != "*.errorlog.txt") patterns.emplace_back(p.begin(), p.end());   // the 27 of the default list

    Win32Platform win32;

    // Rounds of plain walk and scan side by side, best of each: the machine
    // is noisy, and both then see the same cache.
    long long plainFiles = 0;
    size_t scanCount = 0;
    double plain = 1e100, scan = 1e100;
    for (int round = 0; round < 3; ++round) {
        plain = std::min(plain, Best(1, [&] {
            plainFiles = 0;
            PlainWalk(root, plainFiles);
        }));
        scan = std::min(scan, Best(1, [&] {
            // The window is the in-memory model: this measures the walk and the matching.
            ControlModel ui;
            Program program(ui, win32.platform);
            ui.click(kLocalOnlyBox);   // all drives
            for (int i = 0; i < ui.itemCount(kDriveList); ++i)
                ui.setItemChecked(kDriveList, i, ui.itemText(kDriveList, i) == "T:\\");
            ui.click("按钮10");
            ui.click("按钮1");
            scanCount = static_cast<size_t>(ui.itemCount(kResultList));
        }));
    }

    size_t literalCount = 0;
    double literal = Best(1, [&] {
        std::vector<std::wstring> results;
        SearchPerPattern(root, patterns, results);
        literalCount = results.size();
    });

    PROCESS_MEMORY_COUNTERS memory{sizeof memory};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);

    std::printf("tree: %lld files in %d folders\n", plainFiles, kTop * kMiddle * kLeaves + kTop * kMiddle + kTop);
    std::printf("plain one-pattern walk:   %8.3f s\n", plain);
    std::printf("junk scan, 27 patterns:   %8.3f s  (%zu results)\n", scan, scanCount);
    std::printf("one search per pattern:   %8.3f s  (%zu results)\n", literal, literalCount);
    std::printf("junk scan / plain walk:        %6.2fx  (target at most 1.5x)\n", scan / plain);
    std::printf("per-pattern search / junk scan: %6.2fx  (target at least 10x)\n", literal / scan);
    std::printf("peak working set: %.1f MiB\n", static_cast<double>(memory.PeakWorkingSetSize) / (1 << 20));
    return 0;
}
