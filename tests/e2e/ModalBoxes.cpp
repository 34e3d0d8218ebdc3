#include "ModalBoxes.h"

#include "WindowSearch.h"

namespace cc::test {
namespace {

std::wstring TextOf(HWND hwnd) {
    wchar_t buffer[1024]{};
    GetWindowTextW(hwnd, buffer, 1024);
    return buffer;
}

HWND ChildOfClass(HWND box, const wchar_t* className) {
    return FindDescendant(box, [className](HWND hwnd) {
        wchar_t cls[64]{};
        GetClassNameW(hwnd, cls, 64);
        if (lstrcmpiW(cls, className) != 0) return false;
        // A message box's icon is a static too: the text is the one with a caption.
        return lstrcmpiW(cls, L"Static") != 0 || GetWindowTextLengthW(hwnd) > 0;
    });
}

}  // namespace

HWND WaitForModalBox(DWORD processId, int timeoutMs) {
    for (int waited = 0; waited <= timeoutMs; waited += 50) {
        HWND candidate = nullptr;
        while ((candidate = FindWindowExW(nullptr, candidate, L"#32770", nullptr))) {
            DWORD pid = 0;
            GetWindowThreadProcessId(candidate, &pid);
            if (pid == processId && IsWindowVisible(candidate)) return candidate;
        }
        Sleep(50);
    }
    return nullptr;
}

std::wstring ModalBoxText(HWND box) {
    HWND text = ChildOfClass(box, L"Static");
    return text ? TextOf(text) : std::wstring();
}

std::wstring ModalBoxCaption(HWND box) { return TextOf(box); }

void TypeIntoModalBox(HWND box, const std::wstring& text) {
    if (HWND edit = ChildOfClass(box, L"Edit")) SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void AnswerModalBox(HWND box, int buttonId) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, buttonId)));
}

}  // namespace cc::test
