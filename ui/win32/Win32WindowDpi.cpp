// The window at its display's DPI: the design scaled by edges, and the move
// to a monitor of another DPI (WM_DPICHANGED), which re-lays out every
// control in place: nothing that holds state is recreated.
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/Scale.h"
#include "ui/win32/TabIcons.h"
#include "ui/win32/Win32Window.h"

namespace cc {
namespace {

// The first row a list shows (-1 for other controls), and showing it first
// again once the list has its new size and font, as far as the list's end allows.
int FirstRowShown(HWND control, ControlKind kind) {
    switch (kind) {
        case ControlKind::ListBox: return static_cast<int>(SendMessageW(control, LB_GETTOPINDEX, 0, 0));
        case ControlKind::CheckedListBox:
        case ControlKind::ReportListView: return static_cast<int>(SendMessageW(control, LVM_GETTOPINDEX, 0, 0));
        default: return -1;
    }
}

void ShowFromRow(HWND control, ControlKind kind, int row) {
    if (row < 0) return;
    if (kind == ControlKind::ListBox) {
        SendMessageW(control, LB_SETTOPINDEX, row, 0);
        return;
    }
    const int count = static_cast<int>(SendMessageW(control, LVM_GETITEMCOUNT, 0, 0));
    if (count == 0) return;
    SendMessageW(control, LVM_ENSUREVISIBLE, count - 1, FALSE);   // from the end, the row then scrolls to the top
    SendMessageW(control, LVM_ENSUREVISIBLE, row, FALSE);
}

}  // namespace

RECT Win32Window::pixelRect(const Control& c, Rect design) const {
    Rect r = ScaleRect(design, dpi_);
    // A combo box's window reaches down for its list.
    if (c.widget.spec && c.widget.spec->kind == ControlKind::ComboBox) r.height += ScaleValue(120, dpi_);
    return {r.left + c.origin.x, r.top + c.origin.y, r.left + c.origin.x + r.width, r.top + c.origin.y + r.height};
}

Rect Win32Window::designRect(const Control& c, const RECT& pixels) const {
    Rect design = UnscaleRect({pixels.left - c.origin.x, pixels.top - c.origin.y, pixels.right - pixels.left,
                               pixels.bottom - pixels.top},
                              dpi_);
    // The design height is the edit part's; the window reaches down for its list.
    if (c.widget.spec->kind == ControlKind::ComboBox) design.height = c.widget.spec->rect.height;
    return design;
}

// A tab strip at the DPI: its icons, every tab the same size so that the
// whole strip fits without scrolling, and its pages, which cover the whole
// tab control but the strip: the page's controls are placed from the tab
// control's corner, strip included, and what lies outside it is clipped.
void Win32Window::sizeTabStrip(int index) {
    const ControlSpec& spec = Controls()[index];
    const TabSpec& tabs = *FindTabSpec(spec.name);
    Control& c = controls_[index];
    if (!tabs.icons.empty()) {
        UniqueHimagelist icons{TabIconList(instance_, tabs.icons, ScaleValue(32, dpi_))};
        SendMessageW(c.hwnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(icons.get()));
        tabIcons_[tabs.placement == TabPlacement::Left ? 0 : 1] = std::move(icons);   // the strip's last list goes
    }
    const int count = static_cast<int>(tabs.texts.size());
    int across = tabs.icons.empty() ? 20 : 40;
    int along = (tabs.placement == TabPlacement::Left ? spec.rect.height : spec.rect.width) - 6;
    if (tabs.placement == TabPlacement::Left) along = std::min(along / count, 52);
    else along /= count;
    SendMessageW(c.hwnd, TCM_SETITEMSIZE, 0, MAKELPARAM(ScaleValue(along, dpi_), ScaleValue(across, dpi_)));

    RECT page{};
    GetClientRect(c.hwnd, &page);
    for (int i = 0; i < count; ++i) {
        RECT item{};
        SendMessageW(c.hwnd, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        switch (tabs.placement) {
            case TabPlacement::Left: page.left = std::max(page.left, item.right); break;
            case TabPlacement::Bottom: page.bottom = std::min(page.bottom, item.top); break;
            case TabPlacement::Top: page.top = std::max(page.top, item.bottom); break;
        }
    }
    c.pageArea = page;
    for (HWND panel : c.pages)
        if (panel)
            SetWindowPos(panel, nullptr, page.left, page.top, page.right - page.left, page.bottom - page.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    // The page's controls keep their design places from the tab control's corner.
    for (size_t i = 0; i < controls_.size(); ++i)
        if (Controls()[i].parent == spec.name && Controls()[i].page >= 0) controls_[i].origin = {-page.left, -page.top};
}

// Moved to a monitor of another DPI: every control keeps its design place and
// its state (items, marks, scroll position, focus); fonts, pictures and tab
// strips are made anew for the DPI, and the window takes the rectangle
// Windows suggests, whose size change lays the frame out again.
void Win32Window::changeDpi(int dpi, const RECT& suggested) {
    if (closed_ || dpi <= 0) return;
    if (dpi != dpi_) {
        createTheRest();   // every control moves, those still to come too
        if (closed_) return;
        std::vector<Rect> design;
        std::vector<int> firstRows;
        for (size_t i = 0; i < controls_.size(); ++i) {
            design.push_back(rect(Controls()[i].name));
            firstRows.push_back(FirstRowShown(controls_[i].hwnd, Controls()[i].kind));
        }
        std::vector<int> columns;   // the disk table's, as the user may have sized them
        const Control* table = find("超级列表框1");
        for (int i = 0; table && i < static_cast<int>(DiskTableColumns().size()); ++i)
            columns.push_back(UnscaleValue(static_cast<int>(SendMessageW(table->hwnd, LVM_GETCOLUMNWIDTH, i, 0)), dpi_));

        dpi_ = dpi;
        ScaledFonts fonts(dpi_);
        fonts_.swap(fonts);   // the old ones go once no control uses them
        pictures_.setDpi(dpi_);
        // In the design's order, which puts every tab control before its pages'
        // controls: a strip sized at its new size places them.
        for (size_t i = 0; i < controls_.size(); ++i) {
            const ControlSpec& spec = Controls()[i];
            HWND hwnd = controls_[i].hwnd;
            SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(spec.font)), FALSE);
            const RECT r = pixelRect(controls_[i], design[i]);
            SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
            if (spec.kind == ControlKind::TabControl) sizeTabStrip(static_cast<int>(i));
            if (controls_[i].list) controls_[i].list->fitColumn(dpi_);
        }
        for (size_t i = 0; i < columns.size(); ++i)
            SendMessageW(table->hwnd, LVM_SETCOLUMNWIDTH, i, ScaleValue(columns[i], dpi_));
        for (size_t i = 0; i < controls_.size(); ++i) ShowFromRow(controls_[i].hwnd, Controls()[i].kind, firstRows[i]);
    }
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The window lies at whole design units, so that what the frame and the
// program's maximise read and write in design units is exact: a restore puts
// back the very pixels it left. At 96 DPI every pixel is one.
void Win32Window::snapToDesignUnits(WINDOWPOS& pos) const {
    auto snap = [this](int& px) { px = ScaleValue(UnscaleValue(px, dpi_), dpi_); };
    if (!(pos.flags & SWP_NOMOVE)) snap(pos.x), snap(pos.y);
    if (!(pos.flags & SWP_NOSIZE)) snap(pos.cx), snap(pos.cy);
}

}  // namespace cc
