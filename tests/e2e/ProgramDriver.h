#pragma once
// Starts the real program and works its window from outside, as a user and the system would: real
// input where a user clicks or types, window messages, the screen's pixels, answers to its boxes.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace cc::test {

extern std::wstring gProgram, gScreenshots;   // the end-to-end run's program and screenshot folder
// Key chords: each chord's keys go down in order and up in reverse ({{VK_CONTROL, VK_TAB}} is Ctrl+Tab).
using Chords = std::initializer_list<std::initializer_list<WORD>>;

inline RECT ScreenRect(HWND hwnd) { RECT r{}; return GetWindowRect(hwnd, &r), r; }
COLORREF ScreenPixel(POINT screen);
// Whether `done` came true, asked every 50 ms, within the time.
template <class Done> bool WaitFor(Done done, int timeoutMs = 5000) {
    for (int waited = 0; !done(); waited += 50, Sleep(50))
        if (waited >= timeoutMs) return false;
    return true;
}

class ProgramDriver {
public:
    explicit ProgramDriver(std::wstring exe = gProgram, std::wstring screenshots = gScreenshots)
        : exe_(std::move(exe)), screenshots_(std::move(screenshots)) {}
    ~ProgramDriver();
    bool start();   // launches and waits for the main window
    HWND window() const { return window_; }
    HANDLE process() const { return process_.hProcess; }
    HWND control(const char* name) const;
    std::wstring text(HWND control) const;
    std::wstring text(const char* name) const { return text(control(name)); }
    bool waitForText(HWND control, const std::wstring& expected, int timeoutMs = 60000) const {
        return WaitFor([&] { return text(control) == expected; }, timeoutMs);
    }

    // Real input. A click at the middle (with `wait`, returns once handled), on a tab, on a checked list's box.
    void clickControl(HWND control, bool wait = true);
    void click(const char* name, bool wait = true) { clickControl(control(name), wait); }
    void clickTab(HWND tabs, int index);
    void openPage(const char* tabs, int page) { clickTab(control(tabs), page); }
    void clickCheckBox(HWND list, int item);
    static void mouseAt(POINT screen, int clicks = 0);   // moves, then clicks
    static void keys(Chords chords);                      // to the window with the focus
    HWND focus() const;                                   // the program's window with the keyboard focus

    // The checked lists and the disk table, read through the program's memory.
    int listCount(HWND list) const { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }
    std::wstring listText(HWND list, int item, int column = 0) const;
    bool listChecked(HWND list, int item) const {
        return (SendMessageW(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
    }
    std::vector<std::wstring> items(HWND list) const { return each(list, [&](int i) { return listText(list, i); }); }
    std::vector<bool> checks(HWND list) const { return each(list, [&](int i) { return listChecked(list, i); }); }
    bool allChecked(HWND list) const { const auto c = checks(list); return std::find(c.begin(), c.end(), false) == c.end(); }
    int findItem(HWND list, const std::wstring& text) const {   // -1 if none
        const auto all = items(list);
        const auto at = std::find(all.begin(), all.end(), text);
        return at == all.end() ? -1 : static_cast<int>(at - all.begin());
    }
    std::wstring tabTip(HWND tabs, int index) const;      // what the strip's tooltip shows over a tab

    // Waits for the program's modal box and answers it: with a button, after typing `typed` into its
    // edit line if it has one, or with real keys. Its text once it has gone; empty if none came or it stayed.
    std::wstring answerBox(int button, const std::wstring& typed = L"") const;
    std::wstring answerBoxByKeys(Chords chords) const { return answer([&](HWND) { keys(chords); }); }
    HWND waitForWindow(const wchar_t* windowClass) const;   // visible, of the program ("#32768": a menu)

    // Sends a message that passes a rectangle (WM_DPICHANGED, LVM_GETITEMRECT, ...) in the program's memory;
    // what it holds once the message is handled.
    RECT remoteRect(HWND control, UINT message, WPARAM index, RECT in = {}) const;
    void settle(int milliseconds = 250) const;   // lets the program handle what it was sent, and repaint
    bool screenshot(const std::wstring& name) const;   // <screenshots>/<name>.png, on a thread in COM
    int closeAndWait() { return PostMessageW(window_, WM_CLOSE, 0, 0), waitForExit(); }   // the exit code, or -1 on a time-out
    int waitForExit();

private:
    template <class Item> auto each(HWND list, Item item) const -> std::vector<decltype(item(0))> {   // in order
        std::vector<decltype(item(0))> all;
        for (int i = 0; i < listCount(list); ++i) all.push_back(item(i));
        return all;
    }
    void clickAt(HWND control, POINT client, bool wait = true);   // real input at a point of the control
    std::wstring answer(const std::function<void(HWND)>& how) const;

    std::wstring exe_, screenshots_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

}  // namespace cc::test
