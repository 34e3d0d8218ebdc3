#pragma once
// The browser-repair page over the in-memory window and fakes: a clean
// machine to start from, and the rows as the user sees them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Program.h"
#include "fakes/FakePlatform.h"
#include "repair/Detection.h"
#include "repair/HijackValues.h"
#include "resources/ResourceIds.h"
#include "ui/ControlModel.h"

namespace cc::test {

inline constexpr const char* kSystemDirectory = "C:\\WINDOWS\\system32\\";

struct RowView {
    std::string text;
    int icon = 0;
    bool link = false;
    bool operator==(const RowView&) const = default;
};

inline void PrintTo(const RowView& row, std::ostream* out) {
    *out << "{\"" << row.text << "\", icon " << row.icon << (row.link ? ", link shown}" : ", link hidden}");
}

struct RepairPage : ::testing::Test {
    ControlModel ui;
    fake::FakePlatform fakes;
    Program program{ui, fakes.platform};
    ProgramState& state = program.state();

    RepairPage() {
        fakes.system.systemDirectory = kSystemDirectory;
        fakes.registry.setText(kStartPage, "about:blank");
        fakes.registry.setText(kDesktopIconCommand, std::string(kCleanBrowserCommand));
        fakes.registry.setText(kHttpCommand, std::string(kCleanBrowserCommand));
    }

    void scan() { ui.click("按钮11"); }

    RowView row(HijackRow which) const {
        const RowControls& c = ControlsOf(which);
        return {ui.caption(c.result), ui.picture(c.icon), ui.visible(c.link)};
    }
    std::vector<RowView> rows() const {
        std::vector<RowView> all;
        for (HijackRow r : {HijackRow::StartPage, HijackRow::PlantedLibrary, HijackRow::StartupEntry,
                            HijackRow::DesktopIcon, HijackRow::HttpCommand})
            all.push_back(row(r));
        return all;
    }

    static RowView Clear(bool link = false) { return {"未发现异常", IDI_STATUS_CLEAN, link}; }
    static RowView Found(std::string text) { return {std::move(text), IDI_STATUS_FOUND, true}; }
};

}  // namespace cc::test
