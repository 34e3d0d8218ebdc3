// The strip is handed a tooltip control (TCM_SETTOOLTIPS), so that it is the
// one the tab control hands out (TCM_GETTOOLTIPS), with one tool per named
// tab, numbered as the tabs are: that is where screen readers look for the
// name of a tab without text. The tools ask the strip for their text when
// they show, and follow the mouse themselves, so nothing changes on screen
// until the pointer rests on a tab. The program makes the tools because
// Wine's tab control makes none, even with TCS_TOOLTIPS; a tool a tab control
// did make is only moved.
#include "ui/win32/TabTips.h"

#include <commctrl.h>

#include <string>

#include "platform/win32/Utf.h"
#include "ui/win32/CommonControls.h"

namespace cc {
namespace {

HWND TipsOf(HWND strip) { return reinterpret_cast<HWND>(SendMessageW(strip, TCM_GETTOOLTIPS, 0, 0)); }

// One tool over each named tab, where the tab is now.
void PlaceTools(HWND strip, const TabSpec& spec) {
    HWND tips = TipsOf(strip);
    for (size_t i = 0; tips && i < spec.texts.size(); ++i) {
        if (spec.texts[i].empty()) continue;
        TOOLINFOW tool{TTTOOLINFOW_V1_SIZE};
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = strip;
        tool.uId = i;
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(strip, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&tool.rect));
        wchar_t text[80]{};   // a tool's text would be copied here; these have none of their own
        TOOLINFOW known{TTTOOLINFOW_V1_SIZE, 0, strip, i};
        known.lpszText = text;
        if (SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&known)))
            SendMessageW(tips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        else
            SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

LRESULT CALLBACK TipsProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    const TabSpec& spec = *reinterpret_cast<const TabSpec*>(data);
    if (message == WM_NOTIFY) {
        auto& info = *reinterpret_cast<NMTTDISPINFOW*>(lParam);
        if (info.hdr.code == TTN_GETDISPINFOW && info.hdr.hwndFrom == TipsOf(strip)) {
            const std::wstring name = info.hdr.idFrom < spec.texts.size() ? Widen(spec.texts[info.hdr.idFrom]) : L"";
            lstrcpynW(info.szText, name.c_str(), ARRAYSIZE(info.szText));
            info.lpszText = info.szText;
            info.hinst = nullptr;
            return 0;
        }
    }
    LRESULT result = comctl::DefSubclassProc(strip, message, wParam, lParam);
    if (message == WM_SIZE || message == TCM_SETITEMSIZE) PlaceTools(strip, spec);   // the tabs may have moved
    return result;
}

}  // namespace

void NameTabsByTips(HWND strip, const TabSpec& spec) {
    HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetAncestor(strip, GA_ROOT), nullptr,
                                nullptr, nullptr);
    if (!tips) return;
    SendMessageW(strip, TCM_SETTOOLTIPS, reinterpret_cast<WPARAM>(tips), 0);
    comctl::SetWindowSubclass(strip, TipsProc, 0, reinterpret_cast<DWORD_PTR>(&spec));
    PlaceTools(strip, spec);
}

}  // namespace cc
