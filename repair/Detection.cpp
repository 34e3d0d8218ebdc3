#include "repair/Detection.h"

#include "repair/HijackValues.h"
#include "resources/ResourceIds.h"

namespace cc {
namespace {

// What a check found, and the text its row shows.
struct Verdict {
    enum class Kind { Clear, Finding, Unchecked } kind;
    std::string text;
};
Verdict Clear() { return {Verdict::Kind::Clear, "未发现异常"}; }
Verdict Finding(std::string text) { return {Verdict::Kind::Finding, std::move(text)}; }
// What the row stands on could not be read: never clear.
Verdict Unchecked() { return {Verdict::Kind::Unchecked, "无法检测"}; }
Verdict FindingIfThere(Lookup found, std::string_view text) {
    return found == Lookup::Missing ? Clear() : found == Lookup::Found ? Finding(std::string(text)) : Unchecked();
}

// A clear row keeps its link as it is; a row that could not be checked offers
// no repair, as none could be sure of what it could not read.
void ShowVerdict(ControlLayer& controls, HijackRow row, const Verdict& verdict) {
    const RowControls& c = ControlsOf(row);
    controls.setCaption(c.result, verdict.text);
    controls.setPicture(c.icon, verdict.kind == Verdict::Kind::Clear ? IDI_STATUS_CLEAN : IDI_STATUS_FOUND);
    if (verdict.kind != Verdict::Kind::Clear) controls.setVisible(c.link, verdict.kind == Verdict::Kind::Finding);
}

std::string Concat(std::string_view message, std::string_view tail) {
    std::string text(message);
    text += tail;
    return text;
}

// Byte-exact: another letter case, a trailing argument or a space is a finding.
// Without the machine's program files folder there is no clean command to
// compare with: the row cannot be checked.
Verdict CheckCommand(Registry& registry, const RegistryValue& value, std::string_view clean, std::string_view message) {
    std::string command;
    if (clean.empty() || registry.readText(value, command) == Lookup::Failed) return Unchecked();
    if (command == clean) return Clear();
    return Finding(Concat(message, LastQuotedPiece(command)));
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

    std::string startPage;
    const Lookup page = registry.readText(kStartPage, startPage);
    ShowVerdict(controls, HijackRow::StartPage,
                page == Lookup::Failed        ? Unchecked()
                : startPage == kCleanStartPage ? Clear()
                                               : Finding(Concat("检测到您的IE首页为:", startPage)));

    const std::string clean = CleanBrowserCommand(registry);
    ShowVerdict(controls, HijackRow::DesktopIcon,
                CheckCommand(registry, kDesktopIconCommand, clean, "系统检测到您的IE被非法劫持,主页为:"));
    ShowVerdict(controls, HijackRow::HttpCommand, CheckCommand(registry, kHttpCommand, clean, "检测到非法劫持,当前IE首页为:"));

    ShowVerdict(controls, HijackRow::StartupEntry, FindingIfThere(registry.findValue(kSoundManStartup), "检测到植入！"));

    // An unknown system folder cannot be looked in: that row is not checked either.
    const std::string library = SystemFile(state, kPlantedLibrary);
    ShowVerdict(controls, HijackRow::PlantedLibrary,
                FindingIfThere(library.empty() ? Lookup::Failed : platform.files.findFile(library), "检测到劫持！"));
}

}  // namespace cc
