#pragma once
// The real main window: every control of the catalogue as a Win32 child
// window, and the control layer over them.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/Catalogue.h"
#include "ui/ControlLayer.h"
#include "ui/win32/CheckedList.h"
#include "ui/win32/CommonControls.h"
#include "ui/win32/Dpi.h"
#include "ui/win32/GdiOwners.h"
#include "ui/win32/Pictures.h"
#include "ui/win32/TaskbarProgress.h"
#include "ui/win32/Widgets.h"

namespace cc {

inline constexpr wchar_t kMainWindowClass[] = L"ChengchuanCleanerWindow";

class Win32Window final : public ControlLayer, private WidgetHost {
public:
    explicit Win32Window(HINSTANCE instance);
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // Builds the window, hidden, with the controls of the first frame: the
    // frame and the first page of each tab control. False if Windows refused.
    // (Win32WindowCreation.cpp)
    bool create();
    // Shows the window, its frame laid out by its first size-changed event,
    // and paints it; the other pages' controls follow as the first thing the
    // message loop does, before any input.
    void show();
    // Runs until the window has been closed and destroyed (Win32WindowMessagePump.cpp).
    void runMessageLoop();
    HWND handle() const { return window_; }

    // --- The control layer (Win32WindowControlLayer.cpp) ---
    Rect rect(std::string_view control) const override;
    void setRect(std::string_view control, Rect rect) override;
    std::string caption(std::string_view control) const override;
    void setCaption(std::string_view control, std::string_view text) override;
    void setPassingCaption(std::string_view control, std::string_view text) override;
    bool visible(std::string_view control) const override;
    void setVisible(std::string_view control, bool visible) override;
    bool disabled(std::string_view control) const override;
    void setDisabled(std::string_view control, bool disabled) override;
    bool checked(std::string_view control) const override;
    void setChecked(std::string_view control, bool checked) override;

    int itemCount(std::string_view list) const override;
    std::string itemText(std::string_view list, int index) const override;
    int addItem(std::string_view list, std::string_view text) override;
    void removeItem(std::string_view list, int index) override;
    void removeItems(std::string_view list, const std::vector<int>& positions) override;
    void clearItems(std::string_view list) override;
    bool itemChecked(std::string_view list, int index) const override;
    void setItemChecked(std::string_view list, int index, bool checked) override;
    void setAllItemsChecked(std::string_view list, bool checked) override;
    int currentItem(std::string_view list) const override;
    void setCurrentItem(std::string_view list, int index) override;

    int rowCount(std::string_view table) const override;
    std::vector<std::string> row(std::string_view table, int index) const override;
    void addRow(std::string_view table, const std::vector<std::string>& cells) override;
    void clearRows(std::string_view table) override;

    int picture(std::string_view control) const override;
    void setPicture(std::string_view control, int resourceId) override;
    int position(std::string_view bar) const override;
    void setPosition(std::string_view bar, int position) override;
    int maximum(std::string_view bar) const override;
    void setMaximum(std::string_view bar, int maximum) override;
    int interval(std::string_view timer) const override;
    void setInterval(std::string_view timer, int milliseconds) override;
    int currentTab(std::string_view tabs) const override;
    void setCurrentTab(std::string_view tabs, int index) override;

    std::string windowTitle() const override;
    void setWindowTitle(std::string_view title) override;
    bool controlBox() const override;
    void setControlBox(bool enabled) override;
    bool minimised() const override;
    void setMinimised(bool minimised) override;
    void noteMaximised(bool maximised) override;
    Size screenSize() const override;
    WorkProgress workProgress() const override { return taskbar_.shown(); }
    void setWorkProgress(WorkProgress progress) override {
        if (!closed_) taskbar_.show(window_, progress, GetTickCount());
    }
    void startSystemTracking(int hitTestCode) override;
    void close() override;

    bool messageBox(std::string_view text, std::string_view caption, MessageKind kind) override;
    bool inputBox(std::string_view prompt, std::string_view caption, std::string& text) override;

    void processPendingMessages() override;
    void keepAnswering() override;
    bool windowClosed() const override { return closed_; }

private:
    static constexpr UINT kTimerId = 1;
    static constexpr UINT kCreateTheRestMessage = WM_APP + 2;   // the controls after the first frame
    static constexpr DWORD kShowChangesEveryMs = 250;   // what long work changed (title, lists, passing captions)

    struct Control {
        HWND hwnd = nullptr;   // null while the control is still to come
        POINT origin{0, 0};   // where the logical parent's area starts in the real parent
        WidgetState widget;
        int interval = 0;
        std::vector<HWND> pages;   // tab controls: one panel per tab
        RECT pageArea{};           // tab controls: where the panels lie
        std::unique_ptr<CheckedList> list;   // checked lists: the items, kept from the start
        // A passing caption set within a quarter second of the last one shown
        // waits for the next showing of changes: under Wine every caption is
        // a round trip to the server and a repaint.
        std::optional<std::wstring> pendingCaption;
        std::optional<DWORD> passingShownAt;
    };

    // The window's messages (Win32Window.cpp).
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int index, int code);
    LRESULT onNotify(NMHDR& header);
    void pageChanged(int tabsIndex);   // what a click on a tab raises
    void showPage(int tabsIndex);

    // The message pump (Win32WindowMessagePump.cpp): what handlers changed
    // shows at the pumps.
    void showChanges();

    // Keyboard use (Win32WindowKeyboard.cpp): every message of both loops passes here.
    void dispatch(MSG& msg);
    bool navigationKey(const MSG& msg);
    HWND nextTabStop(HWND from, bool backwards) const;
    void moveFocus(bool backwards);
    void switchPage(int step);
    void releaseFocus(HWND leaving);   // a control about to hide or go grey hands the focus on
    int controlOf(HWND hwnd) const;    // the catalogue control that is or holds the window, or -1
    static LRESULT CALLBACK TabStripProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data);

    // The system menu of the borderless window (Win32WindowSystemMenu.cpp).
    void showSystemMenu();
    void prepareSystemMenu(HMENU menu) const;
    bool systemCommand(WPARAM command, LPARAM key);

    // Names for assistive technology (Win32WindowAccessibleNames.cpp).
    void nameControls(const std::vector<int>& batch);
    void nameMaximiseButton();

    // Making the controls (Win32WindowCreation.cpp). A control still to come
    // answers what it will show once made, which is its design's: these say
    // what that is where more than the catalogue's flags tell.
    static bool visibleWhenMade(const ControlSpec& spec);
    static bool checkedWhenMade(const ControlSpec& spec);
    static std::string captionWhenMade(const ControlSpec& spec);   // some take their name as their text
    static constexpr int kProgressMaximumWhenMade = 100;
    bool createControls(const std::vector<int>& batch);
    void createTheRest();
    bool createControl(int index);
    void createTabPages(int index);
    void createPanels(int tabsIndex);
    void stackSiblings(const std::vector<int>& batch);

    // The display's scale (Win32WindowDpi.cpp): where a control of that design
    // rectangle lies in its real parent, in pixels, and back; a tab strip's
    // icons, tab size and pages; a move to a monitor of another DPI; the
    // window kept at whole design units.
    RECT pixelRect(const Control& c, Rect design) const;
    Rect designRect(const Control& c, const RECT& pixels) const;
    void sizeTabStrip(int index);
    void changeDpi(int dpi, const RECT& suggested);
    void snapToDesignUnits(WINDOWPOS& pos) const;

    // The control of that name while the window lives, else null; it may be
    // one still to come (hwnd null), whose reading is its design's.
    const Control* find(std::string_view name) const;
    Control* find(std::string_view name);
    // The control of that name while the window lives, made now with all the
    // others still to come if it was one of them; null if that failed.
    Control* made(std::string_view name);
    // The checked list of that name, whether or not its control is made yet.
    CheckedList* checkedList(std::string_view name);
    const CheckedList* checkedList(std::string_view name) const;
    int indexOf(std::string_view name) const;   // the catalogue's, while the window lives; else -1
    int indexOf(HWND hwnd) const;

    // WidgetHost
    WidgetState* widgetState(HWND widget) override;
    void widgetEvent(HWND widget, Event event) override;
    PictureCache& pictures() override { return pictures_; }
    HFONT font(FontStyle style) override { return fonts_.get(style); }
    int dpi() const override { return dpi_; }
    void paintBackdrop(HWND widget, HDC dc) override;
    HCURSOR cursorFor(HWND widget) override;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    std::vector<Control> controls_;
    int dpi_ = 96;   // the display's, for the scale of everything drawn
    ScaledFonts fonts_;
    std::array<UniqueHimagelist, 2> tabIcons_;   // the left strip's, the bottom strip's
    UniqueHbrush white_;
    PictureCache pictures_;
    TaskbarProgress taskbar_;
    DWORD lastShown_ = 0;
    DWORD lastPump_ = 0;
    DWORD lastAnswer_ = 0;
    bool answeringOnly_ = false;   // inside keepAnswering: a close waits
    HWND savedFocus_ = nullptr;    // where the focus was when the window was last deactivated
    // The program's own maximise, as the frame tells it (noteMaximised): the
    // maximise button's name and the system menu follow it.
    bool maximised_ = false;
    std::optional<std::string> pendingTitle_;
    bool shown_ = false;
    bool restAsked_ = false;   // the controls after the first frame have been made, or tried
    bool closed_ = false;
    bool quit_ = false;
};

}  // namespace cc
