#pragma once
// The control layer: everything the features do to the window goes through
// here, by control name and meaning. The real window and the in-memory model
// both implement it, so feature logic runs the same against either.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/Geometry.h"

namespace cc {

enum class Event {
    SizeChanged,        // the window
    Clicked,            // buttons, check box
    LeftButtonPressed,  // picture boxes, hyperlink boxes
    DoubleClicked,      // picture boxes
    Tick,               // timers
    CurrentTabChanged,  // tab controls
    SelectionChanged,   // list boxes
    ItemSelected,       // checked list boxes: the user clicked an item
};

using Handler = std::function<void()>;

// Long work as the system shows it outside the window, on the taskbar button:
// nothing, busy for a time nobody knows (a scan), or a share done (a deletion).
struct WorkProgress {
    enum class State { None, Busy, Share };
    State state = State::None;
    int done = 0;    // Share: `done` of `total`
    int total = 0;
    bool operator==(const WorkProgress&) const = default;
};

// The two kinds of message box the program shows.
enum class MessageKind {
    Ok,               // a single OK button, no icon
    OkInfo,           // a single OK button with the information icon
    OkCancelInfo,     // OK and Cancel with the information icon
};

class ControlLayer {
public:
    virtual ~ControlLayer() = default;

    // Feature code registers its handlers by control name ("MainWindow" for the window).
    void on(std::string_view control, Event event, Handler handler);

    // Runs the handler registered for (control, event), if any. Backends call
    // this when the user acts; handlers may nest through processPendingMessages.
    void raise(std::string_view control, Event event);

    // Geometry of any control, or of the window itself ("MainWindow").
    virtual Rect rect(std::string_view control) const = 0;
    virtual void setRect(std::string_view control, Rect rect) = 0;

    virtual std::string caption(std::string_view control) const = 0;
    virtual void setCaption(std::string_view control, std::string_view text) = 0;
    // A caption that changes many times a second (the file a scan is at): the
    // window may show only some of them, and the next setCaption replaces it.
    virtual void setPassingCaption(std::string_view control, std::string_view text) { setCaption(control, text); }
    virtual bool visible(std::string_view control) const = 0;
    virtual void setVisible(std::string_view control, bool visible) = 0;
    virtual bool disabled(std::string_view control) const = 0;
    virtual void setDisabled(std::string_view control, bool disabled) = 0;
    virtual bool checked(std::string_view control) const = 0;   // check box, radio button
    virtual void setChecked(std::string_view control, bool checked) = 0;

    // Lists: list boxes and checked list boxes. Items are addressed by position;
    // new items go to the end, unchecked; removing one moves the rest up.
    virtual int itemCount(std::string_view list) const = 0;
    virtual std::string itemText(std::string_view list, int index) const = 0;
    virtual int addItem(std::string_view list, std::string_view text) = 0;
    virtual void removeItem(std::string_view list, int index) = 0;
    // Removes the items at these positions (ascending, as they stand now) in
    // one step; the rest move up. The same as removing them one at a time.
    virtual void removeItems(std::string_view list, const std::vector<int>& positions);
    virtual void clearItems(std::string_view list) = 0;
    virtual bool itemChecked(std::string_view list, int index) const = 0;
    virtual void setItemChecked(std::string_view list, int index, bool checked) = 0;
    // Every item's mark at once; the same as setting them first to last.
    virtual void setAllItemsChecked(std::string_view list, bool checked);
    virtual int currentItem(std::string_view list) const = 0;   // -1: none
    virtual void setCurrentItem(std::string_view list, int index) = 0;

    // Report list view rows.
    virtual int rowCount(std::string_view table) const = 0;
    virtual std::vector<std::string> row(std::string_view table, int index) const = 0;
    virtual void addRow(std::string_view table, const std::vector<std::string>& cells) = 0;
    virtual void clearRows(std::string_view table) = 0;

    // Picture boxes: a resource id, 0 for none.
    virtual int picture(std::string_view control) const = 0;
    virtual void setPicture(std::string_view control, int resourceId) = 0;

    // Progress bars.
    virtual int position(std::string_view bar) const = 0;
    virtual void setPosition(std::string_view bar, int position) = 0;
    virtual int maximum(std::string_view bar) const = 0;
    virtual void setMaximum(std::string_view bar, int maximum) = 0;

    // Timers: the interval in milliseconds, 0 when stopped.
    virtual int interval(std::string_view timer) const = 0;
    virtual void setInterval(std::string_view timer, int milliseconds) = 0;

    // Tab controls. Setting the tab by code raises no event.
    virtual int currentTab(std::string_view tabs) const = 0;
    virtual void setCurrentTab(std::string_view tabs, int index) = 0;

    // The window itself.
    virtual std::string windowTitle() const = 0;
    virtual void setWindowTitle(std::string_view title) = 0;
    virtual bool controlBox() const = 0;
    virtual void setControlBox(bool enabled) = 0;
    virtual bool minimised() const = 0;
    virtual void setMinimised(bool minimised) = 0;
    // The program's own maximise, which the frame makes by the window's
    // rectangle, tells the window here where it stands: the window shows it
    // where the system would show its own (the maximise button's name, the
    // system menu). The in-memory model has nothing to show.
    virtual void noteMaximised(bool /*maximised*/) {}
    virtual Size screenSize() const = 0;
    // Long work on the taskbar button. When work shown there for long ends
    // while another window is in front, the button asks for the user's eye.
    virtual WorkProgress workProgress() const = 0;
    virtual void setWorkProgress(WorkProgress progress) = 0;
    // Hands the held mouse button to the system's move or size tracking, as a
    // press on that part of a standard frame would (a hit-test code).
    virtual void startSystemTracking(int hitTestCode) = 0;
    // Asks the window to close; a close is always granted.
    virtual void close() = 0;

    // Modal boxes over the window. messageBox answers true for OK. inputBox
    // answers true and the typed text when confirmed; cancelled, it leaves
    // `text` as it was.
    virtual bool messageBox(std::string_view text, std::string_view caption, MessageKind kind) = 0;
    virtual bool inputBox(std::string_view prompt, std::string_view caption, std::string& text) = 0;

    // Lets the window handle what is waiting: other handlers may run nested
    // here. The real window looks at most every 10 ms (a walk calls this once
    // per folder): a call sooner after the last returns at once, handling
    // nothing. What handlers changed in the checked lists, the title and
    // passing captions shows here at most every 250 ms, and in full once the
    // outermost handler returns.
    virtual void processPendingMessages() = 0;
    // Answers the system and repaints, and takes no input: what the user did
    // meanwhile is handled after the work that calls this, in order. Loops that
    // may take long call it often, so that the window never looks hung. The
    // window stays open through it: a close asked meanwhile waits too. The
    // real window answers at most every 20 ms: a call sooner returns at once.
    virtual void keepAnswering() = 0;
    // True once the window has been closed. A long handler checks this after
    // processPendingMessages and returns without touching any control.
    virtual bool windowClosed() const = 0;

private:
    std::map<std::pair<std::string, Event>, Handler, std::less<>> handlers_;
};

}  // namespace cc
