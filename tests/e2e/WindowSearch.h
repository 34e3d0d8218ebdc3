#pragma once
// The first descendant window that satisfies a test, or null.

#include <windows.h>

#include <functional>

namespace cc::test {

inline HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& wanted) {
    std::pair<const std::function<bool(HWND)>*, HWND> search{&wanted, nullptr};
    EnumChildWindows(parent, [](HWND hwnd, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<decltype(search)*>(p);
        return (*s->first)(hwnd) ? (s->second = hwnd, FALSE) : TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

}  // namespace cc::test
