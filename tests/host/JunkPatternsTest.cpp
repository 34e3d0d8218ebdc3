// The pattern list, its buttons and the pattern table; the wildcard matcher.
#include "fakes/FakePlatform.h"
#include "junk/PatternList.h"
#include "junk/Wildcard.h"
#include "formats/Wtf8.h"
using namespace cc;

struct JunkPatterns : ::testing::Test, fake::FakeProgram {
    PatternTable& table = program.state().JunkPatterns;
    void add(std::optional<std::string> typed) { ui.answerInput(std::move(typed)), ui.click("按钮9"); }
};

TEST_F(JunkPatterns, AddComparesExactlyAndRecommendChecksTheRecommendedItemsOnlyAndRefreshesTheTable) {
    for (auto typed : {std::optional<std::string>("*.tmp"), std::optional<std::string>(""), std::optional<std::string>()})
        add(typed);   // listed already, confirmed empty, cancelled
    EXPECT_EQ(ui.itemCount(kPatternList), 37);
    add("*.TMP");             // the duplicate test is case-sensitive
    add(" *.errorlog.txt ");  // blanks kept
    add("*.errorlog.txt");    // recommended, unlike the default "errorlog.txt"
    EXPECT_EQ(ui.itemText(kPatternList, 38), " *.errorlog.txt ");
    EXPECT_EQ(ui.shownBoxes().back(), (ControlModel::ShownBox{"添加一个文件类型,如: *.tmp", "添加文件类型", MessageKind::Ok, true}));
    EXPECT_TRUE(fake::Items(ui, kPatternList, true).empty());
    ui.click("按钮7");
    ui.click("按钮10");
    EXPECT_EQ(fake::Items(ui, kPatternList, true).size(), 28u);   // the 27 recommended and the one added, by its exact text:
    EXPECT_EQ(table[0] + table[15] + table[37] + table[39], "*.??$*.errorlog.txt");   // not 16's nor 38's
}

TEST_F(JunkPatterns, ClicksAndButtonsRewriteTheTableWhichNeverGrowsPastItsSlots) {
    for (const char* slot : {"*.tmp", ""})   // a click on the box writes the slot at once
        { ui.toggleItemCheck(kPatternList, 17); EXPECT_EQ(table[17], slot); }
    for (int i = 0; i < 80; ++i) ui.addItem(kPatternList, "*.p" + std::to_string(i));
    ui.click("按钮7");   // 117 checked items, 100 slots
    EXPECT_EQ(table[99], ui.itemText(kPatternList, 99));
    ui.click("按钮8");
    for (const auto& slot : table) EXPECT_EQ(slot, "");
}

// Expected answers are what Windows' FindFirstFile gives on long names. [R] The search rewrites the pattern (Microsoft's
// FileSystemName.TranslateWin32Expression; J. Kuhne, "Wildcards in Windows", 2017; ReactOS's kernel32 FindFile test): "*.*" -> "*",
// "?" -> DOS_QM, "." before "?" or "*" -> DOS_DOT, "*" before a "." (or a dropped final one) -> DOS_STAR. [N] Trailing dots and
// blanks go (KB 115827). [F] FsRtlIsNameInExpression ([MS-FSA] 2.1.4.4) on UTF-16 units: DOS_STAR stops before the name's last ".",
// DOS_QM takes one character or nothing at a "." or the end, DOS_DOT a "." or nothing past the end. [W] As Wine's kernel32 tests
// record Windows (test_FindFirstFile_wildcards): a final DOS_QM or DOS_STAR takes a dot ending the name ("." and ".." under "?",
// "*.", "<"; ".." under "?" excepted, and the scan never matches either). [U] The upper-case table, one-to-one, no special casing.
TEST(Wildcard, MatchesAsWindowsSearchMatchesLongNames) {
    struct Case { const char* pattern; const char* name; bool matches; } cases[] = {
        {"*.*", "README", true}, {"*.*", "a.b.c", true},                                 // [R]
        {"*.", "README", true}, {"*.", "a.txt", false}, {"*.", "a.b.", true},            // [R] [F] DOS_STAR
        {"abc?", "abc.", true}, {"*.", "abc.", true}, {"*.*", "abc.", true},             // [W] a final dot
        {"abc?", "abc.d", false}, {"*.", "abc.d.", true}, {"a?c", "a.c", false}, {"a.*", "a\"b", false},
        {"?", ".", true}, {"?.", ".", true}, {">", ".", true}, {"*.", ".", true}, {"<", ".", true},
        {"<.", "..", true}, {"*.", "..", true}, {"<", "..", true}, {"??", "a.", true},
        {"chklist.*", "chklist", true}, {"chklist.*", "CHKLIST.001", true},              // [R] [F] DOS_DOT
        {"chklist.*", "chklistx", false}, {"~*.*", "~abc", true}, {"~*.*", "a~", false},
        {"0???????.nch", "0abc.nch", true}, {"0???????.nch", "01234567.nch", true},      // [F] DOS_QM before "."
        {"0???????.nch", "012345678.nch", false}, {"0???????.nch", "0abc.d.nch", false},
        {"file?", "file", true}, {"file?", "file1", true}, {"file?", "file12", false},   // [F] DOS_QM at the end
        {"?", "a.b", false}, {"*.?", "noext", true}, {"*.?", "a.b", true},              // [R] "<\">": DOS_STAR
        {"*.?", "a.bc", false}, {"a*.?", "ab.c.d", true}, {"a.?", "a.bc", false},       //     keeps the last dot
        {"*.a*.", "x.ay", true}, {"*.a*.", "x.ay.z", false}, {"*.*.", "a.b", true},      // [R] [N]
        {"a*.*.", "ab.c.d", true},                                                        // DOS_DOT then DOS_STAR
        {"*.??$", "setup.ex$", true}, {"*.??$", "setup.e$", false},
        {"*.tmp", "a.b.tmp", true}, {"*.tmp", "a.tmp.txt", false}, {"*.tmp", ".tmp", true},
        {"*.log", "notes.logbook", false},                                                // never the 8.3 alias
        {"*a*b*c", "xxaxxbxxbxxc", true}, {"*a*b*c", "xxaxxbxxcxxb", false},
        {"a.", "a", true}, {"*.bak ", "x.bak", true}, {"...", "x", false},               // [N]
        {"<.txt", "a.b.txt", true}, {"<txt", "a.btxt", false}, {"a>c", "abc", true},                                // typed DOS wildcards [F]
        {"sub\\*.tmp", "a.tmp", false}, {"../*", "a", false}, {"", "a", false},          // a path; an empty slot
        {"Thumbs.db", "THUMBS.DB", true}, {"a.bak", "b.bak", false},                      // [U]; no wildcard at all
        {"*.\xC7\x8D\xCE\xA3\xD0\x96", "p.\xC7\x8E\xCF\x83\xD0\xB6", true},              // *.ǍΣЖ, p.ǎσж
        {"*.\xCF\x82", "x.\xCE\xA3", true}, {"\xC7\x86", "\xC7\x85", true},              // ς/Σ, ǆ/ǅ
        {"*.\xC4\x9F", "x.\xC4\x9E", true}, {"\xD5\xA1*", "\xD4\xB1", true},             // ğ/Ğ, Armenian ա/Ա
        {"\xE2\x85\xB0", "\xE2\x85\xA0", true}, {"\xEF\xBD\x81", "\xEF\xBC\xA1", true}, // roman ⅰ/Ⅰ, full-width a/A
        {"\xC3\x9F", "SS", false}, {"\xC3\x9F", "\xE1\xBA\x9E", false},                  // ß is no "SS", nor ẞ
        {"\xE1\xBE\x80", "\xE1\xBE\x88", true},                                                 // ᾀ/ᾈ, not "ἈΙ"
        {"?.bak", "\xF0\x9F\x98\x80.bak", false}, {"??.bak", "\xF0\x9F\x98\x80.bak", true},  // [F] two units
        {"?.tmp", "\xED\xA0\x80.tmp", true},                                              // an unpaired surrogate
    };
    for (const Case& c : cases) {   // the one-word matcher the scan uses, and the one for long expressions
        const Wildcard w(c.pattern);
        const std::string what = testing::PrintToString(std::string(c.pattern) + " / " + c.name);
        EXPECT_EQ(w.matches(c.name), c.matches) << what;
        EXPECT_EQ(w.matchesLong(FoldForMatching(c.name)), c.matches) << what;
    }
    const std::string x(63, 'x');   // an expression of 64 units: past one word of positions
    EXPECT_TRUE(Wildcard(x + "*").matches(x + "yz") && !Wildcard(x + "ab").matches(x + "a") &&
                !Wildcard(x + "?b").matches(x + "b") && !Wildcard(x + "?b").matches(x + ".b"));   // DOS_QM takes no "."
}

// That every unit sequence round-trips is Wtf8Fuzz's property; these are the bytes at each length's edges (a pair
// first), a trailing unpaired surrogate, and invalid bytes, each one a replacement.
TEST(Wtf8, SurrogatesEncodeAsWtf8AndInvalidBytesBecomeReplacements) {
    EXPECT_EQ(Wtf8FromUtf16(u"\xDBFF\xDFFF\x7F\x80\x7FF\x800\xD800"), "\xF4\x8F\xBF\xBF\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\xA0\x80");
    EXPECT_EQ(Utf16FromWtf8("a\xFF\xC0\xAF\xE4\xB8\xF4\x90\x80\x80"), std::u16string(u"a") + std::u16string(9, u'\xFFFD'));
}
