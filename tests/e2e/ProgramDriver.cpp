#include "ProgramDriver.h"

#include <cstdio>

#include <commctrl.h>
#include <wincodec.h>

#include <filesystem>
#include <iterator>
#include <vector>
#include <tuple>

#include "platform/win32/Handles.h"
#include "ui/Catalogue.h"
#include "ui/win32/Win32Window.h"

namespace cc::test {
namespace {

// A block in the program's memory for messages that pass a pointer.
struct RemoteBlock {
    RemoteBlock(HANDLE process, size_t size)
        : process(process), at(static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE))) {}
    ~RemoteBlock() { VirtualFreeEx(process, at, 0, MEM_RELEASE); }
    HANDLE process;
    char* at;
};

HWND FindDescendant(HWND parent, bool (*wanted)(HWND, LPARAM), LPARAM with) {
    std::tuple<decltype(wanted), LPARAM, HWND> search{wanted, with, nullptr};
    EnumChildWindows(parent, [](HWND hwnd, LPARAM p) -> BOOL {
        auto& [test, with, found] = *reinterpret_cast<decltype(search)*>(p);
        return test(hwnd, with) ? (found = hwnd, FALSE) : TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return std::get<2>(search);
}

void Mouse(DWORD flags, POINT screen = {}) {
    INPUT input{INPUT_MOUSE};
    input.mi = {screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1), screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1),
                0, flags};
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

}  // namespace

RECT ScreenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

COLORREF ScreenPixel(POINT screen) {
    HDC dc = GetDC(nullptr);
    COLORREF colour = GetPixel(dc, screen.x, screen.y);
    ReleaseDC(nullptr, dc);
    return colour;
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
    // Once in a while (seen once in nine runs under Wine) the start fails at
    // once; a second try, a moment later, tells a passing fault from a real one.
    for (int attempt = 1;; ++attempt) {
        if (CreateProcessW(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            break;
        std::fprintf(stderr, "the program did not start (try %d): error %lu\n", attempt, GetLastError());
        if (attempt == 3) return false;
        Sleep(500);
    }
    WaitForInputIdle(process_.hProcess, 20000);
    if (WaitFor([&] { return (window_ = findWindow(kMainWindowClass)) != nullptr; }, 20000)) return settle(500), true;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code);
    std::fprintf(stderr, "no main window; the program's exit code: %lu\n", code);
    return false;
}

HWND ProgramDriver::findWindow(const wchar_t* windowClass) const {
    for (HWND candidate = nullptr; (candidate = FindWindowExW(nullptr, candidate, windowClass, nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(candidate, &pid);
        if (pid == process_.dwProcessId && IsWindowVisible(candidate)) return candidate;
    }
    return nullptr;
}

HWND ProgramDriver::control(const char* name) const {
    return FindDescendant(window_, [](HWND hwnd, LPARAM id) { return GetDlgCtrlID(hwnd) == id; },
                          kFirstControlId + FindControl(name));
}

RECT ProgramDriver::remoteRect(HWND control, UINT message, WPARAM index, RECT in) const {
    RemoteBlock block(process_.hProcess, sizeof(RECT));
    WriteProcessMemory(block.process, block.at, &in, sizeof in, nullptr);
    RECT rect{};
    if (SendMessageW(control, message, index, LPARAM(block.at))) ReadProcessMemory(block.process, block.at, &rect, sizeof rect, nullptr);
    return rect;
}

void ProgramDriver::sendDpiChanged(int dpi, RECT suggested) const {
    RemoteBlock block(process_.hProcess, sizeof suggested);
    WriteProcessMemory(block.process, block.at, &suggested, sizeof suggested, nullptr);
    SendMessageW(window_, 0x02E0 /*WM_DPICHANGED*/, MAKEWPARAM(dpi, dpi), LPARAM(block.at));
}

void ProgramDriver::clickTab(HWND tabs, int index) {
    RECT r = remoteRect(tabs, TCM_GETITEMRECT, index);
    clickAt(tabs, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void ProgramDriver::clickControl(HWND control, bool wait) {
    RECT r{};
    GetClientRect(control, &r);
    clickAt(control, {r.right / 2, r.bottom / 2}, wait);
}

void ProgramDriver::clickCheckBox(HWND list, int item) {
    SendMessageW(list, LVM_ENSUREVISIBLE, item, FALSE);
    settle(100);
    RECT bounds = remoteRect(list, LVM_GETITEMRECT, item, RECT{LVIR_BOUNDS, 0, 0, 0});
    clickAt(list, {bounds.left + 10, (bounds.top + bounds.bottom) / 2});   // the box opens the row
}

// A real click, as the user's mouse makes it: the program sees the input
// the system delivers, capture and all.
void ProgramDriver::clickAt(HWND control, POINT client, bool wait) {
    SetForegroundWindow(window_);
    ClientToScreen(control, &client);
    mouseAt(client, 1);
    if (wait) settle();
}

void ProgramDriver::mouseAt(POINT screen, int clicks) {
    SetCursorPos(screen.x, screen.y);
    Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen);
    for (int i = 0; i < clicks; ++i) Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP);
}

void ProgramDriver::keys(std::initializer_list<std::initializer_list<WORD>> chords) {
    auto key = [](WORD vk, bool up) {
        INPUT input{INPUT_KEYBOARD};
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
        bool extended = (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE;
        input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        return input;
    };
    std::vector<INPUT> inputs;
    for (auto chord : chords) {
        for (WORD vk : chord) inputs.push_back(key(vk, false));
        for (auto vk = std::rbegin(chord); vk != std::rend(chord); ++vk) inputs.push_back(key(*vk, true));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND ProgramDriver::focus() const {
    GUITHREADINFO info{sizeof info};
    return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

int ProgramDriver::listCount(HWND list) const { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ProgramDriver::listText(HWND list, int item, int column) const {
    constexpr int kChars = 4096;
    RemoteBlock block(process_.hProcess, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
    LVITEMW lv{};
    lv.iSubItem = column, lv.cchTextMax = kChars, lv.pszText = reinterpret_cast<wchar_t*>(block.at + sizeof(LVITEMW));
    WriteProcessMemory(block.process, block.at, &lv, sizeof lv, nullptr);
    std::wstring text(std::max<LRESULT>(SendMessageW(list, LVM_GETITEMTEXTW, item, LPARAM(block.at)), 0), L'\0');
    ReadProcessMemory(block.process, lv.pszText, text.data(), text.size() * sizeof(wchar_t), nullptr);
    return text;
}

bool ProgramDriver::listChecked(HWND list, int item) const {
    return (SendMessageW(list, LVM_GETITEMSTATE, item, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
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

std::wstring ProgramDriver::tabTip(HWND tabs, int index) const {
    constexpr int kChars = 80;
    RemoteBlock block(process_.hProcess, sizeof(TOOLINFOW) + kChars * sizeof(wchar_t));
    TOOLINFOW tool{sizeof tool, 0, tabs, static_cast<UINT_PTR>(index)};
    tool.lpszText = reinterpret_cast<wchar_t*>(block.at + sizeof tool);
    wchar_t text[kChars]{};
    WriteProcessMemory(block.process, block.at, &tool, sizeof tool, nullptr);
    WriteProcessMemory(block.process, tool.lpszText, text, sizeof text, nullptr);
    HWND tips = reinterpret_cast<HWND>(SendMessageW(tabs, TCM_GETTOOLTIPS, 0, 0));
    if (!tips) return L"?";
    SendMessageW(tips, TTM_GETTEXTW, kChars, LPARAM(block.at));
    ReadProcessMemory(block.process, tool.lpszText, text, sizeof text - sizeof(wchar_t), nullptr);
    return text;
}

bool ProgramDriver::waitForText(HWND control, const std::wstring& expected, int timeoutMs) const {
    return WaitFor([&] { return text(control) == expected; }, timeoutMs);
}

HWND ProgramDriver::waitForBox() const {
    HWND box = nullptr;
    WaitFor([&] { return (box = findWindow(L"#32770")) != nullptr; }, 5000);
    return box;
}

// A message box's text, an input box's prompt: the static with a text (the icon is a static too).
std::wstring ProgramDriver::boxText(HWND box) {
    HWND text = FindDescendant(box, [](HWND hwnd, LPARAM) {
        wchar_t cls[16]{};
        GetClassNameW(hwnd, cls, 16);
        return lstrcmpiW(cls, L"Static") == 0 && GetWindowTextLengthW(hwnd) > 0;
    }, 0);
    wchar_t buffer[1024]{};
    if (text) GetWindowTextW(text, buffer, 1024);
    return buffer;
}

void ProgramDriver::answerBox(HWND box, int button, const std::wstring& typed) {
    if (HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr))
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    WaitFor([&] { return !IsWindow(box); }, 5000);
}

std::vector<std::wstring> ProgramDriver::items(HWND list) const {
    std::vector<std::wstring> texts;
    for (int i = 0; i < listCount(list); ++i) texts.push_back(listText(list, i));
    return texts;
}

bool ProgramDriver::allChecked(HWND list) const {
    for (int i = 0; i < listCount(list); ++i)
        if (!listChecked(list, i)) return false;
    return true;
}

bool ProgramDriver::checkOnly(HWND list, const std::function<bool(const std::wstring&)>& keep) {
    bool shown = true;
    for (int i = 0; i < listCount(list); ++i) {
        const bool wanted = keep(listText(list, i));
        if (listChecked(list, i) != wanted) clickCheckBox(list, i);
        shown &= listChecked(list, i) == wanted;
    }
    return shown;
}

bool ProgramDriver::chooseDrive(const std::wstring& drive) {
    openPage("高级选择夹3", 1);
    const RECT localOnly = ScreenRect(control("选择框1"));   // its box, at the left end
    mouseAt({localOnly.left + 6, (localOnly.top + localOnly.bottom) / 2}, 1);
    settle();
    HWND drives = control("选择列表框2");
    return findItem(drives, drive) >= 0 && allChecked(drives) && checkOnly(drives, [&](auto& d) { return d == drive; });
}

bool ProgramDriver::scanJunk() {
    openPage("高级选择夹3", 0);
    HWND scan = control("按钮1");
    clickControl(scan);
    return waitForText(scan, L"扫描");
}

std::wstring ProgramDriver::answerNextBox(int button, const std::wstring& typed) const {
    HWND box = waitForBox();
    if (!box) return L"";
    const std::wstring shown = boxText(box);
    answerBox(box, button, typed);
    return shown;
}

void ProgramDriver::settle(int milliseconds) const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &result);   // the queue is through
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(static_cast<DWORD>(milliseconds));
}

// The window's pixels through the system's PNG encoder.
bool ProgramDriver::screenshot(const std::wstring& name) const {
    RECT r = ScreenRect(window_);
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::filesystem::create_directories(screenshots_);
    const std::wstring path = screenshots_ + L"\\" + name + L".png";
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmap> source;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    bool saved =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory, factory.putVoid())) &&
        SUCCEEDED(factory->CreateBitmapFromHBITMAP(bitmap, nullptr, WICBitmapIgnoreAlpha, source.put())) &&
        SUCCEEDED(factory->CreateStream(stream.put())) && SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) &&
        SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->WriteSource(source.get(), nullptr)) && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    DeleteObject(bitmap), DeleteDC(memory), ReleaseDC(nullptr, screen);
    return saved;
}

int ProgramDriver::closeAndWait() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    return waitForExit();
}

int ProgramDriver::waitForExit() {
    DWORD code = 0;
    if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0 || !GetExitCodeProcess(process_.hProcess, &code)) return -1;
    return static_cast<int>(code);
}

}  // namespace cc::test
