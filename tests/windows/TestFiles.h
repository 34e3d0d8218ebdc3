#pragma once
// Whole files and registry values made and read back by the Windows and
// end-to-end tests.

#include <windows.h>

#include <string>

namespace cc::test {

// Creates or replaces a file with the given bytes (wide path, long-path form allowed).
bool MakeFile(const std::wstring& path, const std::string& content);
// Everything the file holds, read to its end (Linux /proc files report size 0);
// empty when it cannot be opened.
std::string ReadWholeFile(const std::wstring& path);

// Stores a registry value as any program might, creating its key (64-bit view).
bool SetRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name, DWORD type, const void* data, DWORD bytes);

}  // namespace cc::test
