#pragma once
// The in-memory fakes, the Platform over them, and the control model's lists read. The journal
// holds what the file system, registry and process fakes were asked, a line a call
// ("delete C:\x.dll", "read HKCU\Software\...\Start Page"), in one order.

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Registry.h"
#include "platform/RegistryText.h"
#include "platform/SystemQueries.h"
#include "repair/UndoFile.h"
#include "ui/ControlModel.h"

namespace cc::fake {

struct CallLog {
    std::vector<std::string>* journal = nullptr;
    void record(const std::string& line) { if (journal) journal->push_back(line); }
};

// Registry paths compare exactly ("@" names a default value), as the program always spells them the same way.
// Values keep their type and bytes; a key is there once a value or a write has put it there.
class FakeRegistry final : public Registry, public CallLog {
public:
    void setData(const RegistryValue& value, RegistryData data) {
        addKey(value.root, value.key), values_[Path(value)] = std::move(data);
    }
    void setText(const RegistryValue& value, std::string_view text) { setData(value, {kRegistryString, TextValueBytes(text)}); }
    void setNonText(const RegistryValue& value) { setData(value, {4, {1, 0, 0, 0}}); }   // a REG_DWORD: exists, reads empty
    void addKey(RegistryRoot root, std::string_view key) {
        for (size_t end = 0; end != std::string_view::npos; end = key.find('\\', end + 1)) keys_.insert(KeyPath(root, key.substr(0, end)));
        keys_.insert(KeyPath(root, key));
    }
    // Writes and deletes under this key and its subkeys are refused, as without rights.
    void denyChanges(RegistryRoot root, std::string_view key) { denied_.push_back(KeyPath(root, key) + "\\"); }
    void failReads(bool fail) { failReads_ = fail; }   // readData cannot read what is there

    std::string readText(const RegistryValue& value) override {
        record("read " + Path(value));
        const auto it = values_.find(Path(value));
        return it == values_.end() ? std::string() : RegistryTextFromBytes(it->second.type, it->second.bytes);
    }
    bool valueExists(const RegistryValue& value) override {
        record("exists " + Path(value));
        return values_.count(Path(value)) != 0;
    }
    bool writeText(const RegistryValue& value, std::string_view text) override {
        record("write " + Path(value) + " = " + std::string(text));
        if (refused(value)) return false;
        setText(value, text);
        return true;
    }
    bool deleteValue(const RegistryValue& value) override {
        record("delete " + Path(value));
        return !refused(value) && values_.erase(Path(value)) != 0;
    }
    Lookup readData(const RegistryValue& value, RegistryData& data) override {
        const auto it = values_.find(Path(value));
        if (it == values_.end()) return Lookup::Missing;
        if (failReads_) return Lookup::Failed;
        data = it->second;
        return Lookup::Found;
    }
    bool keyExists(RegistryRoot root, std::string_view key) override { return keys_.count(KeyPath(root, key)) != 0; }

private:
    static std::string KeyPath(RegistryRoot root, std::string_view key) {
        const char* name = root == RegistryRoot::ClassesRoot ? "HKCR\\" : root == RegistryRoot::CurrentUser ? "HKCU\\" : "HKLM\\";
        return name + std::string(key);
    }
    static std::string Path(const RegistryValue& v) {   // "HKLM\SOFTWARE\...\Run\SoundMan"
        return KeyPath(v.root, v.key) + "\\" + (v.name.empty() ? std::string("@") : std::string(v.name));
    }
    bool refused(const RegistryValue& value) const {
        const std::string path = Path(value);
        return std::any_of(denied_.begin(), denied_.end(), [&](const std::string& key) { return path.starts_with(key); });
    }

    std::map<std::string, RegistryData> values_;
    std::set<std::string> keys_;
    std::vector<std::string> denied_;   // "HKLM\key\" prefixes
    bool failReads_ = false;
};

// Folders list their entries in the order they were added, as a real file system lists them in its
// own order. Paths compare case-insensitively for ASCII letters, as Windows compares them.
class MemoryFileSystem : public FileSystem, public CallLog {
public:
    // Adds a file (its size is the content's length) or a folder, creating the folders above.
    void addFile(const std::string& path, std::string content = {}) {
        addEntry(path, {Name(path), false, false, content.size(), ++lastId_});
        files_[Key(path)] = std::move(content);
    }
    void addFolder(const std::string& path, bool reparsePoint = false) {
        folders_.try_emplace(Key(path + "\\"));
        if (path.size() > 2) addEntry(path, {Name(path), true, reparsePoint, 0});
    }
    // A shortcut file of that size that reads as the given target.
    void addShortcut(const std::string& path, ShortcutTarget target, std::uint64_t size = 1024) {
        addFile(path, std::string(size, 'L')), shortcuts_[Key(path)] = std::move(target);
    }
    void addDrive(const std::string& drive, bool local, std::optional<DriveSpace> space = DriveSpace{}) {
        drives_.push_back({drive, local, space});
        folders_.try_emplace(Key(drive + "\\"));
    }
    bool has(std::string_view path) const { return files_.count(Key(path)) != 0; }
    std::string content(std::string_view path) const { return has(path) ? files_.at(Key(path)) : std::string(); }
    void failWritesUnder(std::string folder) { failWrites_ = Key(folder); }   // a full disk, a denied folder
    void lockFile(const std::string& path) { locked_.insert(Key(path)); }   // deleting it fails

    std::vector<FolderEntry> listFolder(std::string_view folder, const std::function<void()>&) override {
        record("list " + std::string(folder));
        return folders_.count(Key(folder)) ? folders_[Key(folder)] : std::vector<FolderEntry>{};
    }
    std::vector<std::string> drives(bool localDisksOnly) override {
        std::vector<std::string> result;
        for (const auto& d : drives_) if (!localDisksOnly || d.local) result.push_back(d.name);
        return result;
    }
    std::optional<DriveSpace> driveSpace(std::string_view drive) override {
        for (const auto& d : drives_) if (Key(d.name) == Key(drive)) return d.space;
        return std::nullopt;
    }
    bool fileExists(std::string_view path) override { return record("exists " + std::string(path)), has(path); }
    bool pathExists(std::string_view path) override {
        return has(path) || (!path.empty() && folders_.count(Key(std::string(path) + (path.back() == '\\' ? "" : "\\"))));
    }
    ShortcutTarget readShortcut(std::string_view path) override {   // any file but a shortcut is unreadable
        return record("read " + std::string(path)), shortcuts_.count(Key(path)) ? shortcuts_[Key(path)] : ShortcutTarget{};
    }
    // A file added again since it was listed has a new number, and stays.
    bool deleteFile(std::string_view path, std::uint64_t listedId) override {
        record("delete " + std::string(path));
        const std::string key = Key(path);
        FolderEntry* entry = find(path);
        if (locked_.count(key) || !entry || (listedId != kNotListed && entry->id != listedId)) return false;
        auto& entries = folders_[key.substr(0, key.rfind('\\') + 1)];
        files_.erase(key), entries.erase(entries.begin() + (entry - entries.data()));
        return true;
    }
    void closeFolders() override {}
    // Any path but a file's is held (its folders come with what is made in it); what is made in it is
    // logged as "copy <from>" and "write <path>".
    std::unique_ptr<HeldFolder> holdFolder(std::string_view path) override {
        const std::string folder = path.ends_with('\\') ? std::string(path) : std::string(path) + "\\";
        return path.empty() || has(folder.substr(0, folder.size() - 1)) ? nullptr : std::make_unique<Held>(*this, folder, false);
    }

private:
    static std::string Key(std::string_view path) {
        std::string key(path);
        for (char& ch : key) ch = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
        return key;
    }
    static std::string Name(const std::string& path) { return path.substr(path.rfind('\\') + 1); }
    bool refused(std::string_view path) const { return !failWrites_.empty() && Key(path).starts_with(failWrites_); }
    FolderEntry* find(std::string_view path) {   // the file's entry in its folder
        const std::string key = Key(path);
        if (!files_.count(key)) return nullptr;
        auto& entries = folders_[key.substr(0, key.rfind('\\') + 1)];
        auto entry = std::find_if(entries.begin(), entries.end(), [&](auto& e) { return Key(e.name) == Key(Name(key)); });
        return entry == entries.end() ? nullptr : &*entry;
    }
    // Registers the entry in its parent folder, creating that (an existing one stays: a reparse point stays one).
    void addEntry(const std::string& path, FolderEntry entry) {
        std::string parent = path.substr(0, path.rfind('\\') + 1);
        if (parent.size() > 3 && !folders_.count(Key(parent))) addFolder(parent.substr(0, parent.size() - 1));
        auto& entries = folders_[Key(parent)];
        auto same = std::find_if(entries.begin(), entries.end(), [&](auto& e) { return Key(e.name) == Key(entry.name); });
        if (same != entries.end()) *same = std::move(entry);
        else entries.push_back(std::move(entry));
    }

    // Removes what it made unless kept: its files, then itself once empty.
    class Held final : public HeldFolder {
    public:
        Held(MemoryFileSystem& fs, std::string path, bool made) : fs_(fs), path_(std::move(path)), made_(made) {}
        ~Held() override {
            if (kept_) return;
            for (const std::string& file : madeFiles_) fs_.erase(file);
            if (made_ && fs_.folders_[Key(path_)].empty()) fs_.erase(path_.substr(0, path_.size() - 1)), fs_.folders_.erase(Key(path_));
        }
        std::unique_ptr<HeldFolder> subfolder(std::string_view name, bool mustBeNew, bool& taken) override {
            const std::string path = path_ + std::string(name);
            const bool there = fs_.folders_.count(Key(path + "\\")) != 0;
            taken = there && mustBeNew;
            if (fs_.has(path) || taken || (!there && fs_.refused(path))) return nullptr;
            if (!there) fs_.addFolder(path);
            return std::make_unique<Held>(fs_, path + "\\", !there);
        }
        bool createFile(std::string_view name, std::span<const std::byte> content) override {
            const std::string path = path_ + std::string(name);
            fs_.record("write " + path);
            if (fs_.refused(path) || fs_.has(path)) return false;
            fs_.addFile(path, std::string(reinterpret_cast<const char*>(content.data()), content.size()));
            return madeFiles_.push_back(path), true;
        }
        Lookup copyFile(std::string_view from, std::string_view name, std::uint64_t& id) override {
            const std::string path = path_ + std::string(name);
            fs_.record("copy " + std::string(from));
            const auto entry = fs_.find(from);
            if (!entry) return Lookup::Missing;
            if (fs_.refused(path) || fs_.has(path)) return Lookup::Failed;
            id = entry->id;
            fs_.addFile(path, fs_.files_[Key(from)]);
            return madeFiles_.push_back(path), Lookup::Found;
        }
        bool replaceFile(std::string_view name, std::span<const std::byte> content) override {
            const std::string path = path_ + std::string(name);
            fs_.record("write " + path);
            if (fs_.refused(path)) return false;
            fs_.addFile(path, std::string(reinterpret_cast<const char*>(content.data()), content.size()));
            return true;
        }
        void keep() override { kept_ = true; }

    private:
        MemoryFileSystem& fs_;
        std::string path_;   // ends in "\"
        bool made_, kept_ = false;
        std::vector<std::string> madeFiles_;
    };
    void erase(const std::string& path) {   // a file or a folder entry, unlogged
        const std::string key = Key(path);
        files_.erase(key);
        auto& entries = folders_[key.substr(0, key.rfind('\\') + 1)];
        std::erase_if(entries, [&](const FolderEntry& e) { return Key(e.name) == Key(Name(key)); });
    }

    struct Drive { std::string name; bool local; std::optional<DriveSpace> space; };
    std::map<std::string, std::string> files_;                   // key -> content
    std::map<std::string, std::vector<FolderEntry>> folders_;    // folder key (ends in "\") -> entries
    std::set<std::string> locked_;
    std::vector<Drive> drives_;
    std::map<std::string, ShortcutTarget> shortcuts_;
    std::string failWrites_;   // writes below this folder fail
    std::uint64_t lastId_ = 0;
};

// The machine as a test describes it, and the disk numbers asked for.
struct FakeSystemQueries final : SystemQueries {
    BoardInfo board;
    std::map<int, DiskInfo> disks;   // by disk number; a missing number does not answer
    std::vector<AdapterInfo> adapters;
    OsInfo os;
    CpuInfo cpu;
    int cpuLoad = 0, totalMegabytes = 0, availableMegabytes = 0;
    std::string systemDirectory = "C:\\WINDOWS\\system32\\";
    std::string localAppData = "C:\\Users\\admin\\AppData\\Local\\";
    LocalTime now{2026, 12, 8, 9, 5, 7};
    std::vector<int> diskQueries;

    BoardInfo QueryBoardInfo() override { return board; }
    bool QueryDiskInfo(int number, DiskInfo& info) override {
        diskQueries.push_back(number);
        const auto found = disks.find(number);
        if (found != disks.end()) info = found->second;
        return found != disks.end();
    }
    std::vector<AdapterInfo> QueryAdapters() override { return adapters; }
    OsInfo QueryOsInfo() override { return os; }
    CpuInfo QueryCpuInfo() override { return cpu; }
    int QueryCpuUsage() override { return cpuLoad; }
    int QueryMemory(MemoryKind kind) override { return kind == MemoryKind::Total ? totalMegabytes : availableMegabytes; }
    std::string QuerySystemDirectory() override { return systemDirectory; }
    std::string QueryLocalAppData() override { return localAppData; }
    LocalTime QueryLocalTime() override { return now; }
};

// Started command lines, ended processes, waits and looks for the shell, logged ("start explorer.exe",
// "end SoundMan.exe", "wait 1000", "shell?"); nothing runs.
struct FakeProcesses final : Processes, CallLog {
    bool shell = false;   // a shell is there when asked (Windows restarted it, or it could not be ended)

    bool start(std::string_view commandLine) override { return record("start " + std::string(commandLine)), true; }
    void end(std::string_view imageName) override { record("end " + std::string(imageName)); }
    void wait(int milliseconds) override { record("wait " + std::to_string(milliseconds)); }
    bool shellRunning() override { return record("shell?"), shell; }
};

// The program's byte blocks, as a test gives them.
struct FakeResources final : Resources {
    std::map<int, std::vector<std::byte>> blocks;

    std::span<const std::byte> block(int id) override {
        return blocks.count(id) ? std::span<const std::byte>(blocks[id]) : std::span<const std::byte>();
    }
};

// A list's item texts in order, of the checked items only if asked.
inline std::vector<std::string> Items(ControlModel& ui, std::string_view list, bool checkedOnly = false) {
    std::vector<std::string> items;
    for (int i = 0; i < ui.itemCount(list); ++i)
        if (!checkedOnly || ui.itemChecked(list, i)) items.push_back(ui.itemText(list, i));
    return items;
}

struct FakePlatform {
    MemoryFileSystem files;
    FakeRegistry registry;
    FakeProcesses processes;
    FakeSystemQueries system;
    FakeResources resources;
    Platform platform{files, registry, processes, system, resources};
    std::vector<std::string> journal;

    FakePlatform() { files.journal = registry.journal = processes.journal = &journal; }
    FakePlatform(const FakePlatform&) = delete;
};

}  // namespace cc::fake
