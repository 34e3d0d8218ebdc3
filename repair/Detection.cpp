#include "repair/Detection.h"

#include <optional>

#include "repair/HijackValues.h"
#include "resources/ResourceIds.h"

namespace cc {
namespace {

constexpr std::string_view kClearText = "未发现异常";

// nullopt: clear; otherwise the finding's text.
using Verdict = std::optional<std::string>;

void ShowVerdict(ControlLayer& controls, HijackRow row, const Verdict& finding) {
    const RowControls& c = ControlsOf(row);
    controls.setCaption(c.result, finding ? *finding : kClearText);
    controls.setPicture(c.icon, finding ? IDI_STATUS_FOUND : IDI_STATUS_CLEAN);
    if (finding) controls.setVisible(c.link, true);
}

std::string Concat(std::string_view message, std::string_view tail) {
    std::string text(message);
    text += tail;
    return text;
}

// Byte-exact: another letter case, a trailing argument or a space is a finding.
Verdict CheckCommand(Registry& registry, const RegistryValue& value, std::string_view clean, std::string_view message) {
    const std::string command = registry.readText(value);
    if (!clean.empty() && command == clean) return std::nullopt;
    return Concat(message, LastQuotedPiece(command));
}

}  // namespace

std::string LastQuotedPiece(std::string_view value) {
    const size_t quote = value.rfind('"');
    std::string_view piece = quote == std::string_view::npos ? value : value.substr(quote + 1);
    const size_t first = piece.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(piece.substr(first, piece.find_last_not_of(' ') - first + 1));
}

std::string SystemFile(const ProgramState& state, std::string_view name) {
    if (state.SystemDirectory.empty()) return {};
    return state.SystemDirectory + std::string(name);
}

void RunDetection(ControlLayer& controls, ProgramState& state, Platform& platform) {
    state.SystemDirectory = platform.system.QuerySystemDirectory();
    Registry& registry = platform.registry;

    const std::string startPage = registry.readText(kStartPage);
    ShowVerdict(controls, HijackRow::StartPage,
                startPage == kCleanStartPage ? Verdict() : Concat("检测到您的IE首页为:", startPage));

    const std::string clean = CleanBrowserCommand(registry);
    ShowVerdict(controls, HijackRow::DesktopIcon,
                CheckCommand(registry, kDesktopIconCommand, clean, "系统检测到您的IE被非法劫持,主页为:"));
    ShowVerdict(controls, HijackRow::HttpCommand, CheckCommand(registry, kHttpCommand, clean, "检测到非法劫持,当前IE首页为:"));

    ShowVerdict(controls, HijackRow::StartupEntry,
                registry.valueExists(kSoundManStartup) ? Verdict("检测到植入！") : Verdict());

    const std::string library = SystemFile(state, kPlantedLibrary);
    const bool planted = !library.empty() && platform.files.fileExists(library);
    ShowVerdict(controls, HijackRow::PlantedLibrary, planted ? Verdict("检测到劫持！") : Verdict());
}

}  // namespace cc
