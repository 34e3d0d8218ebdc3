#pragma once
// Starts the real program and works its window from outside, as a user and
// the system would: by control ID, window messages and screenshots.

#include <windows.h>

#include <string>

namespace cc::test {

class ProgramDriver {
public:
    ProgramDriver(std::wstring exe, std::wstring screenshots);
    ~ProgramDriver();

    bool start();                    // launches and waits for the main window
    HWND window() const { return window_; }
    DWORD processId() const { return process_.dwProcessId; }
    HWND control(int id) const;      // any descendant with that control ID
    HWND control(const char* name) const;

    int currentTab(HWND tabs) const;
    // Clicks the tab's item with the mouse messages a real click sends.
    void clickTab(HWND tabs, int index);
    // List views of the program (checked lists, the disk table), read and
    // set through buffers in the program's own memory.
    int listCount(HWND list) const;
    std::wstring listText(HWND list, int item, int column = 0) const;
    bool listChecked(HWND list, int item) const;
    void setListChecked(HWND list, int item, bool checked) const;
    std::wstring text(HWND control) const;
    // Waits until the control's text is the given one; false on a time-out.
    bool waitForText(HWND control, const std::wstring& expected, int timeoutMs = 60000) const;

    // A click by posted mouse messages at the middle of a control.
    void clickControl(HWND control);
    // Real synthetic input (SendInput), in screen coordinates.
    static void mouseMoveTo(POINT screen);
    static void mouseButton(bool down);
    static RECT screenRect(HWND hwnd);
    // Lets the program handle what it was sent and repaint.
    void settle(int milliseconds = 250) const;
    // Saves the window's pixels as build/screenshots/<name>.png; returns the
    // number of distinct colours seen, so an empty capture shows.
    int screenshot(const std::wstring& name) const;

    // Sends WM_CLOSE and waits; the process's exit code, or -1 on a time-out.
    int closeAndWait();
    int waitForExit();

private:
    RECT remoteTabRect(HWND tabs, int index) const;

    std::wstring exe_;
    std::wstring screenshots_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

}  // namespace cc::test
