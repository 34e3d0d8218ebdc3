#pragma once
// Whole files made and read back by the Windows and end-to-end tests.

#include <string>

namespace cc::test {

// Creates or replaces a file with the given bytes (wide path, long-path form allowed).
bool MakeFile(const std::wstring& path, const std::string& content);
// Everything the file holds, read to its end (Linux /proc files report size 0);
// empty when it cannot be opened.
std::string ReadWholeFile(const std::wstring& path);

}  // namespace cc::test
