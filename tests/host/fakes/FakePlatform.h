#pragma once
// The in-memory fakes, and the program on the control model over them. The journal holds what the file
// system, registry and process fakes were asked, a line a call ("delete C:\x.dll", "read HKCU\...\Start
// Page"), in one order.
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <set>
#include "app/Program.h"
#include "platform/Platform.h"
#include "formats/RegistryText.h"
#include "repair/UndoFile.h"
#include "tests/support/ControlModel.h"
namespace cc::fake {
using Strings = std::vector<std::string>;
struct CallLog {
    Strings* journal = nullptr;
    void record(const std::string& line) { if (journal) journal->push_back(line); }
};

// Paths compare exactly ("@" names a default value), as the program always spells them the same way.
// Values keep their type and bytes; a key is there once a value or a write has put it there.
class FakeRegistry final : public Registry, public CallLog {
public:
    void setData(const RegistryValue& value, RegistryData data) { addKey(value.root, value.key), values_[Path(value)] = std::move(data); }
    void setText(const RegistryValue& value, std::string_view text) { setData(value, {kRegistryString, TextValueBytes(text)}); }
    void addKey(RegistryRoot root, std::string_view key) {
        for (size_t end = 0; end != std::string_view::npos; end = key.find('\\', end + 1)) keys_.insert(KeyPath(root, key.substr(0, end)));
        keys_.insert(KeyPath(root, key));
    }
    // Writes and deletes under this key and its subkeys are refused, as without rights.
    void denyChanges(RegistryRoot root, std::string_view key) { denied_.insert(KeyPath(root, key) + "\\"); }
    std::set<std::string> unreadable;   // "HKLM\key\" prefixes: reads under them fail, as when an access list denies them
    Lookup readText(const RegistryValue& value, std::string& text) override {
        RegistryData data;
        const Lookup found = (record("read " + Path(value)), readData(value, data));
        return text = found == Lookup::Found ? RegistryTextFromBytes(data.type, data.bytes) : std::string(), found;
    }
    Lookup findValue(const RegistryValue& value) override { RegistryData data; return record("exists " + Path(value)), readData(value, data); }
    bool writeText(const RegistryValue& value, std::string_view text) override {
        return record("write " + Path(value) + " = " + std::string(text)), !Under(denied_, value) && (setText(value, text), true);
    }
    bool deleteValue(const RegistryValue& value) override { return record("delete " + Path(value)), !Under(denied_, value) && values_.erase(Path(value)); }
    Lookup readData(const RegistryValue& value, RegistryData& data) override {
        const auto it = values_.find(Path(value));
        return Under(unreadable, value) ? Lookup::Failed : it == values_.end() ? Lookup::Missing : (data = it->second, Lookup::Found);
    }
    bool keyExists(RegistryRoot root, std::string_view key) override { return keys_.count(KeyPath(root, key)); }
private:
    static std::string KeyPath(RegistryRoot root, std::string_view key) {
        return (root == RegistryRoot::ClassesRoot ? "HKCR\\" : root == RegistryRoot::CurrentUser ? "HKCU\\" : "HKLM\\") + std::string(key);
    }
    static std::string Path(const RegistryValue& v) {   // "HKLM\SOFTWARE\...\Run\SoundMan"
        return KeyPath(v.root, v.key) + "\\" + (v.name.empty() ? std::string("@") : std::string(v.name));
    }
    static bool Under(const std::set<std::string>& keys, const RegistryValue& value) {
        return std::any_of(keys.begin(), keys.end(), [&](const std::string& key) { return Path(value).starts_with(key); });
    }
    std::map<std::string, RegistryData> values_;
    std::set<std::string> keys_;
    std::set<std::string> denied_;   // "HKLM\key\" prefixes
};

// Folders list their entries in the order they were added, as a real file system lists them in its
// own order. Paths compare case-insensitively for ASCII letters, as Windows compares them.
class MemoryFileSystem : public FileSystem, public CallLog {
public:
    // Adds a file (its size is the content's length; added again, it is a new file in the old one's
    // place) or a folder, with the folders above.
    void addFile(const std::string& path, std::string content = {}) { *add(path, false) = {path, false, false, std::move(content), ++lastId_}; }
    void addFolder(const std::string& path, bool reparsePoint = false) { add(path, true)->reparsePoint = reparsePoint; }
    void addUsersFolder(const std::string& path) { add(path, true)->usersOwn = true; }   // owned by a user, not by administrators
    // A shortcut file of that size that reads as the given target; any other file is unreadable.
    void addShortcut(const std::string& path, ShortcutTarget target, std::uint64_t size = 1024) {
        addFile(path, std::string(size, 'L')), node(path)->target = std::move(target);
    }
    void addDrive(const std::string& drive, bool local, std::optional<DriveSpace> space = DriveSpace{}) {
        drives_.push_back({drive, local, space}), add(drive, true);
    }
    bool has(std::string_view path) const { return file(path); }
    std::string content(std::string_view path) const { return has(path) ? file(path)->content : std::string(); }
    void failWritesUnder(std::string folder) { failWrites_ = Key(folder); }   // a full disk, a denied folder
    void lockFile(const std::string& path) { locked_.insert(Key(path)); }   // deleting it fails
    void hideUnder(const std::string& path) { hidden_.insert(Key(path)); }   // looking at what is there fails, as without rights
    std::vector<FolderEntry> listFolder(std::string_view folder, const std::function<void()>&) override {
        record("list " + std::string(folder));
        std::vector<FolderEntry> entries;
        for (const Node& n : nodes_)
            if (Key(Parent(n.path)) + "\\" == Key(folder))
                entries.push_back({n.path.substr(n.path.rfind('\\') + 1), n.folder, n.reparsePoint, n.content.size(), n.id});
        return entries;
    }
    Strings drives(bool localDisksOnly) override {
        Strings result;
        for (const auto& d : drives_) if (!localDisksOnly || d.local) result.push_back(d.name);
        return result;
    }
    std::optional<DriveSpace> driveSpace(std::string_view drive) override {
        for (const auto& d : drives_) if (Key(d.name) == Key(drive)) return d.space;
        return std::nullopt;
    }
    Lookup findFile(std::string_view path) override { return record("exists " + std::string(path)), hidden(path) ? Lookup::Failed : has(path) ? Lookup::Found : Lookup::Missing; }
    Lookup findPath(std::string_view p) override {
        return record("probe " + std::string(p)), hidden(p) ? Lookup::Failed : !p.empty() && node(p.substr(0, p.size() - p.ends_with('\\'))) ? Lookup::Found : Lookup::Missing;
    }
    ShortcutTarget readShortcut(std::string_view path) override {
        return record("read " + std::string(path)), has(path) && file(path)->target ? *file(path)->target : ShortcutTarget{};
    }
    // A file added again since it was listed has a new number, and stays.
    bool deleteFile(std::string_view path, std::uint64_t listedId) override {
        record("delete " + std::string(path));
        const Node* n = file(path);
        return !locked_.count(Key(path)) && n && (listedId == kNotListed || n->id == listedId) && (erase(path), true);
    }
    bool recycleBins = true;   // the system keeps a bin per user and drive (not XP)
    std::set<std::string> binless;   // drives ("c:") without a bin that can be used
    Strings recycled;   // what went to a bin, in order
    bool hasRecycleBins() override { return recycleBins; }
    // Moves what deleteFile would delete, unless its drive has no usable bin.
    bool recycleFile(std::string_view path, std::uint64_t listedId) override {
        record("recycle " + std::string(path));
        const Node* n = file(path);
        if (locked_.count(Key(path)) || !n || (listedId != kNotListed && n->id != listedId) || binless.count(Key(path.substr(0, 2))))
            return false;
        return recycled.emplace_back(path), erase(path), true;
    }
    void closeFolders() override {}
    // Any path but a file's is held (its folders come with what is made in it); what is made in it is
    // logged as "copy <from>" and "write <path>".
    std::unique_ptr<HeldFolder> holdFolder(std::string_view path) override {
        const std::string folder(path.substr(0, path.size() - path.ends_with('\\')));
        return path.empty() || has(folder) ? nullptr : std::make_unique<Held>(*this, folder, false);
    }
private:
    struct Node {
        std::string path; bool folder = false, reparsePoint = false; std::string content; std::uint64_t id = 0; bool usersOwn = false;
        std::optional<ShortcutTarget> target;
    };
    static std::string Key(std::string_view path) {   // ASCII letters in lower case
        std::string key(path);
        for (char& ch : key) if (ch >= 'A' && ch <= 'Z') ch += 'a' - 'A';
        return key;
    }
    static std::string_view Parent(std::string_view p) { return p.substr(0, p.rfind('\\') == p.npos ? 0 : p.rfind('\\')); }   // "" for a drive
    Node* node(std::string_view path) const {
        const auto it = std::find_if(nodes_.begin(), nodes_.end(), [&](const Node& n) { return Key(n.path) == Key(path); });
        return it == nodes_.end() ? nullptr : const_cast<Node*>(&*it);
    }
    Node* file(std::string_view path) const { const Node* n = node(path); return n && !n->folder ? const_cast<Node*>(n) : nullptr; }
    Node* add(const std::string& path, bool folder) {   // the node at the path, added with its folders if new
        if (Node* n = node(path)) return n;
        if (path.find('\\') != std::string::npos && !node(Parent(path))) add(std::string(Parent(path)), true);
        return &nodes_.emplace_back(Node{path, folder});
    }
    bool refused(std::string_view path) const { return !failWrites_.empty() && Key(path).starts_with(failWrites_); }
    bool hidden(std::string_view path) const { return std::any_of(hidden_.begin(), hidden_.end(), [&](const std::string& h) { return Key(path).starts_with(h); }); }
    void erase(std::string_view path) { std::erase_if(nodes_, [&](const Node& n) { return Key(n.path) == Key(path); }); }
    // Removes what it made unless kept: its files, then itself once empty.
    class Held final : public HeldFolder {
    public:
        Held(MemoryFileSystem& fs, std::string path, bool made) : fs_(fs), path_(std::move(path)), made_(made) {}
        ~Held() override {
            if (kept_) return;
            for (const std::string& file : madeFiles_) fs_.erase(file);
            if (made_ && std::none_of(fs_.nodes_.begin(), fs_.nodes_.end(), [&](const Node& n) { return Key(Parent(n.path)) == Key(path_); }))
                fs_.erase(path_);
        }
        std::unique_ptr<HeldFolder> subfolder(std::string_view name, bool& taken) override { return folder(name, false, taken); }
        std::unique_ptr<HeldFolder> administratorsFolder(std::string_view name, bool& taken) override { return folder(name, true, taken); }
        bool createFile(std::string_view name, std::span<const std::byte> content) override { return make(name, Text(content), true); }
        Lookup copyFile(std::string_view from, std::string_view name, std::uint64_t& id) override {
            fs_.record("copy " + std::string(from));
            const Node* source = fs_.file(from);
            if (!source) return Lookup::Missing;
            const std::uint64_t listed = source->id;
            return make(name, source->content, true, false) ? (id = listed, Lookup::Found) : Lookup::Failed;
        }
        bool replaceFile(std::string_view name, std::span<const std::byte> content) override { return make(name, Text(content), false); }
        void keep() override { kept_ = true; }
    private:
        static std::string Text(std::span<const std::byte> b) { return {reinterpret_cast<const char*>(b.data()), b.size()}; }
        // A new folder, or for the administrators (`own`) one that is there already as a plain folder of theirs.
        std::unique_ptr<HeldFolder> folder(std::string_view name, bool own, bool& taken) {
            const std::string path = path_ + "\\" + std::string(name);
            const Node* there = fs_.node(path);
            taken = there && !(own && there->folder && !there->reparsePoint && !there->usersOwn);
            if (taken || (!there && fs_.refused(path))) return nullptr;
            if (!there) fs_.addFolder(path);
            return std::make_unique<Held>(fs_, path, !there);
        }
        // Writes a file here: a new one (removed again unless kept), or a replacement of any there.
        bool make(std::string_view name, std::string content, bool isNew, bool logged = true) {
            const std::string path = path_ + "\\" + std::string(name);
            if (logged) fs_.record("write " + path);
            if (fs_.refused(path) || (isNew && fs_.has(path))) return false;
            if (isNew) madeFiles_.push_back(path);
            return fs_.addFile(path, std::move(content)), true;
        }
        MemoryFileSystem& fs_;
        std::string path_;
        bool made_, kept_ = false;
        Strings madeFiles_;
    };
    struct Drive { std::string name; bool local; std::optional<DriveSpace> space; };
    std::vector<Node> nodes_;   // in the order they were added
    std::vector<Drive> drives_;
    std::set<std::string> locked_, hidden_;
    std::string failWrites_;   // writes below this folder fail
    std::uint64_t lastId_ = 0;
};

// The machine as a test describes it, and the disk numbers asked for.
struct FakeSystemQueries final : SystemQueries {
    BoardInfo board;
    std::map<int, DiskInfo> disks;   // by disk number; a missing number does not answer
    OsInfo os;
    CpuInfo cpu;
    int cpuLoad = 0, totalMegabytes = 0, availableMegabytes = 0;
    std::string systemDirectory = "C:\\WINDOWS\\system32\\";
    std::vector<int> diskQueries;
    BoardInfo QueryBoardInfo() override { return board; }
    bool QueryDiskInfo(int n, DiskInfo& info) override { return diskQueries.push_back(n), disks.count(n) && (info = disks[n], true); }
    std::vector<AdapterInfo> QueryAdapters() override { return {{"eth0"}}; }
    OsInfo QueryOsInfo() override { return os; }
    CpuInfo QueryCpuInfo() override { return cpu; }
    int QueryCpuUsage() override { return cpuLoad; }
    int QueryMemory(MemoryKind kind) override { return kind == MemoryKind::Total ? totalMegabytes : availableMegabytes; }
    std::string QuerySystemDirectory() override { return systemDirectory; }
    std::string QueryCommonAppData() override { return "C:\\ProgramData\\"; }
    std::string QueryUserSid() override { return "S-1-5-21-1-2-3-1001"; }
    LocalTime QueryLocalTime() override { return {2026, 12, 8, 9, 5, 7}; }
};

// Started command lines, ended processes, waits and looks for the shell or a process, logged ("start explorer.exe",
// "end SoundMan.exe", "wait 1000", "shell?", "running? SoundMan.exe"); nothing runs.
struct FakeProcesses final : Processes, CallLog {
    bool shell = false;   // a shell is there when asked (Windows restarted it, or it could not be ended)
    std::set<std::string> outliving;   // processes that still run after they are ended
    bool start(std::string_view commandLine) override { return record("start " + std::string(commandLine)), true; }
    void end(std::string_view imageName) override { record("end " + std::string(imageName)); }
    void wait(int milliseconds) override { record("wait " + std::to_string(milliseconds)); }
    bool shellRunning() override { return record("shell?"), shell; }
    Lookup findRunning(std::string_view name) override { return record("running? " + std::string(name)), outliving.count(std::string(name)) ? Lookup::Found : Lookup::Missing; }
};
struct FakeResources final : Resources {   // the program's byte blocks, as a test gives them
    std::map<int, std::vector<std::byte>> blocks;
    std::span<const std::byte> block(int id) override { return blocks[id]; }
};

// A list's item texts in order, of the checked items only if asked.
inline Strings Items(ControlModel& ui, std::string_view list, bool checkedOnly = false) {
    Strings items;
    for (int i = 0; i < ui.itemCount(list); ++i) if (!checkedOnly || ui.itemChecked(list, i)) items.push_back(ui.itemText(list, i));
    return items;
}

// The program on the in-memory window over a machine of fakes (a file system of the test's own, if given).
template <class Files = MemoryFileSystem> struct FakeProgramOn {
    Files fs;
    FakeRegistry registry;
    FakeProcesses processes;
    FakeSystemQueries system;
    FakeResources resources;
    Platform platform{fs, registry, processes, system, resources};
    Strings journal;
    ControlModel ui;
    Program program{ui, platform};
    FakeProgramOn() { fs.journal = registry.journal = processes.journal = &journal; }
    FakeProgramOn(const FakeProgramOn&) = delete;
    Strings log(std::string_view verb) const {   // the journal's lines that start with the verb
        Strings lines;
        for (const auto& line : journal) if (line.starts_with(verb)) lines.push_back(line);
        return lines;
    }
};
using FakeProgram = FakeProgramOn<>;
}  // namespace cc::fake
