#include "tests/support/ControlModel.h"

#include <algorithm>
#include <string>
#include <utility>

namespace cc {
namespace {

using K = ControlKind;

std::string Name(std::string_view control) { return std::string(control); }

}  // namespace

ControlModel::ControlModel() {
    auto controls = Controls();
    states_.resize(controls.size());
    for (size_t i = 0; i < controls.size(); ++i) {
        const ControlSpec& c = controls[i];
        State& s = states_[i];
        s.rect = c.rect;
        s.caption = std::string(c.text);
        s.visible = !(c.flags & kHidden);
        s.disabled = (c.flags & kDisabled) != 0;
        s.checked = (c.flags & kChecked) != 0;
        s.picture = c.picture;
    }
}

const ControlSpec& ControlModel::spec(std::string_view control) const {
    int index = FindControl(control);
    if (index < 0) throw std::invalid_argument("no control named " + Name(control));
    return Controls()[index];
}

void ControlModel::checkOpen() const {
    if (closed_) throw ControlUsedAfterClose("control used after the window closed");
}

const ControlModel::State& ControlModel::anyState(std::string_view control) const {
    checkOpen();
    int index = FindControl(control);
    if (index < 0) throw std::invalid_argument("no control named " + Name(control));
    return states_[index];
}

ControlModel::State& ControlModel::anyState(std::string_view control) {
    return const_cast<State&>(std::as_const(*this).anyState(control));
}

const ControlModel::State& ControlModel::state(std::string_view control,
                                               std::initializer_list<ControlKind> kinds) const {
    const State& s = anyState(control);
    for (ControlKind k : kinds)
        if (spec(control).kind == k) return s;
    throw std::invalid_argument("property does not apply to " + Name(control));
}

ControlModel::State& ControlModel::state(std::string_view control, std::initializer_list<ControlKind> kinds) {
    return const_cast<State&>(std::as_const(*this).state(control, kinds));
}

void ControlModel::checkIndex(const State& s, int index, std::string_view control) {
    if (index < 0 || index >= static_cast<int>(s.items.size()))
        throw std::out_of_range("item " + std::to_string(index) + " of " + Name(control));
}

// --- geometry and simple properties ---

Rect ControlModel::rect(std::string_view control) const {
    if (control == kMainWindowName) {
        checkOpen();
        return window_;
    }
    return anyState(control).rect;
}

void ControlModel::setRect(std::string_view control, Rect rect) {
    if (control != kMainWindowName) {
        anyState(control).rect = rect;
        return;
    }
    checkOpen();
    bool resized = rect.width != window_.width || rect.height != window_.height;
    window_ = rect;
    if (resized) raise(kMainWindowName, Event::SizeChanged);
}

constexpr std::initializer_list<ControlKind> kCaptioned{
    K::Label, K::TransparentLabel, K::GroupBox, K::ImageButton, K::PushButton,
    K::CheckBox, K::RadioButton, K::HyperlinkBox, K::EditBox, K::ComboBox};

std::string ControlModel::caption(std::string_view control) const { return state(control, kCaptioned).caption; }
void ControlModel::setCaption(std::string_view control, std::string_view text) {
    state(control, kCaptioned).caption = std::string(text);
}

bool ControlModel::visible(std::string_view control) const { return anyState(control).visible; }
void ControlModel::setVisible(std::string_view control, bool visible) { anyState(control).visible = visible; }
bool ControlModel::disabled(std::string_view control) const { return anyState(control).disabled; }
void ControlModel::setDisabled(std::string_view control, bool disabled) { anyState(control).disabled = disabled; }

bool ControlModel::checked(std::string_view control) const {
    return state(control, {K::CheckBox, K::RadioButton}).checked;
}
void ControlModel::setChecked(std::string_view control, bool checked) {
    state(control, {K::CheckBox, K::RadioButton}).checked = checked;
}

// --- lists ---

constexpr std::initializer_list<ControlKind> kLists{K::ListBox, K::CheckedListBox};

int ControlModel::itemCount(std::string_view list) const {
    return static_cast<int>(state(list, kLists).items.size());
}

std::string ControlModel::itemText(std::string_view list, int index) const {
    const State& s = state(list, kLists);
    checkIndex(s, index, list);
    return s.items[index].text;
}

int ControlModel::addItem(std::string_view list, std::string_view text) {
    State& s = state(list, kLists);
    s.items.push_back({std::string(text), false});
    return static_cast<int>(s.items.size()) - 1;
}

void ControlModel::removeItem(std::string_view list, int index) {
    State& s = state(list, kLists);
    checkIndex(s, index, list);
    s.items.erase(s.items.begin() + index);
    if (s.current == index) s.current = -1;
    else if (s.current > index) --s.current;
}

void ControlModel::clearItems(std::string_view list) {
    State& s = state(list, kLists);
    s.items.clear();
    s.current = -1;
}

bool ControlModel::itemChecked(std::string_view list, int index) const {
    const State& s = state(list, {K::CheckedListBox});
    checkIndex(s, index, list);
    return s.items[index].checked;
}

void ControlModel::setItemChecked(std::string_view list, int index, bool checked) {
    State& s = state(list, {K::CheckedListBox});
    checkIndex(s, index, list);
    s.items[index].checked = checked;
}

int ControlModel::currentItem(std::string_view list) const { return state(list, kLists).current; }

void ControlModel::setCurrentItem(std::string_view list, int index) {
    State& s = state(list, kLists);
    if (index != -1) checkIndex(s, index, list);
    s.current = index;
}

// --- report list view ---

int ControlModel::rowCount(std::string_view table) const {
    return static_cast<int>(state(table, {K::ReportListView}).rows.size());
}

std::vector<std::string> ControlModel::row(std::string_view table, int index) const {
    const State& s = state(table, {K::ReportListView});
    if (index < 0 || index >= static_cast<int>(s.rows.size())) throw std::out_of_range("row of " + Name(table));
    return s.rows[index];
}

void ControlModel::addRow(std::string_view table, const std::vector<std::string>& cells) {
    state(table, {K::ReportListView}).rows.push_back(cells);
}

void ControlModel::clearRows(std::string_view table) { state(table, {K::ReportListView}).rows.clear(); }

// --- pictures, bars, timers, tabs ---

int ControlModel::picture(std::string_view control) const { return state(control, {K::PictureBox}).picture; }
void ControlModel::setPicture(std::string_view control, int resourceId) {
    state(control, {K::PictureBox}).picture = resourceId;
}

int ControlModel::position(std::string_view bar) const { return state(bar, {K::ProgressBar}).position; }
void ControlModel::setPosition(std::string_view bar, int position) {
    State& s = state(bar, {K::ProgressBar});
    s.position = std::clamp(position, 0, s.maximum);   // as the real bar clamps
}
int ControlModel::maximum(std::string_view bar) const { return state(bar, {K::ProgressBar}).maximum; }
void ControlModel::setMaximum(std::string_view bar, int maximum) {
    State& s = state(bar, {K::ProgressBar});
    s.maximum = maximum;
    s.position = std::clamp(s.position, 0, maximum);
}

int ControlModel::interval(std::string_view timer) const { return state(timer, {K::Timer}).interval; }
void ControlModel::setInterval(std::string_view timer, int milliseconds) {
    state(timer, {K::Timer}).interval = milliseconds < 0 ? 0 : milliseconds;
}

int ControlModel::currentTab(std::string_view tabs) const { return state(tabs, {K::TabControl}).tab; }
void ControlModel::setCurrentTab(std::string_view tabs, int index) {
    State& s = state(tabs, {K::TabControl});
    int count = static_cast<int>(FindTabSpec(tabs)->texts.size());
    if (index < 0 || index >= count) throw std::out_of_range("tab of " + Name(tabs));
    s.tab = index;
}

// --- the window ---

std::string ControlModel::windowTitle() const { checkOpen(); return title_; }
void ControlModel::setWindowTitle(std::string_view title) { checkOpen(); title_ = std::string(title); }
bool ControlModel::controlBox() const { checkOpen(); return controlBox_; }
void ControlModel::setControlBox(bool enabled) { checkOpen(); controlBox_ = enabled; }
void ControlModel::setWorkProgress(WorkProgress progress) {
    checkOpen();
    if (progress != progress_) progressShown_.push_back(progress_ = progress);
}
bool ControlModel::minimised() const { checkOpen(); return minimised_; }
void ControlModel::setMinimised(bool minimised) { checkOpen(); minimised_ = minimised; }

void ControlModel::startSystemTracking(int hitTestCode) {
    checkOpen();
    tracking_.push_back(hitTestCode);
}

void ControlModel::close() {
    checkOpen();
    closed_ = true;
    queue_.clear();   // nothing reaches a destroyed window
}

// --- modal boxes ---

bool ControlModel::messageBox(std::string_view text, std::string_view caption, MessageKind kind) {
    checkOpen();
    shown_.push_back({std::string(text), std::string(caption), kind, false});
    if (boxHook_) boxHook_(shown_.back());
    if (messageAnswers_.empty()) return true;
    bool ok = messageAnswers_.front();
    messageAnswers_.pop_front();
    return ok;
}

bool ControlModel::inputBox(std::string_view prompt, std::string_view caption, std::string& text) {
    checkOpen();
    shown_.push_back({std::string(prompt), std::string(caption), MessageKind::Ok, true});
    if (boxHook_) boxHook_(shown_.back());
    if (inputAnswers_.empty()) return false;
    auto typed = std::move(inputAnswers_.front());
    inputAnswers_.pop_front();
    if (!typed) return false;
    text = *typed;
    return true;
}

// --- the pump ---

void ControlModel::processPendingMessages() {
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

void ControlModel::post(std::function<void()> action) { queue_.push_back(std::move(action)); }
void ControlModel::postClick(std::string_view control) {
    post([this, name = Name(control)] { click(name); });
}
void ControlModel::postClose() {
    post([this] { close(); });
}

// --- the user ---

void ControlModel::show() {
    checkOpen();
    raise(kMainWindowName, Event::SizeChanged);
}

void ControlModel::click(std::string_view control) {
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
        default: throw std::invalid_argument(Name(control) + " takes no click");
    }
    raise(control, Event::Clicked);
}

void ControlModel::pressLeftButton(std::string_view control) {
    const State& s = state(control, {K::PictureBox, K::HyperlinkBox});
    if (!s.visible) return;
    raise(control, Event::LeftButtonPressed);
}

void ControlModel::doubleClick(std::string_view control) {
    state(control, {K::PictureBox});
    raise(control, Event::DoubleClicked);
}

void ControlModel::selectTab(std::string_view tabs, int index) {
    if (currentTab(tabs) == index) return;   // a click on the current tab changes nothing
    setCurrentTab(tabs, index);
    raise(tabs, Event::CurrentTabChanged);
}

void ControlModel::selectItem(std::string_view list, int index) {
    setCurrentItem(list, index);
    raise(list, spec(list).kind == K::ListBox ? Event::SelectionChanged : Event::ItemSelected);
}

void ControlModel::toggleItemCheck(std::string_view list, int index) {
    setItemChecked(list, index, !itemChecked(list, index));
    setCurrentItem(list, index);
    raise(list, Event::ItemSelected);
}

void ControlModel::tick(std::string_view timer) {
    if (interval(timer) > 0) raise(timer, Event::Tick);
}

bool ControlModel::shown(std::string_view control) const {
    if (!visible(control)) return false;
    const ControlSpec* c = &spec(control);
    while (!c->parent.empty()) {
        const ControlSpec& parent = spec(c->parent);
        if (c->page >= 0 && currentTab(parent.name) != c->page) return false;
        if (!visible(parent.name)) return false;
        c = &parent;
    }
    return true;
}

}  // namespace cc
