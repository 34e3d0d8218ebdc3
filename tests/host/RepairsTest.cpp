// The browser-repair page over the in-memory window and fakes: the five checks, and the one-click
// repairs with their steps, backups, outcome box and the scan that follows.
#include "fakes/FakePlatform.h"
#include "formats/Wtf8.h"
#include "repair/Detection.h"
#include "repair/HijackValues.h"
#include "repair/UndoFile.h"
#include "resources/ResourceIds.h"
using namespace cc;
using namespace std::literals;

namespace {
const std::string kSystem = "C:\\WINDOWS\\system32\\";
const std::string kLibrary = kSystem + "dneapi.dll", kMsconfig = kSystem + "msconfig.exe";
const std::string kBrowser = "C:\\Program Files\\Internet Explorer\\iexplore.exe", kClean = "\"" + kBrowser + "\"";
const std::string kOnD = "\"D:\\Program Files\\Internet Explorer\\iexplore.exe\"";   // Windows installed on D:
const std::string kRun = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\";
const std::string kStartPageValue = "HKCU\\Software\\Microsoft\\Internet Explorer\\Main\\Start Page";
const std::string kIconValue = "HKCR\\CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell\\OpenHomePage\\Command\\@";
const std::string kUser = "S-1-5-21-1-2-3-1001", kOwn = "C:\\ProgramData\\澄川清理助手", kBackups = kOwn + "\\备份\\" + kUser + "\\";
const std::string kUndoHeader = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n";
std::vector<std::uint8_t> Stored(std::u16string_view units) {   // as the registry stores them: little-endian
    std::vector<std::uint8_t> bytes;
    for (char16_t u : units) bytes.push_back(u & 0xFF), bytes.push_back(u >> 8);
    return bytes;
}
template <class Bytes> std::string TextOf(const Bytes& file) {   // a UTF-16LE file (an undo file) as text
    std::u16string units;
    for (size_t i = 0; i + 1 < file.size(); i += 2) units += char16_t((unsigned(file[i]) & 0xFF) | (unsigned(file[i + 1]) & 0xFF) << 8);
    return Wtf8FromUtf16(units);
}
using RowView = std::tuple<std::string, int, bool>;   // the result's text, its icon, the link shown
RowView Clear(bool link = false) { return {"未发现异常", IDI_STATUS_CLEAN, link}; }
RowView Found(std::string text) { return {std::move(text), IDI_STATUS_FOUND, true}; }
const RowView kUnchecked{"无法检测", IDI_STATUS_FOUND, false};   // the finding's icon, and no repair offered

// A clean machine and the page over it.
struct Page : fake::FakeProgram {
    fake::Strings repairSteps;   // the journal when the outcome box came up, after the backup
    explicit Page(bool clean = true) {
        registry.setText(kProgramFilesFolder, "C:\\Program Files");   // a standard installation
        if (clean) registry.setText(kStartPage, "about:blank"), registry.setText(kDesktopIconCommand, kClean), registry.setText(kHttpCommand, kClean);
    }
    void scan() { ui.click("按钮11"); }
    std::vector<RowView> rows() const {
        std::vector<RowView> all;
        for (const RowControls& c : kRowControls) all.push_back({ui.caption(c.result), ui.picture(c.icon), ui.visible(c.link)});
        return all;
    }
    RowView row(HijackRow which) const { return rows()[static_cast<size_t>(which)]; }
    // Presses the row's link: the box (with that text, if given) comes up while the link still shows,
    // and a scan follows it.
    void press(HijackRow which, std::string_view box = {}) {
        journal.clear();
        bool linkDuringBox = false;
        size_t shown = 0;
        ui.setBoxHook([&](const ControlModel::ShownBox&) {
            shown = journal.size();
            auto saved = std::find_if(journal.rbegin(), journal.rend(),
                                      [](const std::string& line) { return line.find("\\备份\\") != std::string::npos; });
            repairSteps.assign(saved.base(), journal.end());
            linkDuringBox = ui.visible(ControlsOf(which).link);
        });
        ui.pressLeftButton(ControlsOf(which).link);
        ASSERT_GT(journal.size(), shown) << "no scan after the box";
        EXPECT_EQ(journal[shown], "read " + kStartPageValue);
        EXPECT_TRUE(linkDuringBox);
        EXPECT_TRUE(box.empty() || lastBox() == box) << lastBox();
    }
    std::string lastBox() const { return ui.shownBoxes().back().text; }
    void expectOnlyLooked(const fake::Strings& lines) { for (const auto& l : lines) EXPECT_TRUE(l.starts_with("read ") || l.starts_with("exists ")) << l; }
};

TEST(HijackDetection, EachRowShowsItsVerdictAndChangesNothing) {
    const std::pair<std::function<void(fake::FakeProgram&)>, std::vector<RowView>> cases[] = {
        {[](fake::FakeProgram& f) {
             f.registry.setText(kStartPage, "http://start.example/");
             f.registry.setText(kDesktopIconCommand, "\"" + kBrowser + "\" http://hijack.example/ ");
             f.registry.setText(kHttpCommand, "\"" + kBrowser + "\"  -nohome\t ");   // only spaces are trimmed
             f.registry.setText(kSoundManStartup, "");   // empty data is still an entry
             f.fs.addFile(kSystem + "DNEAPI.DLL");
         },
         {Found("检测到您的IE首页为:http://start.example/"), Found("检测到劫持！"), Found("检测到植入！"),
          Found("系统检测到您的IE被非法劫持,主页为:http://hijack.example/"), Found("检测到非法劫持,当前IE首页为:-nohome\t")}},
        {[](fake::FakeProgram& f) {   // texts compare byte for byte; the library counts only in the system folder
             f.registry.setText(kStartPage, "About:blank");
             f.registry.setText(kDesktopIconCommand, "\"c:\\program files\\internet explorer\\iexplore.exe\"");
             f.registry.setText(kHttpCommand, "  " + kBrowser);   // unquoted: the whole value is the piece
             for (auto path : {"C:\\WINDOWS\\dneapi.dll", "C:\\WINDOWS\\system32\\drivers\\dneapi.dll", "dneapi.dll"}) f.fs.addFile(path);
         },
         {Found("检测到您的IE首页为:About:blank"), Clear(), Clear(), Found("系统检测到您的IE被非法劫持,主页为:"),
          Found("检测到非法劫持,当前IE首页为:" + kBrowser)}},
        {[](fake::FakeProgram& f) {   // missing and non-text values read as empty
             f.registry.deleteValue(kStartPage), f.registry.setText(kHttpCommand, kClean + " ");
             for (const auto& value : {kDesktopIconCommand, kSoundManStartup}) f.registry.setData(value, {4, {1, 0, 0, 0}});
         },
         {Found("检测到您的IE首页为:"), Clear(), Found("检测到植入！"), Found("系统检测到您的IE被非法劫持,主页为:"),
          Found("检测到非法劫持,当前IE首页为:")}},
        {[](fake::FakeProgram& f) { f.registry.unreadable = {"HKCU\\Software\\", "HKCR\\http\\", kRun}, f.fs.hideUnder(kSystem); },
         {kUnchecked, kUnchecked, kUnchecked, Clear(), kUnchecked}},   // keys denying reading, with the value or not; the system folder
        {[](fake::FakeProgram& f) {   // Windows on D:: D:'s browser is clean, C:'s is not
             f.registry.setText(kProgramFilesFolder, "D:\\Program Files\\"), f.registry.setText(kDesktopIconCommand, kOnD); },
         {Clear(), Clear(), Clear(), Clear(), Found("检测到非法劫持,当前IE首页为:")}},
        {[](fake::FakeProgram& f) { f.registry.deleteValue(kProgramFilesFolder); }, {Clear(), Clear(), Clear(), kUnchecked, kUnchecked}},   // none named
    };
    for (const auto& [plant, rows] : cases) {
        Page p;
        plant(p);
        p.journal.clear();
        p.scan();
        EXPECT_EQ(p.rows(), rows);
        p.expectOnlyLooked(p.journal);
    }
}

// Every repair first saves what it changes (values as regedit puts them back, files byte for byte),
// then takes its steps in order, and the scan after it clears its row.
TEST(Repairs, EachRepairSavesWhatItChangesThenTakesItsStepsAndTheScanAfterItClearsItsRow) {
    Page p(false);
    p.registry.setData(kStartPage, {2, Stored(u"%A%\0"sv)});                                   // REG_EXPAND_SZ
    p.registry.addKey(RegistryRoot::ClassesRoot, "CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}");   // no shell key
    p.registry.setText(kHttpCommand, "\"C:\\evil.exe\" \"%1\"");
    p.registry.setData(kSoundManStartup, {4, {1, 0, 0, 0}});                                 // REG_DWORD
    p.registry.setData(kMsconfigStartup, {1, Stored(u"no NUL")});                             // a REG_SZ without its NUL
    p.fs.addFile(kSystem + "SoundMan.exe", "MZ sound"), p.fs.addFile(kLibrary, std::string("MZ\0dll", 6));
    p.fs.addFile(kMsconfig, "the old utility");
    p.resources.blocks[IDR_MSCONFIG] = std::vector<std::byte>(kMsconfigBytes, std::byte{'m'});
    p.scan();
    const std::string backups = kBackups + "20261208-090507-", run = "[HKEY_LOCAL_MACHINE\\" + kRun.substr(5, kRun.size() - 6);
    const std::string http = "HKCR\\http\\shell\\open\\command\\@";
    const std::tuple<HijackRow, std::string, fake::Strings> cases[] = {
        {HijackRow::StartPage, "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\r\n\"Start Page\"=hex(2):25,00,41,00,25,00,00,00\r\n",
         {"write " + kStartPageValue + " = about:blank", "read " + kStartPageValue}},
        {HijackRow::DesktopIcon, "[-HKEY_CLASSES_ROOT\\CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}\\shell]\r\n",
         {"write " + kIconValue + " = " + kClean, "read " + kIconValue}},
        {HijackRow::HttpCommand, "[HKEY_CLASSES_ROOT\\http\\shell\\open\\command]\r\n@=\"\\\"C:\\\\evil.exe\\\" \\\"%1\\\"\"\r\n",
         {"write " + http + " = " + kClean, "read " + http}},
        {HijackRow::StartupEntry, run + "]\r\n\"SoundMan\"=hex(4):01,00,00,00\r\n", {"delete " + kRun + "SoundMan", "end SoundMan.exe",
             "wait 1000", "delete " + kSystem + "SoundMan.exe", "exists " + kRun + "SoundMan", "running? SoundMan.exe", "exists " + kSystem + "SoundMan.exe"}},
        // The utility is written (beside the old file, then swapped in) from the program's copy.
        {HijackRow::PlantedLibrary, run + "]\r\n\"msconfig\"=hex(1):6e,00,6f,00,20,00,4e,00,55,00,4c,00\r\n",
         {"end explorer.exe", "wait 1000", "delete " + kRun + "msconfig", "delete " + kLibrary, "write " + kMsconfig, "shell?",
          "start explorer.exe", "exists " + kLibrary, "exists " + kRun + "msconfig"}},
    };
    const char* names[] = {"IE首页修改", "DLL劫持", "进程植入", "IE首页劫持", "IE变种劫持"};
    for (const auto& [row, values, steps] : cases) {
        p.press(row);
        EXPECT_EQ(TextOf(p.fs.content(backups + names[int(row)] + "\\undo.reg")), kUndoHeader + values + "\r\n") << names[int(row)];
        EXPECT_EQ(p.repairSteps, steps);
        EXPECT_EQ(p.ui.shownBoxes().back(), (ControlModel::ShownBox{"修复完毕.", "澄川清理助手", MessageKind::Ok, false}));
        EXPECT_EQ(p.row(row), Clear());
    }
    EXPECT_EQ(p.rows(), std::vector<RowView>(5, Clear()));
    EXPECT_EQ(p.fs.content(kMsconfig), std::string(kMsconfigBytes, 'm'));
    for (auto [file, row] : {std::pair{"SoundMan.exe", "进程植入"}, {"dneapi.dll", "DLL劫持"}, {"msconfig.exe", "DLL劫持"}})
        EXPECT_NE(p.fs.content(backups + row + "\\readme.txt").find("原来在  " + kSystem + file), std::string::npos) << file;
    const std::string valuesOnly = p.fs.content(backups + "IE首页修改\\readme.txt");
    EXPECT_TRUE(valuesOnly.find("undo.reg") != std::string::npos && valuesOnly.find("原样复制") == std::string::npos);
    EXPECT_NE(valuesOnly.find("本备份在 " + backups + "IE首页修改\\\r\n只有管理员"), std::string::npos);
    EXPECT_FALSE(p.fs.has(kLibrary) || p.fs.has(kSystem + "SoundMan.exe"));
    Page q;   // without a whole copy the utility on disk is never touched
    q.fs.addFile(kLibrary), q.fs.addFile(kMsconfig, "the system's own");
    q.resources.blocks[IDR_MSCONFIG] = std::vector<std::byte>(kMsconfigBytes - 1);
    q.scan();
    q.press(HijackRow::PlantedLibrary);
    EXPECT_EQ(std::count(q.repairSteps.begin(), q.repairSteps.end(), "write " + kMsconfig), 0);
    EXPECT_EQ(q.fs.content(kMsconfig) + q.lastBox(), "the system's own修复完毕.");
}

// "修复完毕." only when every change the repair stands for is known to be made, though its success test
// may pass; a failed repair keeps its backup, and the scan after any repair refreshes every row.
TEST(Repairs, OutcomesFollowEveryChangeTheRepairStandsFor) {
    const std::tuple<HijackRow, std::function<void(Page&)>, RowView> failures[] = {   // the row as the scan after shows it
        {HijackRow::PlantedLibrary, [](Page& p) { p.fs.lockFile(kLibrary), p.processes.shell = true; }, Found("检测到劫持！")},   // the shell holds it
        {HijackRow::PlantedLibrary, [](Page& p) { p.registry.denyChanges(RegistryRoot::LocalMachine, kRunKey); }, Clear()},   // msconfig stays in Run
        {HijackRow::PlantedLibrary, [](Page& p) { p.fs.failWritesUnder(kMsconfig); }, Clear()},   // the utility is not put back
        {HijackRow::StartupEntry, [](Page& p) { p.fs.lockFile(kSystem + "SoundMan.exe"); }, Clear()},
        {HijackRow::StartupEntry, [](Page& p) { p.fs.hideUnder(kSystem + "SoundMan.exe"); }, Clear()},   // gone, or not?
        {HijackRow::StartupEntry, [](Page& p) { p.processes.outliving.insert("SoundMan.exe"); }, Clear()},
        {HijackRow::StartPage, [](Page& p) { p.registry.denyChanges(RegistryRoot::CurrentUser, "Software"); }, Found("检测到您的IE首页为:x")},
    };
    for (const auto& [row, fault, after] : failures) {
        Page p;
        p.registry.setText(kStartPage, "x"), p.registry.setText(kSoundManStartup, "x"), p.registry.setText(kMsconfigStartup, "x");
        p.fs.addFile(kLibrary), p.fs.addFile(kSystem + "SoundMan.exe"), p.fs.addFile(kMsconfig);
        p.resources.blocks[IDR_MSCONFIG] = std::vector<std::byte>(kMsconfigBytes);
        p.scan(), fault(p), p.registry.setText(kDesktopIconCommand, "\"evil.exe\" http://other.example/");   // meanwhile
        p.press(row, "修复失败请重试");
        EXPECT_EQ(p.row(row), after);
        EXPECT_EQ(p.row(HijackRow::DesktopIcon), Found("系统检测到您的IE被非法劫持,主页为:http://other.example/"));
        EXPECT_FALSE(p.fs.listFolder(kBackups, {}).empty());   // the backup stays
        EXPECT_EQ(std::count(p.repairSteps.begin(), p.repairSteps.end(), "start explorer.exe"), row == HijackRow::PlantedLibrary && !p.processes.shell);   // one shell
    }
    Page p;   // no process to end and no file: a success
    p.registry.setText(kStartPage, "x"), p.registry.setText(kSoundManStartup, ""), p.fs.addFile(kLibrary), p.scan();
    p.press(HijackRow::StartupEntry, "修复完毕.");
    // Cleaned behind the program's back, with the system folder now unknown (it is asked at every scan):
    // nothing is looked up in the current folder, the library's row cannot be checked and hides the link
    // it showed, and a clear row keeps its link.
    p.registry.setText(kStartPage, "about:blank"), p.system.systemDirectory = "", p.fs.addFile("dneapi.dll"), p.scan();
    EXPECT_EQ(p.rows(), (std::vector<RowView>{Clear(true), kUnchecked, Clear(), Clear(), Clear()}));
    // Windows on D:: the command repairs write D:'s browser, and nothing once the folder is no longer named.
    p.registry.setText(kProgramFilesFolder, "D:\\Program Files"), p.scan(), p.press(HijackRow::HttpCommand, "修复完毕.");
    p.registry.setText(kDesktopIconCommand, "x"), p.scan(), p.registry.deleteValue(kProgramFilesFolder), p.press(HijackRow::DesktopIcon, "修复失败请重试");
    EXPECT_EQ(p.platform.registry.readText(kHttpCommand) + p.platform.registry.readText(kDesktopIconCommand), kOnD + "x");
}

TEST(RepairBackups, NothingChangesWithoutABackupAndNothingIsSavedWhenNothingWouldChange) {
    Page p;
    p.registry.setText(kStartPage, "http://start.example/"), p.registry.setText(kSoundManStartup, "x");
    p.fs.addFile(kLibrary, "planted");
    p.scan();
    p.fs.failWritesUnder(kBackups);   // the backup folder cannot be made
    for (HijackRow row : {HijackRow::StartPage, HijackRow::PlantedLibrary}) {
        p.press(row, "修复失败请重试");
        p.expectOnlyLooked(p.repairSteps);
    }
    EXPECT_EQ(p.platform.registry.readText(kStartPage) + p.fs.content(kLibrary), "http://start.example/planted");
    p.fs.failWritesUnder("");
    // A value that cannot be read cannot be put back (its key denied since the scan showed the link).
    p.registry.unreadable = {"HKCU\\"}, p.press(HijackRow::StartPage, "修复失败请重试");
    p.registry.unreadable = {kRun}, p.press(HijackRow::StartupEntry, "修复失败请重试"), p.registry.unreadable.clear();
    EXPECT_EQ(p.platform.registry.readText(kStartPage) + p.platform.registry.readText(kSoundManStartup), "http://start.example/x");
    p.scan(), p.registry.setText(kStartPage, "about:blank");   // cleaned since the scan, and the library gone
    p.fs.deleteFile(kLibrary, kNotListed);
    p.press(HijackRow::StartPage, "修复完毕."), p.press(HijackRow::PlantedLibrary, "修复完毕.");
    EXPECT_EQ(p.fs.findPath(kBackups.substr(0, kBackups.rfind("\\备份"))), Lookup::Missing);   // nor what the failed ones made
    // Refused twice within one second: two backups, side by side, of a value that was not there.
    p.registry.deleteValue(kStartPage), p.scan();
    p.registry.denyChanges(RegistryRoot::CurrentUser, "Software\\Microsoft");
    p.press(HijackRow::StartPage), p.press(HijackRow::StartPage);
    for (const char* folder : {"20261208-090507-IE首页修改\\", "20261208-090507-IE首页修改-2\\"})
        EXPECT_NE(TextOf(p.fs.content(kBackups + folder + "undo.reg")).find("\"Start Page\"=-"), std::string::npos) << folder;
    // A file that cannot be copied cannot be deleted.
    p.fs.addFile(kLibrary, "planted"), p.scan();
    p.fs.failWritesUnder(kBackups + "20261208-090507-DLL劫持\\dneapi.dll");
    p.press(HijackRow::PlantedLibrary, "修复失败请重试");
    for (const auto& line : p.repairSteps) EXPECT_FALSE(line.starts_with("start ") || line.starts_with("end ") || line.starts_with("delete ")) << line;
    EXPECT_EQ(p.fs.content(kLibrary), "planted");
}

// The program's own folders are never taken over: a name there as a user's folder, a link or a file gives way to
// the next, an administrators' folder is used as it is. When every name of a level is taken, nothing is written.
TEST(RepairBackups, TakeOverNoFolderOfTheProgramsNamesAndWriteNothingWhenEveryNameIsTaken) {
    const std::string row = "\\20261208-090507-IE首页修改", backups = kOwn + "\\备份\\" + kUser;
    auto everyName = [](const std::string& name, const std::string& before, const std::string& after) {
        fake::Strings names{name};
        for (int n = 2; n < 100; ++n) names.push_back(name + before + std::to_string(n) + after);
        return names;
    };
    enum There { Users, Link, File, Administrators };
    const std::tuple<fake::Strings, There, std::string> cases[] = {   // there already, as what; the backup's folder
        {{kOwn, backups}, Users, kOwn + " (2)\\备份\\" + kUser + row}, {{kOwn, kOwn + " (2)"}, Link, kOwn + " (3)\\备份\\" + kUser + row},
        {{kOwn}, File, kOwn + " (2)\\备份\\" + kUser + row}, {{kOwn + "\\备份"}, Users, kOwn + "\\备份 (2)\\" + kUser + row},
        {{backups}, Users, backups + " (2)" + row}, {{backups}, Administrators, backups + row},
        {everyName(kOwn, " (", ")"), Users, ""}, {everyName(backups + row, "-", ""), Administrators, ""}};
    for (const auto& [names, there, saved] : cases) {
        Page p;
        p.registry.setText(kStartPage, "http://start.example/"), p.scan();
        for (const std::string& name : names)
            there == Users ? p.fs.addUsersFolder(name) : there == File ? p.fs.addFile(name) : p.fs.addFolder(name, there == Link);
        p.press(HijackRow::StartPage, saved.empty() ? "修复失败请重试" : "修复完毕.");
        const fake::Strings writes = saved.empty() ? fake::Strings() : fake::Strings{"write " + saved + "\\undo.reg", "write " + saved + "\\readme.txt"};
        EXPECT_EQ(p.log("write C:"), writes) << names.back();
    }
}

// A value's line in the undo file: quoted only when a quoted string gives back the very bytes.
TEST(UndoFile, QuotesOnlyWhatAQuotedStringGivesBackByteForByte) {
    const std::pair<RegistryData, std::string> cases[] = {
        {{1, Stored(u"a\\\"b\0"sv)}, "\"a\\\\\\\"b\""}, {{1, Stored(u"\0"sv)}, "\"\""},                  // REG_SZ: \\ and \" escaped
        {{1, Stored(u"a\nb\0"sv)}, "hex(1):61,00,0a,00,62,00,00,00"},                                  // a line break
        {{1, Stored(u"a\0b\0"sv)}, "hex(1):61,00,00,00,62,00,00,00"},                                  // a NUL inside
        {{1, Stored(u"\xD800\0"sv)}, "hex(1):00,d8,00,00"}, {{1, Stored(u"\xDFFF\0"sv)}, "hex(1):ff,df,00,00"},   // half a pair
        {{1, {0x61, 0x00, 0x62}}, "hex(1):61,00,62"}, {{1, {0x61, 0x00, 0x00}}, "hex(1):61,00,00"},     // an odd byte
        {{3, {}}, "hex(3):"}, {{0x20, {0xff}}, "hex(20):ff"},                                   // empty REG_BINARY; an unknown type
    };
    for (const auto& [data, line] : cases) {
        const ValueBefore value{{RegistryRoot::CurrentUser, "K", "v"}, data, {}};
        EXPECT_EQ(TextOf(UndoFileFor({&value, 1})), kUndoHeader + "[HKEY_CURRENT_USER\\K]\r\n\"v\"=" + line + "\r\n\r\n");
    }
}
}  // namespace
