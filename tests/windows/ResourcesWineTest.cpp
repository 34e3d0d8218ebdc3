// The byte blocks the program carries, read back from its own module.
#include <gtest/gtest.h>

#include "platform/win32/Win32Resources.h"
#include "repair/HijackValues.h"
#include "resources/ResourceIds.h"

using namespace cc;
TEST(Win32Resources, CarriesTheUtilityCopyItWasBuiltWithWhole) {
    Win32Resources resources;
    const auto copy = resources.block(IDR_MSCONFIG);
    std::string standIn;   // the tests' own msconfig resource, as cmake/Msconfig.cmake makes it
    while (standIn.size() < kMsconfigBytes) standIn += "msconfig-standin";
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(copy.data()), copy.size()), standIn);
    EXPECT_TRUE(resources.block(4242).empty());
}
