#include "shortcuts/ShortcutsFeature.h"

#include <memory>

#include "shortcuts/ShortcutScan.h"

namespace cc {

void AttachShortcuts(ControlLayer& c, ProgramState&, Platform& platform) {
    auto scan = std::make_shared<ShortcutScan>(c, platform.files);
    c.on(kShortcutScanButton, Event::Clicked, [scan] { scan->scanClicked(); });
    c.on(kShortcutDeleteButton, Event::Clicked, [scan] { scan->deleteClicked(); });
}

}  // namespace cc
