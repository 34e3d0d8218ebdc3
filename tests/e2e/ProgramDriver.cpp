#include "ProgramDriver.h"

#include <commctrl.h>

#include <algorithm>
#include <set>
#include <vector>

#include "PngWriter.h"
#include "WindowSearch.h"
#include "ui/Catalogue.h"
#include "ui/win32/Win32Window.h"

namespace cc::test {

ProgramDriver::ProgramDriver(std::wstring exe, std::wstring screenshots)
    : exe_(std::move(exe)), screenshots_(std::move(screenshots)) {}

ProgramDriver::~ProgramDriver() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

bool ProgramDriver::start() {
    STARTUPINFOW startup{sizeof startup};
    std::wstring command = L"\"" + exe_ + L"\"";
    if (!CreateProcessW(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        return false;
    WaitForInputIdle(process_.hProcess, 20000);
    for (int attempt = 0; attempt < 200 && !window_; ++attempt) {
        HWND candidate = nullptr;
        while ((candidate = FindWindowExW(nullptr, candidate, kMainWindowClass, nullptr))) {
            DWORD pid = 0;
            GetWindowThreadProcessId(candidate, &pid);
            if (pid == process_.dwProcessId && IsWindowVisible(candidate)) window_ = candidate;
        }
        if (!window_) Sleep(100);
    }
    if (window_) settle(500);
    return window_ != nullptr;
}

HWND ProgramDriver::control(int id) const {
    return FindDescendant(window_, [id](HWND hwnd) { return GetDlgCtrlID(hwnd) == id; });
}

HWND ProgramDriver::control(const char* name) const { return control(kFirstControlId + FindControl(name)); }

int ProgramDriver::currentTab(HWND tabs) const { return static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)); }

// TCM_GETITEMRECT writes through a pointer, so the RECT must live in the program's memory.
RECT ProgramDriver::remoteTabRect(HWND tabs, int index) const {
    RECT rect{};
    void* remote = VirtualAllocEx(process_.hProcess, nullptr, sizeof rect, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return rect;
    if (SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote)))
        ReadProcessMemory(process_.hProcess, remote, &rect, sizeof rect, nullptr);
    VirtualFreeEx(process_.hProcess, remote, 0, MEM_RELEASE);
    return rect;
}

void ProgramDriver::clickTab(HWND tabs, int index) {
    RECT r = remoteTabRect(tabs, index);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tabs, WM_LBUTTONUP, 0, at);
    settle();
}

namespace {

// A block in the program's memory for messages that write through a pointer.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    template <typename T>
    T* at(size_t offset = 0) const { return reinterpret_cast<T*>(static_cast<char*>(address_) + offset); }
    bool write(const void* data, size_t size, size_t offset = 0) const {
        return WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
    }
    bool read(void* data, size_t size, size_t offset = 0) const {
        return ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
    }

private:
    HANDLE process_;
    void* address_;
};

}  // namespace

int ProgramDriver::listCount(HWND list) const { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ProgramDriver::listText(HWND list, int item, int column) const {
    constexpr size_t kChars = 4096;
    RemoteBlock block(process_.hProcess, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    LVITEMW lv{};
    lv.iSubItem = column;
    lv.cchTextMax = kChars;
    lv.pszText = block.at<wchar_t>(sizeof(LVITEMW));
    block.write(&lv, sizeof lv);
    auto length = SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(block.at<LVITEMW>()));
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)), L'\0');
    if (length > 0) block.read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW));
    return text;
}

bool ProgramDriver::listChecked(HWND list, int item) const {
    auto state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void ProgramDriver::setListChecked(HWND list, int item, bool checked) const {
    RemoteBlock block(process_.hProcess, sizeof(LVITEMW));
    LVITEMW lv{};
    lv.stateMask = LVIS_STATEIMAGEMASK;
    lv.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    block.write(&lv, sizeof lv);
    SendMessageW(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(block.at<LVITEMW>()));
}

std::wstring ProgramDriver::text(HWND control) const {
    wchar_t buffer[1024]{};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000, &length);
    return buffer;
}

bool ProgramDriver::waitForText(HWND control, const std::wstring& expected, int timeoutMs) const {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (text(control) == expected) return true;
        Sleep(100);
    }
    return false;
}

void ProgramDriver::clickControl(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
    settle();
}

void ProgramDriver::mouseMoveTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = static_cast<LONG>(screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

void ProgramDriver::mouseButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

RECT ProgramDriver::screenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

void ProgramDriver::settle(int milliseconds) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);   // the queue is through
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(static_cast<DWORD>(milliseconds));
}

int ProgramDriver::screenshot(const std::wstring& name) const {
    RECT r{};
    GetWindowRect(window_, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();

    std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    std::set<std::uint32_t> colours;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
        std::uint32_t p = pixels[i] & 0xFFFFFF;
        colours.insert(p);
        rgb[i * 3] = static_cast<std::uint8_t>(p >> 16);
        rgb[i * 3 + 1] = static_cast<std::uint8_t>(p >> 8);
        rgb[i * 3 + 2] = static_cast<std::uint8_t>(p);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    CreateDirectoryW(screenshots_.c_str(), nullptr);
    if (!WritePng(screenshots_ + L"\\" + name + L".png", width, height, rgb)) return 0;
    return static_cast<int>(colours.size());
}

int ProgramDriver::closeAndWait() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return waitForExit();
}

int ProgramDriver::waitForExit() {
    if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return static_cast<int>(code);
}

}  // namespace cc::test
