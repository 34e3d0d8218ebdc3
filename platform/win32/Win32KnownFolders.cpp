#include "platform/win32/Win32KnownFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/KnownFolders.h"
#include "platform/win32/SystemFolder.h"
#include "platform/win32/Utf.h"
#include "platform/win32/Win32Registry.h"

namespace cc {
std::string ExpandedVariables(std::string_view text) {
    const std::wstring wide = Widen(text);
    std::wstring expanded(32768, L'\0');
    const DWORD length = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
    if (length == 0 || length > expanded.size()) return {};
    return Narrow(std::wstring_view(expanded.data(), length - 1));   // the count includes the NUL
}

namespace {

const KnownFolderSources& Sources(bool ownLink) {
    static Win32Registry registry;
    static const KnownFolderSources own{&registry, ExpandedVariables, Narrow(SystemFolder(GetWindowsDirectoryW)),
                                        Narrow(SystemFolder(GetSystemDirectoryW)),
                                        Narrow(SystemFolder(GetSystemWow64DirectoryW))};   // none on 32-bit Windows
    static const KnownFolderSources machine{&registry, nullptr, own.windows, own.system, own.systemX86};
    return ownLink ? own : machine;
}

}  // namespace

std::optional<std::string> CurrentFolderPath(const ShellFolderId& folder, bool ownLink) {
    const KnownFolderSources& sources = Sources(ownLink);
    static const bool described = sources.registry->keyExists(RegistryRoot::LocalMachine, kFolderDescriptions);
    const ShellFolderTarget shown = folder.rootItem ? KnownFolderOfShellFolder(GuidText(folder.guid)) : ShellFolderTarget{};
    if (described) {
        if (folder.rootItem) return KnownFolderPath(shown.known, sources);
        return KnownFolderPath(folder.known ? GuidText(folder.guid) : KnownFolderOfCsidl(folder.csidl), sources);
    }
    if (!ownLink) return std::nullopt;   // the shell's answer there is the user's, redirections and all
    const std::uint32_t csidl = folder.rootItem ? shown.csidl : folder.known ? ~0u : folder.csidl;
    if (csidl > 0xFF) return std::nullopt;   // no known folders here; no CSIDL_FLAG_ bits
    wchar_t path[MAX_PATH]{};
    if (SHGetFolderPathW(nullptr, int(csidl) | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return std::nullopt;
    return Narrow(path);
}

}  // namespace cc
