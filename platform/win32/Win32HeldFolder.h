#pragma once
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/win32/FolderChain.h"

namespace cc {

class Win32FileSystem;

class Win32HeldFolder final : public HeldFolder {
public:
    // A folder reached through `chain` (which holds it and the folders above).
    Win32HeldFolder(Win32FileSystem& files, FolderChain chain, HANDLE handle, std::wstring systemName);
    // A subfolder opened or made (`made`) by its own handle.
    Win32HeldFolder(Win32FileSystem& files, UniqueHfile handle, std::wstring systemName, bool made);
    ~Win32HeldFolder() override;

    std::unique_ptr<HeldFolder> subfolder(std::string_view name, bool& taken) override;
    std::unique_ptr<HeldFolder> administratorsFolder(std::string_view name, bool& taken) override;
    bool createFile(std::string_view name, std::span<const std::byte> content) override;
    Lookup copyFile(std::string_view from, std::string_view name, std::uint64_t& id) override;
    bool replaceFile(std::string_view name, std::span<const std::byte> content) override;
    void keep() override { kept_ = true; }

private:
    // A new file made here and checked; noted for removal unless `staging`.
    UniqueHfile newFile(std::wstring_view name, bool staging = false);
    // The system's name for `name` in this folder.
    std::wstring childName(std::wstring_view name) const;

    Win32FileSystem& files_;
    FolderChain chain_;    // the first folder and those above it, from the drive's root
    UniqueHfile own_;     // a subfolder's own handle
    HANDLE handle_;
    std::wstring name_;    // as the system names it: "\a\b"
    bool made_ = false, kept_ = false;
    std::vector<std::pair<std::wstring, std::uint64_t>> madeFiles_;   // name, number
};

}  // namespace cc
