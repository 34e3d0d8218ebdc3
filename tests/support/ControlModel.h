#pragma once
// An in-memory window built from the catalogue: the control layer the host
// tests drive. It also plays the user (clicks, tab changes, item clicks) and
// the message pump, so that tests can inject events that arrive while a long
// handler is processing pending messages.

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ui/Catalogue.h"
#include "ui/ControlLayer.h"

namespace cc {

class ControlModel final : public ControlLayer {
    using K = ControlKind;
    static constexpr std::initializer_list<ControlKind> kCaptioned{
        K::Label, K::TransparentLabel, K::GroupBox, K::ImageButton, K::PushButton,
        K::CheckBox, K::RadioButton, K::HyperlinkBox, K::EditBox, K::ComboBox};
    static constexpr std::initializer_list<ControlKind> kLists{K::ListBox, K::CheckedListBox};

public:
    ControlModel() {
        for (const ControlSpec& c : Controls())
            states_.push_back({.rect = c.rect, .caption = std::string(c.text), .visible = !(c.flags & kHidden),
                               .disabled = (c.flags & kDisabled) != 0, .checked = (c.flags & kChecked) != 0, .picture = c.picture});
    }

    // --- The control layer ---
    Rect rect(std::string_view control) const override {
        if (control != kMainWindowName) return anyState(control).rect;
        checkOpen();
        return window_;
    }
    void setRect(std::string_view control, Rect rect) override {
        if (control != kMainWindowName) {
            anyState(control).rect = rect;
            return;
        }
        checkOpen();
        bool resized = rect.width != window_.width || rect.height != window_.height;
        window_ = rect;
        if (resized) raise(kMainWindowName, Event::SizeChanged);
    }
    std::string caption(std::string_view control) const override { return state(control, kCaptioned).caption; }
    void setCaption(std::string_view control, std::string_view text) override { state(control, kCaptioned).caption = text; }
    bool visible(std::string_view control) const override { return anyState(control).visible; }
    void setVisible(std::string_view control, bool visible) override { anyState(control).visible = visible; }
    bool disabled(std::string_view control) const override { return anyState(control).disabled; }
    void setDisabled(std::string_view control, bool disabled) override { anyState(control).disabled = disabled; }
    bool checked(std::string_view control) const override { return state(control, {K::CheckBox, K::RadioButton}).checked; }
    void setChecked(std::string_view control, bool checked) override { state(control, {K::CheckBox, K::RadioButton}).checked = checked; }

    int itemCount(std::string_view list) const override { return static_cast<int>(state(list, kLists).items.size()); }
    std::string itemText(std::string_view list, int index) const override { return item(list, kLists, index).text; }
    int addItem(std::string_view list, std::string_view text) override {
        State& s = state(list, kLists);
        s.items.push_back({std::string(text), false});
        return static_cast<int>(s.items.size()) - 1;
    }
    void removeItem(std::string_view list, int index) override {
        item(list, kLists, index);
        State& s = state(list, kLists);
        s.items.erase(s.items.begin() + index);
        if (s.current == index) s.current = -1;
        else if (s.current > index) --s.current;
    }
    void clearItems(std::string_view list) override {
        State& s = state(list, kLists);
        s.items.clear();
        s.current = -1;
    }
    bool itemChecked(std::string_view list, int index) const override { return item(list, {K::CheckedListBox}, index).checked; }
    void setItemChecked(std::string_view list, int index, bool checked) override {
        const_cast<Item&>(item(list, {K::CheckedListBox}, index)).checked = checked;
    }
    int currentItem(std::string_view list) const override { return state(list, kLists).current; }
    void setCurrentItem(std::string_view list, int index) override {
        if (index != -1) item(list, kLists, index);
        state(list, kLists).current = index;
    }

    int rowCount(std::string_view table) const override { return static_cast<int>(state(table, {K::ReportListView}).rows.size()); }
    std::vector<std::string> row(std::string_view table, int index) const override {
        const State& s = state(table, {K::ReportListView});
        if (index < 0 || index >= static_cast<int>(s.rows.size())) throw std::out_of_range("row of " + std::string(table));
        return s.rows[index];
    }
    void addRow(std::string_view table, const std::vector<std::string>& cells) override {
        state(table, {K::ReportListView}).rows.push_back(cells);
    }
    void clearRows(std::string_view table) override { state(table, {K::ReportListView}).rows.clear(); }

    int picture(std::string_view control) const override { return state(control, {K::PictureBox}).picture; }
    void setPicture(std::string_view control, int resourceId) override { state(control, {K::PictureBox}).picture = resourceId; }
    int position(std::string_view bar) const override { return state(bar, {K::ProgressBar}).position; }
    void setPosition(std::string_view bar, int position) override {
        State& s = state(bar, {K::ProgressBar});
        s.position = std::clamp(position, 0, s.maximum);   // as the real bar clamps
    }
    int maximum(std::string_view bar) const override { return state(bar, {K::ProgressBar}).maximum; }
    void setMaximum(std::string_view bar, int maximum) override {
        State& s = state(bar, {K::ProgressBar});
        s.maximum = maximum;
        s.position = std::clamp(s.position, 0, maximum);
    }
    int interval(std::string_view timer) const override { return state(timer, {K::Timer}).interval; }
    void setInterval(std::string_view timer, int milliseconds) override {
        state(timer, {K::Timer}).interval = std::max(milliseconds, 0);
    }
    int currentTab(std::string_view tabs) const override { return state(tabs, {K::TabControl}).tab; }
    void setCurrentTab(std::string_view tabs, int index) override {
        State& s = state(tabs, {K::TabControl});
        if (index < 0 || index >= static_cast<int>(FindTabSpec(tabs)->texts.size())) throw std::out_of_range("tab of " + std::string(tabs));
        s.tab = index;
    }

    std::string windowTitle() const override { checkOpen(); return title_; }
    void setWindowTitle(std::string_view title) override { checkOpen(); title_ = title; }
    bool controlBox() const override { checkOpen(); return controlBox_; }
    void setControlBox(bool enabled) override { checkOpen(); controlBox_ = enabled; }
    bool minimised() const override { checkOpen(); return minimised_; }
    void setMinimised(bool minimised) override { checkOpen(); minimised_ = minimised; }
    Size screenSize() const override { return screen_; }
    WorkProgress workProgress() const override { return progress_; }
    void setWorkProgress(WorkProgress progress) override {
        checkOpen();
        if (progress != progress_) progressShown_.push_back(progress_ = progress);
    }
    void startSystemTracking(int hitTestCode) override {
        checkOpen();
        tracking_.push_back(hitTestCode);
    }
    void close() override {
        checkOpen();
        closed_ = true;
        queue_.clear();   // nothing reaches a destroyed window
    }

    // Each box is recorded and shown to the box hook, then answered from the answers given.
    bool messageBox(std::string_view text, std::string_view caption, MessageKind kind) override {
        record({std::string(text), std::string(caption), kind, false});
        if (messageAnswers_.empty()) return true;
        bool ok = messageAnswers_.front();
        messageAnswers_.pop_front();
        return ok;
    }
    bool inputBox(std::string_view prompt, std::string_view caption, std::string& text) override {
        record({std::string(prompt), std::string(caption), MessageKind::Ok, true});
        if (inputAnswers_.empty()) return false;
        auto typed = std::move(inputAnswers_.front());
        inputAnswers_.pop_front();
        if (!typed) return false;
        text = *typed;
        return true;
    }

    void processPendingMessages() override {
        if (closed_) return;
        ++pumpCount_;
        if (pumpHook_) {
            auto hook = pumpHook_;   // the hook may replace itself
            hook(pumpCount_);
        }
        // Like a PeekMessage loop: what handlers post while it runs is handled too.
        while (!queue_.empty() && !closed_) {
            auto action = std::move(queue_.front());
            queue_.pop_front();
            action();
        }
    }
    void keepAnswering() override { ++answerCount_; }   // no system to answer, and queued input waits
    bool windowClosed() const override { return closed_; }

    // --- The user, as the tests play it ---
    void show() {   // the first showing: a size change
        checkOpen();
        raise(kMainWindowName, Event::SizeChanged);
    }
    void click(std::string_view control) {   // buttons, check box, radio button
        State& s = anyState(control);
        if (s.disabled || !s.visible) return;   // a disabled control takes no click
        switch (spec(control).kind) {
            case K::CheckBox: s.checked = !s.checked; break;
            case K::RadioButton:   // as an automatic radio button: the others of its group are cleared
                for (size_t i = 0; i < states_.size(); ++i)
                    if (Controls()[i].kind == K::RadioButton && Controls()[i].parent == spec(control).parent) states_[i].checked = false;
                s.checked = true;
                break;
            case K::GraphicButton: case K::ImageButton: case K::PushButton: break;
            default: throw std::invalid_argument(std::string(control) + " takes no click");
        }
        raise(control, Event::Clicked);
    }
    void pressLeftButton(std::string_view control) {   // picture boxes, hyperlink boxes
        if (state(control, {K::PictureBox, K::HyperlinkBox}).visible) raise(control, Event::LeftButtonPressed);
    }
    void doubleClick(std::string_view control) {
        state(control, {K::PictureBox});
        raise(control, Event::DoubleClicked);
    }
    void selectTab(std::string_view tabs, int index) {
        if (currentTab(tabs) == index) return;   // a click on the current tab changes nothing
        setCurrentTab(tabs, index);
        raise(tabs, Event::CurrentTabChanged);
    }
    void selectItem(std::string_view list, int index) {   // a click on an item's text
        setCurrentItem(list, index);
        raise(list, spec(list).kind == K::ListBox ? Event::SelectionChanged : Event::ItemSelected);
    }
    void toggleItemCheck(std::string_view list, int index) {   // a click on an item's check box
        setItemChecked(list, index, !itemChecked(list, index));
        setCurrentItem(list, index);
        raise(list, Event::ItemSelected);
    }
    void tick(std::string_view timer) { if (interval(timer) > 0) raise(timer, Event::Tick); }

    // A control is on screen when it is visible and every page above it is current.
    bool shown(std::string_view control) const {
        if (!visible(control)) return false;
        for (const ControlSpec* c = &spec(control); !c->parent.empty(); c = &spec(c->parent)) {
            const ControlSpec& parent = spec(c->parent);
            if ((c->page >= 0 && currentTab(parent.name) != c->page) || !visible(parent.name)) return false;
        }
        return true;
    }

    // --- The message pump, as the tests feed it ---
    // Queued actions run at the next processPendingMessages, in order.
    void post(std::function<void()> action) { queue_.push_back(std::move(action)); }
    void postClick(std::string_view control) { post([this, name = std::string(control)] { click(name); }); }
    void postClose() { post([this] { close(); }); }
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

    void checkOpen() const {   // a handler that touches a control after the window closed is a fault
        if (closed_) throw std::logic_error("control used after the window closed");
    }
    const ControlSpec& spec(std::string_view control) const {
        int index = FindControl(control);
        if (index < 0) throw std::invalid_argument("no control named " + std::string(control));
        return Controls()[index];
    }
    State& anyState(std::string_view control) const {
        checkOpen();
        return states_[&spec(control) - Controls().data()];   // spec throws for a name the catalogue lacks
    }
    // The control's state, when the property applies to a control of its kind.
    State& state(std::string_view control, std::initializer_list<ControlKind> kinds) const {
        State& s = anyState(control);
        if (std::find(kinds.begin(), kinds.end(), spec(control).kind) == kinds.end())
            throw std::invalid_argument("property does not apply to " + std::string(control));
        return s;
    }
    const Item& item(std::string_view list, std::initializer_list<ControlKind> kinds, int index) const {
        const State& s = state(list, kinds);
        if (index < 0 || index >= static_cast<int>(s.items.size()))
            throw std::out_of_range("item " + std::to_string(index) + " of " + std::string(list));
        return s.items[index];
    }
    void record(ShownBox box) {
        checkOpen();
        shown_.push_back(std::move(box));
        if (boxHook_) boxHook_(shown_.back());
    }

    mutable std::vector<State> states_;   // the const getters and the setters share one lookup
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
