#pragma once
// Starts the real program and works its window from outside, as a user and
// the system would: by real input where a user clicks, window messages,
// reading the screen, and answering its modal boxes.

#include <windows.h>

#include <string>

namespace cc::test {

class ProgramDriver {
public:
    explicit ProgramDriver(std::wstring exe, std::wstring screenshots = L"");
    ~ProgramDriver();

    bool start();   // launches and waits for the main window
    HWND window() const { return window_; }
    HANDLE process() const { return process_.hProcess; }
    HWND control(const char* name) const;

    void clickTab(HWND tabs, int index);
    // A click by posted mouse messages at the middle of a control; with
    // `wait`, returns once the program has handled it.
    void clickControl(HWND control, bool wait = true);
    // A real mouse click (SendInput) on a checked list's item box.
    void clickCheckBox(HWND list, int item);
    static void mouseAt(POINT screen, int clicks = 0);   // moves there, then clicks
    static void mouseButton(bool down);

    // The checked lists and the disk table, read through the program's memory.
    int listCount(HWND list) const;
    std::wstring listText(HWND list, int item, int column = 0) const;
    bool listChecked(HWND list, int item) const;
    int findItem(HWND list, const std::wstring& text) const;   // -1 if none
    std::wstring text(HWND control) const;
    bool waitForText(HWND control, const std::wstring& expected, int timeoutMs = 60000) const;

    // The program's visible modal box, its text and caption; answers it with
    // IDOK or IDCANCEL after typing `typed` into its edit line, if given.
    HWND waitForBox(int timeoutMs = 5000) const;
    static std::wstring boxText(HWND box);
    static void answerBox(HWND box, int button, const std::wstring& typed = L"");

    // Lets the program handle what it was sent and repaint.
    void settle(int milliseconds = 250) const;
    // Saves the window's pixels as <screenshots>/<name>.png.
    bool screenshot(const std::wstring& name) const;
    static COLORREF pixel(POINT screen);
    int closeAndWait();   // the exit code, or -1 on a time-out
    int waitForExit();

private:
    RECT remoteRect(HWND control, UINT message, WPARAM index, RECT in = {}) const;

    std::wstring exe_, screenshots_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

RECT ScreenRect(HWND hwnd);

}  // namespace cc::test
