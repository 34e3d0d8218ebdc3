// The byte blocks the program carries, read back from its own module.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "StandInCopy.h"
#include "platform/win32/Win32Resources.h"
#include "repair/HijackValues.h"
#include "resources/ResourceIds.h"
#include "ui/win32/Pictures.h"

using namespace cc;

namespace {

std::string AsText(std::span<const std::byte> block) {
    return std::string(reinterpret_cast<const char*>(block.data()), block.size());
}

TEST(Win32Resources, CarriesTheUtilityCopyItWasBuiltWith) {
    Win32Resources resources;
    const auto copy = resources.block(IDR_MSCONFIG);
    ASSERT_EQ(copy.size(), kMsconfigBytes);
    EXPECT_EQ(AsText(copy), test::StandInCopy());
    EXPECT_TRUE(resources.block(4242).empty());
}

TEST(Win32Resources, StatusIconsAreWholeSixteenPixelIconFiles) {
    Win32Resources resources;
    PictureCache pictures;
    for (int id : {IDI_STATUS_FOUND, IDI_STATUS_CLEAN}) {
        const auto file = resources.block(id);
        ASSERT_EQ(file.size(), 1150u) << id;
        const auto* b = reinterpret_cast<const unsigned char*>(file.data());
        // One image, 16 x 16, 32 bits per pixel, 1,128 bytes from offset 22.
        const unsigned char directory[] = {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0x68, 0x04, 0, 0, 22, 0, 0, 0};
        EXPECT_EQ(std::memcmp(b, directory, sizeof directory), 0) << id;
        const Picture* picture = pictures.get(id);
        ASSERT_NE(picture, nullptr) << id;
        ASSERT_NE(picture->icon, nullptr) << id;
        EXPECT_EQ(picture->width, 16);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(picture->icon, &info));
        BITMAP colour{};
        GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, 16);
        EXPECT_EQ(colour.bmHeight, 16);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
}

}  // namespace
