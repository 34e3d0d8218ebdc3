#pragma once
// Starts the real program and works its window from outside, as a user and
// the system would: real input where a user clicks, window messages, the
// screen's pixels, and answers to its modal boxes.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace cc::test {

extern std::wstring gProgram, gScreenshots;   // the end-to-end run's program and screenshot folder

RECT ScreenRect(HWND hwnd);
// Whether `done` came true, asked every 50 ms, within the time.
template <class Done> bool WaitFor(Done done, int timeoutMs) {
    for (int waited = 0; !done(); waited += 50, Sleep(50))
        if (waited >= timeoutMs) return false;
    return true;
}
COLORREF ScreenPixel(POINT screen);

class ProgramDriver {
public:
    explicit ProgramDriver(std::wstring exe, std::wstring screenshots = L"");
    ~ProgramDriver();
    bool start();   // launches and waits for the main window
    HWND window() const { return window_; }
    HANDLE process() const { return process_.hProcess; }
    HWND control(const char* name) const;

    void clickTab(HWND tabs, int index);
    // A real click at the middle; with `wait`, returns once handled.
    void clickControl(HWND control, bool wait = true);
    void clickCheckBox(HWND list, int item);   // real input on a checked list's box
    static void mouseAt(POINT screen, int clicks = 0);   // real input: moves, then clicks
    // Real key presses in one batch: each chord's keys go down in order and
    // up in reverse ({{VK_CONTROL, VK_TAB}} is Ctrl+Tab), to the window with the focus.
    static void keys(std::initializer_list<std::initializer_list<WORD>> chords);
    HWND focus() const;   // the program's window with the keyboard focus

    // The checked lists and the disk table, read through the program's memory.
    int listCount(HWND list) const;
    std::wstring listText(HWND list, int item, int column = 0) const;
    bool listChecked(HWND list, int item) const;
    int findItem(HWND list, const std::wstring& text) const;   // -1 if none
    std::wstring text(HWND control) const;
    std::wstring tabTip(HWND tabs, int index) const;   // what the strip's tooltip shows over a tab
    bool waitForText(HWND control, const std::wstring& expected, int timeoutMs = 60000) const;

    // The program's modal box; answered with IDOK or IDCANCEL after typing
    // `typed` into its edit line, if it has one.
    HWND waitForBox() const;
    static std::wstring boxText(HWND box);
    static void answerBox(HWND box, int button, const std::wstring& typed = L"");

    // What Windows sends on a move to a monitor of that DPI: WM_DPICHANGED with the rectangle it suggests.
    void sendDpiChanged(int dpi, RECT suggested) const;

    // The steps as a user names them.
    void openPage(const char* tabs, int page) { clickTab(control(tabs), page); }
    std::vector<std::wstring> items(HWND list) const;   // every item's text, in order
    bool allChecked(HWND list) const;
    // Clicks the box of each item whose mark is not `keep(text)`; true once every item shows it.
    bool checkOnly(HWND list, const std::function<bool(const std::wstring&)>& keep);
    // The junk cleaner's pages (outer tab 3). 磁盘: every drive listed ("仅列表本地磁盘" off), all
    // checked; then a click on every box but `drive`'s. True if all of it showed as it should.
    bool chooseDrive(const std::wstring& drive);
    void recommendPatterns() { openPage("高级选择夹3", 2), clickControl(control("按钮10")); }   // 类型: 推荐
    bool scanJunk();   // 扫描: "扫描垃圾", then the caption "扫描" that only the scan's end brings back
    // Waits for the program's box, answers it (see answerBox) and returns its text; empty if none came.
    std::wstring answerNextBox(int button, const std::wstring& typed = L"") const;

    void settle(int milliseconds = 250) const;   // lets the program handle what it was sent, and repaint
    bool screenshot(const std::wstring& name) const;   // <screenshots>/<name>.png
    int closeAndWait();   // the exit code, or -1 on a time-out
    int waitForExit();

private:
    void clickAt(HWND control, POINT client, bool wait = true);   // real input at a point of the control
    HWND findWindow(const wchar_t* windowClass) const;   // visible, of the program
    // A rectangle the control writes through a pointer into the program's memory.
    RECT remoteRect(HWND control, UINT message, WPARAM index, RECT in = {}) const;

    std::wstring exe_, screenshots_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

}  // namespace cc::test
