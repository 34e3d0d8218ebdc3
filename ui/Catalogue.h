#pragma once
// The window design: every control of the main window as one data table.
// Both the real Win32 window and the in-memory model are built from it.

#include <cstdint>
#include <span>
#include <string_view>

#include "ui/Geometry.h"

namespace cc {

enum class ControlKind {
    PictureBox,
    GraphicButton,   // borderless, three 19x19 bitmaps, magenta transparent
    ImageButton,     // skinned push button with its caption drawn over the skin
    PushButton,
    Label,
    TransparentLabel,
    GroupBox,
    CheckBox,
    RadioButton,
    EditBox,
    ComboBox,
    ListBox,
    CheckedListBox,
    ReportListView,
    ProgressBar,
    HyperlinkBox,
    Timer,
    TabControl,
};

enum class FontStyle {
    Default,     // the user-interface font: 12-px 宋体
    Bold12,      // bold 12-px 宋体
    Bold14,      // bold 14-px 宋体
    Regular14,   // 14-px 宋体
};

enum class PictureFit { None, ActualSize, Stretched };

enum class TabPlacement { Left, Top, Bottom };

// Colours as 0xRRGGBB.
using Rgb = std::uint32_t;
inline constexpr Rgb kBlack = 0x000000;
inline constexpr Rgb kWhite = 0xFFFFFF;

// Initial states that differ from visible, enabled and unchecked.
enum StateFlags : unsigned {
    kNoFlags   = 0,
    kHidden    = 1u << 0,
    kDisabled  = 1u << 1,
    kChecked   = 1u << 2,
    kMultiLine = 1u << 3,   // wraps its text; "\r\n" breaks lines
    kBordered  = 1u << 4,
};

struct ControlSpec {
    std::string_view name;
    ControlKind kind;
    std::string_view parent;   // empty: the window itself
    int page;                  // tab index when the parent is a tab control, else -1
    Rect rect;                 // in the parent's area (for a tab page: the whole tab control)
    std::string_view text;
    unsigned flags = kNoFlags;
    int picture = 0;           // resource id of the (first) picture, 0 for none
    PictureFit fit = PictureFit::None;
    FontStyle font = FontStyle::Default;
    Rgb textColour = kBlack;
};

struct TabSpec {
    std::string_view control;
    TabPlacement placement;
    bool showText;
    std::span<const std::string_view> texts;   // one per tab; when not shown, its tooltip (empty: none)
    std::span<const int> icons;                // one 32x32 icon resource per tab, or empty
};

struct ColumnSpec {
    std::string_view text;
    int width;
};

inline constexpr std::string_view kMainWindowName = "MainWindow";
inline constexpr std::string_view kWindowTitle = "澄川清理助手 V1.0.3";
inline constexpr std::string_view kProgramName = "澄川清理助手";   // caption of our own message boxes
inline constexpr Rect kWindowDesignRect{50, 50, 584, 388};
inline constexpr int kControlCount = 110;

// Control IDs of the real window: the catalogue position plus this base.
inline constexpr int kFirstControlId = 1000;

std::span<const ControlSpec> Controls();
std::span<const TabSpec> TabControls();
std::span<const ColumnSpec> DiskTableColumns();            // the columns of 超级列表框1

// Position of a control in Controls(), or -1.
int FindControl(std::string_view name);
const TabSpec* FindTabSpec(std::string_view control);

}  // namespace cc
