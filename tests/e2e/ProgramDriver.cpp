#include "ProgramDriver.h"

#include <commctrl.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "WindowSearch.h"
#include "ui/Catalogue.h"
#include "ui/win32/Win32Window.h"

namespace cc::test {
namespace {

// A block in the program's memory for messages that pass a pointer.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size)
        : process_(process), address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBlock() { VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
    LPARAM at(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
    void write(const void* data, size_t size) const { WriteProcessMemory(process_, address_, data, size, nullptr); }
    void read(void* data, size_t size, size_t offset = 0) const {
        ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
    }

private:
    HANDLE process_;
    void* address_;
};

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
    Put32(out, static_cast<std::uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    std::uint32_t crc = ~0u;
    for (size_t i = start; i < out.size(); ++i)
        for (int bit = 0, byte = out[i]; bit < 8; ++bit, byte >>= 1) crc = (crc >> 1) ^ (0xEDB88320u & (0u - ((crc ^ byte) & 1u)));
    Put32(out, ~crc);
}

// Rows of 8-bit RGB, each after its filter byte, in stored (uncompressed) deflate blocks.
std::vector<std::uint8_t> Png(int width, int height, const std::vector<std::uint8_t>& rows) {
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, header, z{0x78, 0x01};
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});
    std::uint32_t a = 1, b = 0;
    for (size_t pos = 0; pos < rows.size(); pos += 65535) {
        auto n = static_cast<std::uint16_t>(std::min<size_t>(65535, rows.size() - pos));
        z.insert(z.end(), {pos + n >= rows.size(), static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                           static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
        z.insert(z.end(), rows.begin() + static_cast<long>(pos), rows.begin() + static_cast<long>(pos + n));
    }
    for (std::uint8_t byte : rows) b = (b + (a = (a + byte) % 65521)) % 65521;
    Put32(z, (b << 16) | a);
    Chunk(png, "IHDR", header);
    Chunk(png, "IDAT", z);
    Chunk(png, "IEND", {});
    return png;
}

}  // namespace

RECT ScreenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

ProgramDriver::ProgramDriver(std::wstring exe, std::wstring screenshots)
    : exe_(std::move(exe)), screenshots_(std::move(screenshots)) {}

ProgramDriver::~ProgramDriver() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
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

HWND ProgramDriver::control(const char* name) const {
    int id = kFirstControlId + FindControl(name);
    return FindDescendant(window_, [id](HWND hwnd) { return GetDlgCtrlID(hwnd) == id; });
}

RECT ProgramDriver::remoteRect(HWND control, UINT message, WPARAM index, RECT in) const {
    RemoteBlock block(process_.hProcess, sizeof(RECT));
    block.write(&in, sizeof in);
    RECT rect{};
    if (SendMessageW(control, message, index, block.at())) block.read(&rect, sizeof rect);
    return rect;
}

void ProgramDriver::clickTab(HWND tabs, int index) {
    RECT r = remoteRect(tabs, TCM_GETITEMRECT, index);
    LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tabs, WM_LBUTTONUP, 0, at);
    settle();
}

void ProgramDriver::clickControl(HWND control, bool wait) {
    RECT r{};
    GetClientRect(control, &r);
    LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
    if (wait) settle();
}

void ProgramDriver::clickCheckBox(HWND list, int item) {
    SendMessageW(list, LVM_ENSUREVISIBLE, item, FALSE);
    SetForegroundWindow(window_);
    settle(100);
    RECT bounds = remoteRect(list, LVM_GETITEMRECT, item, RECT{LVIR_BOUNDS, 0, 0, 0});
    POINT box{bounds.left + 10, (bounds.top + bounds.bottom) / 2};   // the box opens the row
    ClientToScreen(list, &box);
    mouseAt(box, 1);
    settle();
}

void ProgramDriver::mouseAt(POINT screen, int clicks) {
    SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>(screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    input.mi.dy = static_cast<LONG>(screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(30);
    for (int i = 0; i < clicks; ++i) {
        mouseButton(true);
        mouseButton(false);
    }
}

void ProgramDriver::mouseButton(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

int ProgramDriver::listCount(HWND list) const { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ProgramDriver::listText(HWND list, int item, int column) const {
    constexpr size_t kChars = 4096;
    RemoteBlock block(process_.hProcess, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    LVITEMW lv{};
    lv.iSubItem = column;
    lv.cchTextMax = kChars;
    lv.pszText = reinterpret_cast<wchar_t*>(block.at(sizeof(LVITEMW)));
    block.write(&lv, sizeof lv);
    auto length = SendMessageW(list, LVM_GETITEMTEXTW, item, block.at());
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)), L'\0');
    if (length > 0) block.read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW));
    return text;
}

bool ProgramDriver::listChecked(HWND list, int item) const {
    auto state = static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK));
    return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

int ProgramDriver::findItem(HWND list, const std::wstring& text) const {
    for (int i = 0; i < listCount(list); ++i)
        if (listText(list, i) == text) return i;
    return -1;
}

std::wstring ProgramDriver::text(HWND control) const {
    wchar_t buffer[1024]{};
    DWORD_PTR length = 0;
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000, &length);
    return buffer;
}

bool ProgramDriver::waitForText(HWND control, const std::wstring& expected, int timeoutMs) const {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
        if (text(control) == expected) return true;
        Sleep(50);
    }
    return false;
}

HWND ProgramDriver::waitForBox(int timeoutMs) const {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        HWND box = nullptr;
        while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr))) {
            DWORD pid = 0;
            GetWindowThreadProcessId(box, &pid);
            if (pid == process_.dwProcessId && IsWindowVisible(box)) return box;
        }
        Sleep(50);
    }
    return nullptr;
}

// A message box's text, or an input box's prompt: its static with a text
// (a message box's icon is a static too).
std::wstring ProgramDriver::boxText(HWND box) {
    HWND text = FindDescendant(box, [](HWND hwnd) {
        wchar_t cls[16]{};
        GetClassNameW(hwnd, cls, 16);
        return lstrcmpiW(cls, L"Static") == 0 && GetWindowTextLengthW(hwnd) > 0;
    });
    wchar_t buffer[1024]{};
    if (text) GetWindowTextW(text, buffer, 1024);
    return buffer;
}

void ProgramDriver::answerBox(HWND box, int button, const std::wstring& typed) {
    if (HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr))
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    for (int waited = 0; IsWindow(box) && waited < 5000; waited += 50) Sleep(50);
}

void ProgramDriver::settle(int milliseconds) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);   // the queue is through
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(static_cast<DWORD>(milliseconds));
}

COLORREF ProgramDriver::pixel(POINT screen) {
    HDC dc = GetDC(nullptr);
    COLORREF colour = GetPixel(dc, screen.x, screen.y);
    ReleaseDC(nullptr, dc);
    return colour;
}

bool ProgramDriver::screenshot(const std::wstring& name) const {
    RECT r = ScreenRect(window_);
    int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB}};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    DeleteObject(SelectObject(memory, bitmap));
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::vector<std::uint8_t> rows;
    for (int i = 0; i < width * height; ++i) {
        const std::uint32_t p = static_cast<const std::uint32_t*>(bits)[i];
        if (i % width == 0) rows.push_back(0);   // each row's filter byte
        rows.insert(rows.end(), {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p)});
    }
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    std::filesystem::create_directories(screenshots_);
    const std::vector<std::uint8_t> png = Png(width, height, rows);
    std::ofstream file(std::filesystem::path(screenshots_) / (name + L".png"), std::ios::binary);
    return static_cast<bool>(file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size())));
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
