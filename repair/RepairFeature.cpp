#include "repair/RepairFeature.h"

#include "repair/Detection.h"
#include "repair/Repairs.h"
#include "ui/Catalogue.h"

namespace cc {

void AttachRepair(ControlLayer& controls, ProgramState& state, Platform& platform) {
    controls.on(kDetectButton, Event::Clicked, [&] { RunDetection(controls, state, platform); });

    for (HijackRow row : {HijackRow::StartPage, HijackRow::PlantedLibrary, HijackRow::StartupEntry,
                          HijackRow::DesktopIcon, HijackRow::HttpCommand}) {
        const std::string_view link = ControlsOf(row).link;
        controls.on(link, Event::LeftButtonPressed, [&controls, &state, &platform, row, link] {
            if (!controls.visible(link)) return;
            const bool repaired = RunRepair(row, state, platform);
            controls.messageBox(repaired ? "修复完毕." : "修复失败请重试", kProgramName, MessageKind::Ok);
            if (controls.windowClosed()) return;
            controls.setVisible(link, false);
            // The whole page again, as a click on the scan button does.
            RunDetection(controls, state, platform);
        });
    }
}

}  // namespace cc
