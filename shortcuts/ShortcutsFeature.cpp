#include "shortcuts/ShortcutsFeature.h"

#include <memory>

#include "shortcuts/ShortcutScan.h"

namespace cc {

void AttachShortcuts(ControlLayer& c, ProgramState&, Platform& platform) {
    auto scan = std::make_shared<ShortcutScan>(c, platform.files);
    c.on("扫描", Event::Clicked, [scan] { scan->scanClicked(); });
    c.on("删除", Event::Clicked, [scan] { scan->deleteClicked(); });
}

}  // namespace cc
