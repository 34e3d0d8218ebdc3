#include "platform/KnownFolders.h"

#include <cstdio>

#include "formats/ByteReader.h"

namespace cc {
namespace {

constexpr std::string_view kUserShellFolders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr std::uint32_t kVirtual = 1, kFixed = 2, kCommon = 3, kPerUser = 4;   // KF_CATEGORY
constexpr std::uint32_t kRegistryDword = 4;
constexpr int kDeepestParent = 16;   // far beyond Windows' own chains; a loop ends here

// Special folders with a file-system known folder, as Microsoft's KNOWNFOLDERID
// page pairs them. The virtual ones (Internet, Control Panel, Printers, Recycle
// Bin, Computer, Network, Connections, Computers Near Me) have no path.
struct CsidlFolder { std::uint32_t csidl; std::string_view guid; };
constexpr CsidlFolder kCsidlFolders[] = {
    {0x00, "{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}"}, {0x02, "{A77F5D77-2E2B-44C3-A6A2-ABA601054A51}"},
    {0x05, "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}"}, {0x06, "{1777F761-68AD-4D8A-87BD-30B759FA33DD}"},
    {0x07, "{B97D20BB-F46A-4C97-BA10-5E3608430854}"}, {0x08, "{AE50C081-EBD2-438A-8655-8A092E34987A}"},
    {0x09, "{8983036C-27C0-404B-8F08-102D10DCFD74}"}, {0x0B, "{625B53C3-AB48-4EC1-BA1F-A1EF4146FC19}"},
    {0x0D, "{4BD8D571-6D19-48D3-BE97-422220080E43}"}, {0x0E, "{18989B1D-99B5-455B-841C-AB7C74E4DDFC}"},
    {0x10, "{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}"}, {0x13, "{C5ABBF53-E17F-4121-8900-86626FC2C973}"},
    {0x14, "{FD228CB7-AE11-4AE3-864C-16F3910AB8FE}"}, {0x15, "{A63293E8-664E-48DB-A079-DF759E0509F7}"},
    {0x16, "{A4115719-D62E-491D-AA7C-E74B8BE3B067}"}, {0x17, "{0139D44E-6AFE-49F2-8690-3DAFCAE6FFB8}"},
    {0x18, "{82A5EA35-D9CD-47C5-9629-E15D2F714E6E}"}, {0x19, "{C4AA340D-F20F-4863-AFEF-F87EF2E6BA25}"},
    {0x1A, "{3EB685DB-65F9-4CF6-A03A-E3EF65729F3D}"}, {0x1B, "{9274BD8D-CFD1-41C3-B35E-B13F55A758F4}"},
    {0x1C, "{F1B32785-6FBA-4FCF-9D55-7B8E7F157091}"}, {0x1D, "{B97D20BB-F46A-4C97-BA10-5E3608430854}"},
    {0x1E, "{82A5EA35-D9CD-47C5-9629-E15D2F714E6E}"}, {0x1F, "{1777F761-68AD-4D8A-87BD-30B759FA33DD}"},
    {0x20, "{352481E8-33BE-4251-BA85-6007CAEDCF9D}"}, {0x21, "{2B0F765D-C0E9-4171-908E-08A611B84FF6}"},
    {0x22, "{D9DC8A3B-B784-432E-A781-5A1130A75963}"}, {0x23, "{62AB5D82-FDC1-4DC3-A9DD-070D1D495D97}"},
    {0x24, "{F38BF404-1D43-42F2-9305-67DE0B28FC23}"}, {0x25, "{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}"},
    {0x26, "{905E63B6-C1BF-494E-B29C-65B732D3D21A}"}, {0x27, "{33E28130-4E1E-4676-835A-98395C3BC3BB}"},
    {0x28, "{5E6C858F-0E22-4760-9AFE-EA3317B67173}"}, {0x29, "{D65231B0-B2F1-4857-A4CE-A8E7C6EA7D27}"},
    {0x2A, "{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}"}, {0x2B, "{F7F1ED05-9F6D-47A2-AAAE-29D317C6F066}"},
    {0x2C, "{DE974D24-D9C6-4D3E-BF91-F4455120B917}"}, {0x2D, "{B94237E7-57AC-4347-9151-B08C6C32D1F7}"},
    {0x2E, "{ED4824AF-DCE4-45A8-81E2-FC7965083634}"}, {0x2F, "{D0384E7D-BAC3-4797-8F14-CBA229B392B5}"},
    {0x30, "{724EF170-A42D-4FEF-9F26-B60E846FBA4F}"}, {0x35, "{3214FAB5-9757-4298-BB61-92A9DEAA44FF}"},
    {0x36, "{B6EBFB86-6907-413C-9AF7-4FC2ABF07CC5}"}, {0x37, "{2400183A-6185-49FB-A2D8-4A392A602BA3}"},
    {0x38, "{8AD10C31-2ADB-4296-A8F7-E4701232C972}"}, {0x39, "{2A00375E-224C-49DE-B8D1-440DF7EF3DDC}"},
    {0x3A, "{C1BAE2D0-10DF-4334-BEDD-7AA20B227A9D}"}, {0x3B, "{9E52AB10-F80D-49DF-ACB8-4330F5687855}"},
};

// Shell folder classes that root items store, with the known folder each
// shows: the desktop's user folder ("Users files"), My Documents, Public and
// OneDrive, and the folders the computer lists (Windows 8.1, then 10). The
// Desktop and Downloads items there store the known folders' own GUIDs.
struct ShellFolder { std::string_view clsid, known; std::uint32_t csidl; };
constexpr std::uint32_t kNoCsidl = ~0u;
constexpr ShellFolder kShellFolders[] = {
    {"{59031A47-3F72-44A7-89C5-5595FE6B30EE}", "{5E6C858F-0E22-4760-9AFE-EA3317B67173}", 0x28},      // Profile
    {"{450D8FBA-AD25-11D0-98A8-0800361B1103}", "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", 0x05},      // Documents
    {"{4336A54D-038B-4685-AB02-99BB52D3FB8B}", "{DFDF76A2-C82A-4D63-906A-5644AC457385}", kNoCsidl},  // Public
    {"{018D5C66-4533-4307-9B53-224DE2ED1FE6}", "{A52BBA46-E9E1-435F-B3D9-28DAA648C0F6}", kNoCsidl},  // OneDrive
    {"{A8CDFF1C-4878-43BE-B5FD-F8091C1C60D0}", "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", 0x05},      // Documents
    {"{1CF1260C-4DD0-4EBB-811F-33C572699FDE}", "{4BD8D571-6D19-48D3-BE97-422220080E43}", 0x0D},      // Music
    {"{3ADD1653-EB32-4CB0-BBD7-DFA0ABB5ACCA}", "{33E28130-4E1E-4676-835A-98395C3BC3BB}", 0x27},      // Pictures
    {"{A0953C92-50DC-43BF-BE83-3742FED03C9C}", "{18989B1D-99B5-455B-841C-AB7C74E4DDFC}", 0x0E},      // Videos
    {"{D3162B92-9365-467A-956B-92703ACA08AF}", "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", 0x05},      // Documents
    {"{088E3905-0323-4B02-9826-5D99428E115F}", "{374DE290-123F-4565-9164-39C4925E467B}", kNoCsidl},  // Downloads
    {"{3DFDF296-DBEC-4FB4-81D1-6A3438BCF4DE}", "{4BD8D571-6D19-48D3-BE97-422220080E43}", 0x0D},      // Music
    {"{24AD3AD4-A569-4530-98E1-AB02F9417AA8}", "{33E28130-4E1E-4676-835A-98395C3BC3BB}", 0x27},      // Pictures
    {"{F86FA3AB-70D2-4FC7-9C99-FCBF05467F3A}", "{18989B1D-99B5-455B-841C-AB7C74E4DDFC}", 0x0E},      // Videos
    {"{0DB7E03F-FC29-4DC6-9020-FF41B59E513A}", "{31C0DD25-9439-4F12-BF41-7FF4EDA38722}", kNoCsidl},  // 3D Objects
    {"{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}", "{B4BFCC3A-DB2C-424C-B029-7FE99A87C641}", 0x10},      // Desktop
};

// Fixed folders (KF_CATEGORY_FIXED) the system names exactly: one of its own
// folders with a subfolder, or a variable of this program's environment. This
// program is 64-bit, so the x64 folders are the plain ones.
struct FixedFolder { std::string_view guid; std::string KnownFolderSources::*base; std::string_view rest; };
constexpr FixedFolder kFixedFolders[] = {
    {"{F38BF404-1D43-42F2-9305-67DE0B28FC23}", &KnownFolderSources::windows, ""},             // Windows
    {"{FD228CB7-AE11-4AE3-864C-16F3910AB8FE}", &KnownFolderSources::windows, "\\Fonts"},      // Fonts
    {"{8AD10C31-2ADB-4296-A8F7-E4701232C972}", &KnownFolderSources::windows, "\\Resources"},  // ResourceDir
    {"{1AC14E77-02E7-4E5D-B744-2EB1AE5198B7}", &KnownFolderSources::system, ""},              // System
    {"{D65231B0-B2F1-4857-A4CE-A8E7C6EA7D27}", &KnownFolderSources::systemX86, ""},           // SystemX86
    {"{905E63B6-C1BF-494E-B29C-65B732D3D21A}", nullptr, "%ProgramFiles%"},                    // ProgramFiles
    {"{6D809377-6AF0-444B-8957-A3773F02200E}", nullptr, "%ProgramFiles%"},                    // ProgramFilesX64
    {"{7C5A40EF-A0FB-4BFC-874A-C0F2E0B9FA8E}", nullptr, "%ProgramFiles(x86)%"},               // ProgramFilesX86
    {"{F7F1ED05-9F6D-47A2-AAAE-29D317C6F066}", nullptr, "%CommonProgramFiles%"},              // ProgramFilesCommon
    {"{6365D5A7-0F0D-45E5-87F6-0DA56B6A4F7D}", nullptr, "%CommonProgramFiles%"},              // ProgramFilesCommonX64
    {"{DE974D24-D9C6-4D3E-BF91-F4455120B917}", nullptr, "%CommonProgramFiles(x86)%"},         // ProgramFilesCommonX86
    {"{5E6C858F-0E22-4760-9AFE-EA3317B67173}", nullptr, "%USERPROFILE%"},                     // Profile
    {"{DFDF76A2-C82A-4D63-906A-5644AC457385}", nullptr, "%PUBLIC%"},                          // Public
    {"{62AB5D82-FDC1-4DC3-A9DD-070D1D495D97}", nullptr, "%ProgramData%"},                     // ProgramData
};

bool SameGuid(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if ((a[i] | 0x20) != (b[i] | 0x20)) return false;   // hex digits, braces and dashes only
    return true;
}

std::optional<std::string> Nonempty(std::string text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(std::move(text));
}

// A text with its variables expanded; none where it names one and no environment is trusted.
std::optional<std::string> Expanded(std::string_view text, const KnownFolderSources& sources) {
    if (!sources.expand) return text.find('%') == std::string_view::npos ? Nonempty(std::string(text)) : std::nullopt;
    return Nonempty(sources.expand(text));
}

std::optional<std::string> Fixed(std::string_view guid, const KnownFolderSources& sources) {
    if (SameGuid(guid, "{0762D272-C50A-4BB0-A382-697DCD729B80}")) {   // UserProfiles: where profiles are made
        const std::string text = sources.registry->readText(
            {RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", "ProfilesDirectory"});
        return text.empty() ? std::nullopt : Expanded(text, sources);
    }
    for (const FixedFolder& folder : kFixedFolders) {
        if (!SameGuid(folder.guid, guid)) continue;
        if (folder.base) return (sources.*folder.base).empty() ? std::nullopt : Nonempty(sources.*folder.base + std::string(folder.rest));
        std::optional<std::string> path = Expanded(folder.rest, sources);
        return path && path->find('%') == std::string::npos ? path : std::nullopt;   // the variable is not set
    }
    return std::nullopt;
}

std::optional<std::string> Resolve(std::string_view guid, const KnownFolderSources& sources, int depth) {
    if (depth > kDeepestParent) return std::nullopt;
    Registry& registry = *sources.registry;
    const std::string key = std::string(kFolderDescriptions) + "\\" + std::string(guid);
    RegistryData category;
    if (registry.readData({RegistryRoot::LocalMachine, key, "Category"}, category) != Lookup::Found ||
        category.type != kRegistryDword || category.bytes.size() != 4)
        return std::nullopt;
    const std::uint32_t kind = ByteReader(category.bytes).u32();
    if (kind == kFixed) return Fixed(guid, sources);
    if (kind != kCommon && kind != kPerUser) return std::nullopt;   // virtual, or not a category at all
    if (kind == kPerUser && !sources.expand) return std::nullopt;    // whose? this user's registry says
    // Redirected: a value named by the GUID, or by the folder's name for the
    // older folders ("Personal", "Common Desktop").
    const RegistryRoot root = kind == kCommon ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser;
    const std::string name = registry.readText({RegistryRoot::LocalMachine, key, "Name"});
    for (const std::string& value : {std::string(guid), name}) {
        if (value.empty()) continue;
        const std::string text = registry.readText({root, kUserShellFolders, value});
        if (!text.empty()) return Expanded(text, sources);
    }
    // Otherwise where its parent is, and below that.
    const std::string relative = registry.readText({RegistryRoot::LocalMachine, key, "RelativePath"});
    if (relative.empty()) return std::nullopt;
    std::optional<std::string> parent =
        Resolve(registry.readText({RegistryRoot::LocalMachine, key, "ParentFolder"}), sources, depth + 1);
    if (!parent) return std::nullopt;
    if (parent->back() != '\\') *parent += '\\';
    return *parent + relative;
}

}  // namespace

std::string GuidText(const std::array<std::uint8_t, 16>& guid) {
    ByteReader r(guid);   // three little-endian fields, then eight bytes in their order
    const unsigned first = r.u32(), second = r.u16(), third = r.u16();
    const std::span<const std::uint8_t> g = r.bytes(8);
    char text[39];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", first, second, third, g[0], g[1],
                  g[2], g[3], g[4], g[5], g[6], g[7]);
    return text;
}

std::string_view KnownFolderOfCsidl(std::uint32_t csidl) {
    for (const CsidlFolder& folder : kCsidlFolders)
        if (folder.csidl == csidl) return folder.guid;
    return {};
}

ShellFolderTarget KnownFolderOfShellFolder(std::string_view clsid) {
    for (const ShellFolder& folder : kShellFolders)
        if (SameGuid(folder.clsid, clsid)) return {std::string(folder.known), folder.csidl};
    for (const CsidlFolder& folder : kCsidlFolders)   // a known folder's own GUID
        if (SameGuid(folder.guid, clsid)) return {std::string(clsid), folder.csidl};
    return {std::string(clsid), kNoCsidl};
}

std::optional<std::string> KnownFolderPath(std::string_view guid, const KnownFolderSources& sources) {
    return Resolve(guid, sources, 0);
}

}  // namespace cc
