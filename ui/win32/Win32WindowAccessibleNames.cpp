// Names for assistive technology. Active Accessibility's standard objects
// name a control by its window text, or (list boxes, combo boxes and edit
// boxes on Windows, edit boxes under Wine) by the static text just before it
// in the window order. Controls whose text shows, the buttons, the check box
// and the links, name themselves; these are the others. Neither a list view
// nor a tab control nor the title-bar buttons draw their window text, so
// giving them one changes no pixel; the labels are hidden statics. A tab is
// named by its text, or where it shows an icon only, by its tooltip.
#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "platform/win32/Utf.h"
#include "ui/win32/TabTips.h"
#include "ui/win32/Win32Window.h"

namespace cc {
namespace {

struct Name {
    std::string_view control;
    std::string_view name;
};

// A list takes the label beside it, or where there is none the tab of its page.
constexpr std::array<Name, 15> kNames{{
    {"图形按钮_最小化", "最小化"},
    {"图形按钮_最大化", "最大化"},
    {"图形按钮_关闭", "关闭"},
    {"高级选择夹1", "功能"},
    {"高级选择夹2", "系统信息"},
    {"高级选择夹3", "垃圾清理"},
    {"选择1", "无效快捷方式列表"},
    {"选择列表框1", "扫描"},
    {"选择列表框2", "磁盘"},
    {"选择列表框3", "类型"},
    {"超级列表框1", "磁盘信息"},
    {"列表框1", "硬盘"},
    {"列表框2", "网卡"},
    {"组合框_自动释放值", "自动释放间隔"},
    {"编辑框_强制", "强制释放目标值"},
}};

bool NamedByLabel(ControlKind kind) {
    return kind == ControlKind::ListBox || kind == ControlKind::ComboBox || kind == ControlKind::EditBox;
}

bool NamedByText(ControlKind kind) {
    return kind != ControlKind::ComboBox && kind != ControlKind::EditBox;   // their text is what the user typed
}

const Name* NameOf(const ControlSpec& spec) {
    const auto entry = std::find_if(kNames.begin(), kNames.end(), [&](const Name& n) { return n.control == spec.name; });
    return entry == kNames.end() ? nullptr : &*entry;
}

}  // namespace

std::string Win32Window::captionWhenMade(const ControlSpec& spec) {
    const Name* entry = NameOf(spec);
    return std::string(entry && NamedByText(spec.kind) ? entry->name : spec.text);
}

void Win32Window::nameControls(const std::vector<int>& batch) {
    for (int index : batch) {
        const Control& c = controls_[index];
        const ControlSpec& spec = *c.widget.spec;
        if (const TabSpec* tabs = FindTabSpec(spec.name); tabs && !tabs->showText) NameTabsByTips(c.hwnd, *tabs);
        const Name* entry = NameOf(spec);
        if (!entry) continue;
        const std::wstring name = Widen(entry->name);
        if (NamedByText(spec.kind)) SetWindowTextW(c.hwnd, name.c_str());
        if (!NamedByLabel(spec.kind)) continue;
        HWND label = CreateWindowExW(0, L"STATIC", name.c_str(), WS_CHILD | SS_LEFT, 0, 0, 0, 0, GetParent(c.hwnd),
                                     nullptr, instance_, nullptr);
        HWND above = GetWindow(c.hwnd, GW_HWNDPREV);
        SetWindowPos(label, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    nameMaximiseButton();
}

void Win32Window::nameMaximiseButton() {
    const Control* c = find("图形按钮_最大化");
    if (c && c->hwnd) SetWindowTextW(c->hwnd, maximised_ ? L"还原" : L"最大化");
}

}  // namespace cc
