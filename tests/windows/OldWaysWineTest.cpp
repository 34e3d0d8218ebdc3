// The NT 5.2 ways beside the newer calls, forced here whatever Windows runs the tests: each must give what the newer call gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "TestFiles.h"
#include "platform/win32/OldWays.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32SystemQueries.h"
#include "resources/ResourceIds.h"
#include "ui/Scale.h"
#include "ui/win32/Pictures.h"

using namespace cc;
using Listed = std::tuple<std::string, bool, bool, std::uint64_t>;

static std::vector<Listed> Listing(std::string_view folder, bool oldWay) {
    ForceOldWays force(oldWay ? unsigned(OldWay::FolderListing) : 0u);
    std::vector<Listed> listed;
    for (const FolderEntry& e : Win32FileSystem().listFolder(folder, {})) {
        listed.emplace_back(e.name, e.folder, e.reparsePoint, e.size);
        EXPECT_EQ(e.id == 0, oldWay) << e.name;   // the old way lists no file numbers
    }
    std::sort(listed.begin(), listed.end());
    return listed;
}
// Either way every entry but "." and ".." is listed with its size, folders and reparse points marked.
TEST(OldWays, FolderListingWithoutFileNumbersListsTheSame) {
    test::TempFolder temp;
    ASSERT_TRUE(test::MakeFile(LongPath(temp.path() + "a.tmp"), std::string(70000, 'a')));
    ASSERT_TRUE(test::MakeFile(LongPath(temp.path() + "\xE6\xB5\x8B\xE8\xAF\x95.log"), "x"));   // 测试.log
    SetFileAttributesW(LongPath(temp.path() + "a.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CreateDirectoryW(LongPath(temp.path() + "sub").c_str(), nullptr));
    const auto listed = Listing(temp.path(), true);
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed, Listing(temp.path(), false));
    EXPECT_EQ(std::vector(listed.begin(), listed.begin() + 2), (std::vector<Listed>{{"a.tmp", false, false, 70000}, {"sub", true, false, 0}}));
    // The link back up (scripts/test-fixtures.sh) is marked as one, and a missing folder lists nothing.
    for (bool oldWay : {true, false}) {
        EXPECT_EQ(Listing("C:\\cc-fixtures\\tree\\inner\\", oldWay), (std::vector<Listed>{{"loop", true, true, 0}}))
            << "run scripts/test-fixtures.sh in the test prefix";
        EXPECT_TRUE(Listing(temp.path() + "missing\\", oldWay).empty());
    }
}
TEST(OldWays, OlePictureLoaderDecodesEveryPictureAsTheImagingComponentDoes) {
    const ComApartment com;
    auto pixels = [](const Picture& picture) {   // premultiplied BGRA
        DIBSECTION dib{};
        if (!picture.bitmap || GetObjectW(picture.bitmap.get(), sizeof dib, &dib) != sizeof dib) return std::vector<std::uint8_t>{};
        const auto* bits = static_cast<const std::uint8_t*>(dib.dsBm.bmBits);
        return std::vector<std::uint8_t>(bits, bits + std::size_t(picture.width) * picture.height * 4);
    };
    for (int dpi : {96, 144, 192})   // each set drawn for a scale
        for (int id : {IDR_LOGO_GIF, IDR_BANNER_JPG, IDR_BADGE_GIF, IDR_CPU_GIF, IDR_BOARD_JPG, IDR_SCANIE_JPG}) {
            PictureCache newer, older;
            newer.setDpi(dpi), older.setDpi(dpi);
            const Picture* expected = newer.get(id);
            ForceOldWays force(unsigned(OldWay::Pictures));
            const Picture* actual = older.get(id);
            ASSERT_TRUE(expected && actual && force.answered()) << id << " at " << dpi;
            EXPECT_EQ(expected->width, ScaleValue(expected->designWidth, dpi)) << id;   // from the set for the DPI
            EXPECT_TRUE(actual->premultiplied) << id;
            ASSERT_EQ(std::pair(actual->width, actual->height), std::pair(expected->width, expected->height)) << id;
            const auto want = pixels(*expected), got = pixels(*actual);
            ASSERT_TRUE(got.size() == want.size() && !got.empty()) << id;
            int worst = 0, clear = 0, stillClear = 0;
            for (std::size_t i = 0; i < got.size(); ++i) {
                worst = std::max(worst, std::abs(got[i] - want[i]));   // JPEG decoders may round apart
                if (i % 4 == 3 && want[i] == 0) ++clear, stillClear += got[i] == 0;
            }
            EXPECT_LE(worst, 8) << id;
            EXPECT_EQ(stillClear, clear) << id;   // a GIF's transparent colour stays transparent
        }
}
TEST(OldWays, ShortAdapterRecordsTakeTheRestFromTheOlderCall) {
    Win32SystemQueries system;
    const auto newer = system.QueryAdapters();
    ASSERT_FALSE(newer.empty());
    ForceOldWays force(unsigned(OldWay::AdapterRecords));
    const auto older = system.QueryAdapters();
    EXPECT_TRUE(force.answered());
    auto fields = [](const AdapterInfo& a) { return std::tie(a.name, a.macAddress, a.ipAddress, a.subnetMask, a.defaultGateway, a.winsServer, a.dhcpServer); };
    ASSERT_EQ(older.size(), newer.size());
    for (std::size_t i = 0; i < older.size(); ++i) {
        EXPECT_EQ(fields(older[i]), fields(newer[i])) << older[i].name;
        EXPECT_TRUE(older[i].ipAddress.empty() || !older[i].subnetMask.empty()) << older[i].name;
    }
}
