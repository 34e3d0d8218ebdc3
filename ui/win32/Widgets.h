#pragma once
// The program's own window classes: picture boxes, group boxes and tab pages
// (panels), labels and hyperlinks, graphic and image buttons, and timers.
// They draw themselves from the catalogue and report user actions to their
// host, the main window, which they find through their root window. Each
// kind has a file of its own (PanelWidgets.cpp, LabelWidgets.cpp,
// ButtonWidgets.cpp); what their painting shares is in WidgetPainting.h.

#include <windows.h>

#include <string>

#include "ui/Catalogue.h"
#include "ui/ControlLayer.h"

namespace cc {

class PictureCache;

inline constexpr wchar_t kPanelClass[] = L"ChengchuanPanel";
inline constexpr wchar_t kLabelClass[] = L"ChengchuanLabel";
inline constexpr wchar_t kButtonClass[] = L"ChengchuanButton";
inline constexpr wchar_t kTimerClass[] = L"ChengchuanTimer";

// What a widget needs to know to draw itself.
struct WidgetState {
    const ControlSpec* spec = nullptr;   // null for a tab page
    int picture = 0;
    bool hot = false;
    bool pressed = false;
    bool spaceHeld = false;   // a button pressed with the space bar clicks when it is let go
};

class WidgetHost {
public:
    virtual WidgetState* widgetState(HWND widget) = 0;
    virtual void widgetEvent(HWND widget, Event event) = 0;
    virtual PictureCache& pictures() = 0;
    virtual HFONT font(FontStyle style) = 0;
    // The display's DPI: the design's sizes scale by it (ui/Scale.h).
    virtual int dpi() const = 0;
    // Paints what lies beneath a widget whose parent does not draw it (the
    // title-bar buttons sit on the title-bar picture, a sibling).
    virtual void paintBackdrop(HWND widget, HDC dc) = 0;
    // The pointer shape over a widget, or null for the class's own.
    virtual HCURSOR cursorFor(HWND widget) = 0;

protected:
    ~WidgetHost() = default;
};

void RegisterWidgetClasses(HINSTANCE instance);

// The host stored on the root window (GWLP_USERDATA).
WidgetHost* HostOf(HWND widget);
// The widget's state from its host; null without a host, or for a tab page.
WidgetState* StateOf(HWND widget);

COLORREF ToColorRef(Rgb rgb);

// Whether the widget has the focus and the window shows focus rectangles:
// hidden until the first key press when the user started with the mouse.
bool ShowsFocusCue(HWND widget);

// A window's whole text.
std::wstring WindowText(HWND hwnd);

}  // namespace cc
