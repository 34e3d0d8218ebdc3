#pragma once
// The stand-in for the System Configuration Utility that the Windows tests
// carry as their msconfig resource (cmake/Msconfig.cmake writes the same bytes).

#include <string>

namespace cc::test {

inline std::string StandInCopy() {
    std::string block;
    for (int i = 0; i < 9472; ++i) block += "msconfig-standin";
    return block;   // 151,552 bytes
}

}  // namespace cc::test
