// The pattern list, its buttons and the pattern table; the wildcard matcher.
#include <gtest/gtest.h>

#include <set>

#include "app/Program.h"
#include "fakes/FakePlatform.h"
#include "junk/PatternList.h"
#include "junk/Wildcard.h"
#include "ui/ControlModel.h"

using namespace cc;

namespace {

struct JunkPatterns : ::testing::Test {
    ControlModel ui;
    fake::FakePlatform fakes;
    Program program{ui, fakes.platform};
    PatternTable& table = program.state().JunkPatterns;

    std::set<int> checkedItems() {
        std::set<int> items;
        for (int i = 0; i < ui.itemCount(kPatternList); ++i)
            if (ui.itemChecked(kPatternList, i)) items.insert(i + 1);   // numbered from 1
        return items;
    }
};

}  // namespace

TEST_F(JunkPatterns, RecommendChecksExactlyTheRecommendedItemsAndRefreshesTheTable) {
    ui.toggleItemCheck(kPatternList, 1);   // the user's own mark on item 2
    ui.click("按钮10");
    std::set<int> expected;
    for (int i = 1; i <= 37; ++i)
        if (!std::set<int>{2, 5, 16, 21, 22, 24, 25, 26, 27, 28}.count(i)) expected.insert(i);
    EXPECT_EQ(checkedItems(), expected);
    EXPECT_EQ(expected.size(), 27u);
    // The table follows the buttons' marks, not only clicks in the list.
    EXPECT_EQ(table[0], "*.??$");
    EXPECT_EQ(table[1], "");
    EXPECT_EQ(table[15], "");   // "errorlog.txt" is not "*.errorlog.txt"
    EXPECT_EQ(table[36], "Thumbs.db");
    EXPECT_EQ(table[37], "");
}

TEST_F(JunkPatterns, RecommendUnchecksAddedItemsButChecksAnAddedErrorlogPattern) {
    ui.answerInput("*.xyz");
    ui.click("按钮9");
    ui.answerInput("*.errorlog.txt");
    ui.click("按钮9");
    ui.click("按钮7");
    ui.click("按钮10");
    ASSERT_EQ(ui.itemCount(kPatternList), 39);
    EXPECT_FALSE(ui.itemChecked(kPatternList, 37));
    EXPECT_TRUE(ui.itemChecked(kPatternList, 38));
    EXPECT_EQ(checkedItems().size(), 28u);
}

TEST_F(JunkPatterns, AddComparesExactlyAndKeepsBlanks) {
    ui.answerInput("*.tmp");   // already listed
    ui.click("按钮9");
    EXPECT_EQ(ui.itemCount(kPatternList), 37);
    ui.answerInput(std::string());   // confirmed empty
    ui.click("按钮9");
    ui.answerInput(std::nullopt);    // cancelled
    ui.click("按钮9");
    EXPECT_EQ(ui.itemCount(kPatternList), 37);
    ui.answerInput("*.TMP");   // the duplicate test is case-sensitive
    ui.click("按钮9");
    ui.answerInput(" *.bak ");
    ui.click("按钮9");
    ASSERT_EQ(ui.itemCount(kPatternList), 39);
    EXPECT_EQ(ui.itemText(kPatternList, 37), "*.TMP");
    EXPECT_EQ(ui.itemText(kPatternList, 38), " *.bak ");
    EXPECT_FALSE(ui.itemChecked(kPatternList, 38));
    EXPECT_EQ(ui.shownBoxes().back().text, "添加一个文件类型,如: *.tmp");
    EXPECT_EQ(ui.shownBoxes().back().caption, "添加文件类型");
    EXPECT_TRUE(ui.shownBoxes().back().input);
}

TEST_F(JunkPatterns, ClicksInTheListRewriteTheTableAndUncheckAllEmptiesIt) {
    ui.toggleItemCheck(kPatternList, 17);   // "*.tmp"
    EXPECT_EQ(table[17], "*.tmp");
    ui.toggleItemCheck(kPatternList, 17);
    EXPECT_EQ(table[17], "");
    ui.click("按钮7");
    for (int i = 0; i < 37; ++i) EXPECT_EQ(table[i], ui.itemText(kPatternList, i));
    ui.click("按钮8");
    EXPECT_TRUE(checkedItems().empty());
    for (const auto& slot : table) EXPECT_EQ(slot, "");
}

TEST_F(JunkPatterns, ItemsPastTheHundredthSlotNeverReachPastTheTable) {
    for (int i = 0; i < 80; ++i) ui.addItem(kPatternList, "*.p" + std::to_string(i));
    ui.click("按钮7");   // 117 checked items, 100 slots
    EXPECT_EQ(table[99], ui.itemText(kPatternList, 99));
    EXPECT_EQ(table.size(), 100u);
}

TEST(Wildcard, StarQuestionAndLiteralCharacters) {
    EXPECT_TRUE(Wildcard("*.tmp").matches("a.tmp"));
    EXPECT_TRUE(Wildcard("*.tmp").matches(".tmp"));
    EXPECT_FALSE(Wildcard("*.tmp").matches("a.tmp.txt"));
    EXPECT_TRUE(Wildcard("*.tmp").matches("a.b.tmp"));
    EXPECT_TRUE(Wildcard("*.??$").matches("setup.ex$"));
    EXPECT_FALSE(Wildcard("*.??$").matches("setup.e$"));
    EXPECT_TRUE(Wildcard("0???????.nch").matches("01234567.nch"));
    EXPECT_FALSE(Wildcard("0???????.nch").matches("0123.nch"));   // "?" is exactly one character
    EXPECT_FALSE(Wildcard("~*.*").matches("~nodot"));
    EXPECT_TRUE(Wildcard("~*.*").matches("~WRL0001.tmp"));
    EXPECT_TRUE(Wildcard("*.$*").matches("x.$"));
    EXPECT_TRUE(Wildcard("*.#Res").matches("a.#res"));
    EXPECT_TRUE(Wildcard("*.*~").matches("file.txt~"));
    EXPECT_TRUE(Wildcard("*.---").matches("a.---"));
    EXPECT_FALSE(Wildcard("").matches("anything"));   // an empty slot matches nothing
    EXPECT_TRUE(Wildcard("*a*b*c").matches("xxaxxbxxbxxc"));
    EXPECT_FALSE(Wildcard("*a*b*c").matches("xxaxxbxxcxxb"));
}

TEST(Wildcard, MatchesTheLongNameOnlyAndIgnoresCaseBeyondAscii) {
    // An 8.3 alias such as NOTES~1.LOG is no reason to match.
    EXPECT_FALSE(Wildcard("*.log").matches("notes.logbook"));
    EXPECT_TRUE(Wildcard("Thumbs.db").matches("THUMBS.DB"));
    EXPECT_TRUE(Wildcard("*.tmp").matches("\xC3\x89T\xC3\x89.TMP"));                    // ÉTÉ.TMP
    EXPECT_TRUE(Wildcard("\xC3\xA9t\xC3\xA9.*").matches("\xC3\x89T\xC3\x89.tmp"));       // été.* vs ÉTÉ.tmp
    EXPECT_TRUE(Wildcard("\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB.log").matches("\xD0\xA4\xD0\x90\xD0\x99\xD0\x9B.LOG"));  // файл / ФАЙЛ
    EXPECT_TRUE(Wildcard("*.bak").matches("\xF0\x9F\x98\x80.bak"));                    // an emoji outside the BMP
    EXPECT_TRUE(Wildcard("?.bak").matches("\xF0\x9F\x98\x80.bak"));                    // one character, four bytes
    EXPECT_TRUE(Wildcard("*.tmp").matches("\xE4\xB8\xB4\xE6\x97\xB6.tmp"));            // 临时.tmp
    EXPECT_FALSE(Wildcard("*.tmp").matches("\xFF\xFE.tmq"));                           // invalid bytes are safe
}
