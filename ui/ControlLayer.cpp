#include "ui/ControlLayer.h"

namespace cc {

void ControlLayer::on(std::string_view control, Event event, Handler handler) {
    handlers_[{std::string(control), event}] = std::move(handler);
}

void ControlLayer::raise(std::string_view control, Event event) {
    auto it = handlers_.find(std::pair<std::string, Event>{std::string(control), event});
    if (it == handlers_.end()) return;
    // A copy: the handler may re-register itself while it runs.
    Handler handler = it->second;
    handler();
}

void ControlLayer::removeItems(std::string_view list, const std::vector<int>& positions) {
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) removeItem(list, *it);   // last first: the rest keep their places
}

void ControlLayer::setAllItemsChecked(std::string_view list, bool checked) {
    for (int i = 0, count = itemCount(list); i < count; ++i) setItemChecked(list, i, checked);
}

}  // namespace cc
