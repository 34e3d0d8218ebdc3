#include "ui/win32/InputBox.h"

#include <vector>

namespace cc {
namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

// Builds a DLGTEMPLATE in memory: no resource script needed for one small box.
class TemplateWriter {
public:
    void align() {
        while (words_.size() % 2) words_.push_back(0);   // DWORD alignment
    }
    void word(WORD w) { words_.push_back(w); }
    void dword(DWORD d) {
        word(LOWORD(d));
        word(HIWORD(d));
    }
    void text(const std::wstring& s) {
        for (wchar_t c : s) word(static_cast<WORD>(c));
        word(0);
    }
    void item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom, const std::wstring& title) {
        align();
        dword(style | WS_CHILD | WS_VISIBLE);
        dword(0);
        word(static_cast<WORD>(x));
        word(static_cast<WORD>(y));
        word(static_cast<WORD>(cx));
        word(static_cast<WORD>(cy));
        word(id);
        word(0xFFFF);
        word(atom);
        text(title);
        word(0);   // no creation data
    }
    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    std::vector<WORD> words_;
};

struct BoxState {
    std::wstring initial;
    std::wstring typed;
};

INT_PTR CALLBACK BoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<BoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetDlgItemTextW(dialog, kEditId, reinterpret_cast<BoxState*>(lParam)->initial.c_str());
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                HWND edit = GetDlgItem(dialog, kEditId);
                std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
                text.resize(static_cast<size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
                state->typed = std::move(text);
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

}  // namespace

std::optional<std::wstring> ShowInputBox(HWND owner, const std::wstring& prompt, const std::wstring& caption,
                                         const std::wstring& initial) {
    TemplateWriter t;
    t.dword(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    t.dword(0);
    t.word(4);   // items
    t.word(0);
    t.word(0);
    t.word(220);
    t.word(70);
    t.word(0);   // no menu
    t.word(0);   // standard class
    t.text(caption);
    t.word(9);
    t.text(L"宋体");
    t.item(SS_LEFT, 8, 8, 204, 10, kPromptId, 0x0082, prompt);
    t.item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 8, 22, 204, 13, kEditId, 0x0081, L"");
    t.item(BS_DEFPUSHBUTTON | WS_TABSTOP, 100, 46, 52, 15, IDOK, 0x0080, L"确定");
    t.item(BS_PUSHBUTTON | WS_TABSTOP, 160, 46, 52, 15, IDCANCEL, 0x0080, L"取消");

    BoxState state{initial, {}};
    INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t.get(), owner, BoxProc,
                                             reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return std::nullopt;
    return state.typed;
}

}  // namespace cc
