#pragma once
// A fresh folder under the Wine prefix's temporary folder, removed with
// everything in it when the test ends. Tests touch nothing outside it.

#include <windows.h>

#include <string>

#include "TestFiles.h"

namespace cc::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder as a UTF-8 path ending in a backslash.
    const std::string& path() const { return path_; }
    std::wstring wide() const;

private:
    std::string path_;
};

}  // namespace cc::test
