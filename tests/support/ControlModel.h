#pragma once
// An in-memory window built from the catalogue: the control layer the host
// tests drive. It also plays the user (clicks, tab changes, item clicks) and
// the message pump, so that tests can inject events that arrive while a long
// handler is processing pending messages.

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/Catalogue.h"
#include "ui/ControlLayer.h"

namespace cc {

// Thrown when a handler touches a control after the window was closed.
struct ControlUsedAfterClose : std::logic_error {
    using std::logic_error::logic_error;
};

class ControlModel final : public ControlLayer {
public:
    ControlModel();

    // --- The control layer ---
    Rect rect(std::string_view control) const override;
    void setRect(std::string_view control, Rect rect) override;
    std::string caption(std::string_view control) const override;
    void setCaption(std::string_view control, std::string_view text) override;
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
    void clearItems(std::string_view list) override;
    bool itemChecked(std::string_view list, int index) const override;
    void setItemChecked(std::string_view list, int index, bool checked) override;
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
    Size screenSize() const override { return screen_; }
    WorkProgress workProgress() const override { return progress_; }
    void setWorkProgress(WorkProgress progress) override;
    void startSystemTracking(int hitTestCode) override;
    void close() override;

    bool messageBox(std::string_view text, std::string_view caption, MessageKind kind) override;
    bool inputBox(std::string_view prompt, std::string_view caption, std::string& text) override;

    void processPendingMessages() override;
    void keepAnswering() override { ++answerCount_; }   // no system to answer, and queued input waits
    bool windowClosed() const override { return closed_; }

    // --- The user, as the tests play it ---
    void show();                                    // the first showing: a size change
    void click(std::string_view control);           // buttons, check box, radio button
    void pressLeftButton(std::string_view control); // picture boxes, hyperlink boxes
    void doubleClick(std::string_view control);
    void selectTab(std::string_view tabs, int index);
    void selectItem(std::string_view list, int index);      // a click on an item's text
    void toggleItemCheck(std::string_view list, int index); // a click on an item's check box
    void tick(std::string_view timer);

    // A control is on screen when it is visible and every page above it is current.
    bool shown(std::string_view control) const;

    // --- The message pump, as the tests feed it ---
    // Queued actions run at the next processPendingMessages, in order.
    void post(std::function<void()> action);
    void postClick(std::string_view control);
    void postClose();
    // Runs at every processPendingMessages before the queue; gets the pump's count (from 1).
    void setPumpHook(std::function<void(int)> hook) { pumpHook_ = std::move(hook); }
    int pumpCount() const { return pumpCount_; }
    int answerCount() const { return answerCount_; }   // keepAnswering calls: how often long work lets the system in

    // --- Modal boxes, as the tests answer them ---
    struct ShownBox {
        std::string text;
        std::string caption;
        MessageKind kind = MessageKind::Ok;
        bool input = false;
        bool operator==(const ShownBox&) const = default;
    };
    // Answers for the next boxes, in order; a box with no answer left is
    // answered OK (message) or cancelled (input).
    void answerMessage(bool ok) { messageAnswers_.push_back(ok); }
    void answerInput(std::optional<std::string> typed) { inputAnswers_.push_back(std::move(typed)); }
    const std::vector<ShownBox>& shownBoxes() const { return shown_; }
    // Runs while each box is up, before it is answered.
    void setBoxHook(std::function<void(const ShownBox&)> hook) { boxHook_ = std::move(hook); }

    void setScreenSize(Size size) { screen_ = size; }
    const std::vector<int>& trackingRequests() const { return tracking_; }
    const std::vector<WorkProgress>& workProgressShown() const { return progressShown_; }   // every change, in order

private:
    struct Item {
        std::string text;
        bool checked = false;
    };
    struct State {
        Rect rect;
        std::string caption;
        bool visible = true;
        bool disabled = false;
        bool checked = false;
        std::vector<Item> items;
        int current = -1;
        std::vector<std::vector<std::string>> rows;
        int picture = 0;
        int position = 0;
        int maximum = 100;
        int interval = 0;
        int tab = 0;
    };

    const ControlSpec& spec(std::string_view control) const;
    const State& state(std::string_view control, std::initializer_list<ControlKind> kinds) const;
    State& state(std::string_view control, std::initializer_list<ControlKind> kinds);
    const State& anyState(std::string_view control) const;
    State& anyState(std::string_view control);
    void checkOpen() const;
    static void checkIndex(const State& s, int index, std::string_view control);

    std::vector<State> states_;
    Rect window_ = kWindowDesignRect;
    std::string title_{kWindowTitle};
    bool controlBox_ = true;
    bool minimised_ = false;
    bool closed_ = false;
    Size screen_{1024, 768};
    std::vector<int> tracking_;
    WorkProgress progress_;
    std::vector<WorkProgress> progressShown_;

    std::deque<bool> messageAnswers_;
    std::deque<std::optional<std::string>> inputAnswers_;
    std::vector<ShownBox> shown_;

    std::deque<std::function<void()>> queue_;
    std::function<void(int)> pumpHook_;
    std::function<void(const ShownBox&)> boxHook_;
    int pumpCount_ = 0, answerCount_ = 0;
};

}  // namespace cc
