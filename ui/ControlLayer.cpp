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

}  // namespace cc
