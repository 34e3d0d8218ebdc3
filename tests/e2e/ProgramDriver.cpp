#include "ProgramDriver.h"

#include <wincodec.h>

#include <cstdio>
#include <filesystem>

#include "platform/win32/Handles.h"
#include "ui/Catalogue.h"
#include "ui/win32/GdiOwners.h"
#include "ui/win32/Win32Window.h"

namespace cc::test {

std::wstring gProgram, gScreenshots;

namespace {

// A block in the program's memory for messages that pass a pointer.
struct RemoteBlock {
    RemoteBlock(HANDLE process, size_t size)
        : process(process), at(static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE))) {}
    ~RemoteBlock() { VirtualFreeEx(process, at, 0, MEM_RELEASE); }
    template <class T> T* put(const T& value) {   // where it is in the program
        return WriteProcessMemory(process, at, &value, sizeof value, nullptr), reinterpret_cast<T*>(at);
    }
    void get(const void* from, void* to, size_t size) { ReadProcessMemory(process, from, to, size, nullptr); }
    HANDLE process;
    char* at;
};

// Sends a message that fills in the text of `item`, a copy in the program's memory whose `text` points to a
// buffer there of `chars` characters; the text it holds then.
template <class Item>
std::wstring RemoteText(HANDLE process, HWND to, UINT message, WPARAM w, Item item, wchar_t* Item::*text, int chars) {
    RemoteBlock block(process, sizeof item + chars * sizeof(wchar_t));
    std::wstring got(chars, L'\0');
    item.*text = reinterpret_cast<wchar_t*>(block.at + sizeof item);
    SendMessageW(to, message, w, LPARAM(block.put(item))), block.get(item.*text, got.data(), (chars - 1) * sizeof(wchar_t));
    return got.c_str();
}

void Mouse(DWORD flags, POINT screen = {}) {
    INPUT input{INPUT_MOUSE};
    input.mi = {screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1), screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1), 0, flags};
    SendInput(1, &input, sizeof input), Sleep(30);
}

}  // namespace

COLORREF ScreenPixel(POINT screen) {
    const UniqueHdcWindow dc(nullptr);
    return GetPixel(dc.get(), screen.x, screen.y);
}

ProgramDriver::~ProgramDriver() {
    if (!process_.hProcess) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hProcess), CloseHandle(process_.hThread);
}

bool ProgramDriver::start() {
    STARTUPINFOW startup{sizeof startup};
    std::wstring command = L"\"" + exe_ + L"\"";
    // Once in a while (seen once in nine runs under Wine) the start fails at once; a second try, a moment
    // later, tells a passing fault from a real one.
    for (int attempt = 1; !CreateProcessW(exe_.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_);
         ++attempt, Sleep(500)) {
        std::fprintf(stderr, "the program did not start (try %d): error %lu\n", attempt, GetLastError());
        if (attempt == 3) return false;
    }
    WaitForInputIdle(process_.hProcess, 20000);
    if (WaitFor([&] { return (window_ = waitForWindow(kMainWindowClass)) != nullptr; }, 20000)) return settle(500), true;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.hProcess, &code), std::fprintf(stderr, "no main window; the program's exit code: %lu\n", code);
    return false;
}

HWND ProgramDriver::waitForWindow(const wchar_t* windowClass) const {
    HWND found = nullptr;
    WaitFor([&] {
        DWORD pid = 0;
        while ((found = FindWindowExW(nullptr, found, windowClass, nullptr)))
            if (GetWindowThreadProcessId(found, &pid) && pid == process_.dwProcessId && IsWindowVisible(found)) return true;
        return false;
    });
    return found;
}

HWND ProgramDriver::control(const char* name) const {   // a page's controls are the window's grandchildren
    std::pair<int, HWND> search{kFirstControlId + FindControl(name), nullptr};
    EnumChildWindows(window_, [](HWND hwnd, LPARAM p) -> BOOL {
        auto& [id, found] = *reinterpret_cast<decltype(search)*>(p);
        return GetDlgCtrlID(hwnd) == id ? (found = hwnd, FALSE) : TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

RECT ProgramDriver::remoteRect(HWND control, UINT message, WPARAM index, RECT in) const {
    RemoteBlock block(process_.hProcess, sizeof in);
    if (RECT* there = block.put(in); SendMessageW(control, message, index, LPARAM(there))) block.get(there, &in, sizeof in);
    return in;
}

void ProgramDriver::clickTab(HWND tabs, int index) {
    const RECT r = remoteRect(tabs, TCM_GETITEMRECT, index);
    clickAt(tabs, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}
void ProgramDriver::clickControl(HWND control, bool wait) {
    RECT r{};
    clickAt(control, {(GetClientRect(control, &r), r.right / 2), r.bottom / 2}, wait);
}
void ProgramDriver::clickCheckBox(HWND list, int item) {
    SendMessageW(list, LVM_ENSUREVISIBLE, item, FALSE), settle(100);
    const RECT bounds = remoteRect(list, LVM_GETITEMRECT, item, RECT{LVIR_BOUNDS, 0, 0, 0});
    clickAt(list, {bounds.left + 10, (bounds.top + bounds.bottom) / 2});   // the box opens the row
}

// A real click, as the user's mouse makes it: the program sees the input the system delivers, capture and all.
void ProgramDriver::clickAt(HWND control, POINT client, bool wait) {
    SetForegroundWindow(window_), ClientToScreen(control, &client), mouseAt(client, 1);
    if (wait) settle();
}
void ProgramDriver::mouseAt(POINT screen, int clicks) {
    SetCursorPos(screen.x, screen.y);
    Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, screen);
    for (int i = 0; i < clicks; ++i) Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP);
}

void ProgramDriver::keys(Chords chords) {   // in one batch
    std::vector<INPUT> inputs;
    auto key = [&inputs](WORD vk, DWORD flags) {
        if ((vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE) flags |= KEYEVENTF_EXTENDEDKEY;
        inputs.push_back({INPUT_KEYBOARD}), inputs.back().ki = {vk, WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)), flags};
    };
    for (auto chord : chords) {
        for (WORD vk : chord) key(vk, 0);
        for (auto vk = chord.end(); vk != chord.begin();) key(*--vk, KEYEVENTF_KEYUP);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

HWND ProgramDriver::focus() const {
    GUITHREADINFO info{sizeof info};
    return GetGUIThreadInfo(process_.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

std::wstring ProgramDriver::listText(HWND list, int item, int column) const {
    LVITEMW lv{};
    lv.iSubItem = column, lv.cchTextMax = 4096;
    return RemoteText(process_.hProcess, list, LVM_GETITEMTEXTW, item, lv, &LVITEMW::pszText, lv.cchTextMax);
}

std::wstring ProgramDriver::text(HWND control) const {
    wchar_t buffer[1024]{};
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000, nullptr);
    return buffer;
}

std::wstring ProgramDriver::tabTip(HWND tabs, int index) const {
    HWND tips = reinterpret_cast<HWND>(SendMessageW(tabs, TCM_GETTOOLTIPS, 0, 0));
    return tips ? RemoteText(process_.hProcess, tips, TTM_GETTEXTW, 80, TOOLINFOW{sizeof(TOOLINFOW), 0, tabs, UINT_PTR(index)},
                             &TOOLINFOW::lpszText, 80) : L"?";
}

std::wstring ProgramDriver::answer(const std::function<void(HWND)>& how) const {
    HWND box = waitForWindow(L"#32770");
    if (!box) return L"";
    wchar_t shown[1024]{};   // the first static with a text (the icon is a static too)
    for (HWND label = nullptr; !*shown && (label = FindWindowExW(box, label, L"Static", nullptr));) GetWindowTextW(label, shown, 1024);
    how(box);
    return WaitFor([&] { return !IsWindow(box); }) ? shown : L"";
}

std::wstring ProgramDriver::answerBox(int button, const std::wstring& typed) const {
    return answer([&](HWND box) {
        if (HWND edit = FindWindowExW(box, nullptr, L"Edit", nullptr)) SendMessageW(edit, WM_SETTEXT, 0, LPARAM(typed.c_str()));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), LPARAM(GetDlgItem(box, button)));
    });
}

void ProgramDriver::settle(int milliseconds) const {
    SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);   // the queue is through
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(static_cast<DWORD>(milliseconds));
}

bool ProgramDriver::screenshot(const std::wstring& name) const {
    const RECT r = ScreenRect(window_);
    const UniqueHdcWindow screen(nullptr);
    const UniqueHdc memory{CreateCompatibleDC(screen.get())};
    const UniqueHbitmap bitmap{CreateCompatibleBitmap(screen.get(), r.right - r.left, r.bottom - r.top)};
    {
        const SelectedObject selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, r.right - r.left, r.bottom - r.top, screen.get(), r.left, r.top, SRCCOPY);
    }
    std::filesystem::create_directories(screenshots_);
    const std::wstring path = screenshots_ + L"\\" + name + L".png";
    ComPtr<IWICImagingFactory> factory;   // the system's PNG encoder
    ComPtr<IWICBitmap> source;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    const bool saved =
        SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory, factory.putVoid())) &&
        SUCCEEDED(factory->CreateBitmapFromHBITMAP(bitmap.get(), nullptr, WICBitmapIgnoreAlpha, source.put())) &&
        SUCCEEDED(factory->CreateStream(stream.put())) && SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
        SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put())) &&
        SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) &&
        SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
        SUCCEEDED(frame->WriteSource(source.get(), nullptr)) && SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    return saved;
}

int ProgramDriver::waitForExit() {
    DWORD code = 0;
    const bool ended = WaitForSingleObject(process_.hProcess, 20000) == WAIT_OBJECT_0 && GetExitCodeProcess(process_.hProcess, &code);
    return ended ? static_cast<int>(code) : -1;
}

}  // namespace cc::test
