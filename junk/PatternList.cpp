#include "junk/PatternList.h"

#include <algorithm>
#include <array>
#include <string>

namespace cc {
namespace {

// What the list holds when the program starts, every item unchecked.
constexpr std::array<std::string_view, 37> kDefaults{
    "*.??$", "*.??~", "*.~*", "*.*~", "*.^*", "*.bak", "chklist.*", "*.chk", "*.ftg", "*.fts",
    "*.fnd", "*.gid", "*.old", "*.prv", "*.err", "errorlog.txt", "*.log", "*.tmp", "~*.*", "*._mp",
    "*.syd", "*.diz", "*.dmp", "*.wbz", "*.xlk", "*.spc", "*.cdr_", "*.#Res", "*.mch", "*.$*",
    "*.$$$", "*.@@@", "*.---", "mscreate.dir", "0???????.nch", "imagedb.aid", "Thumbs.db",
};

// "*.errorlog.txt" is what "推荐" looks for, so the default "errorlog.txt"
// item is not recommended; an added "*.errorlog.txt" would be.
constexpr std::array<std::string_view, 28> kRecommended{
    "*.??$", "*.~*",  "*.*~",  "*.bak", "chklist.*", "*.chk",        "*.ftg",        "*.fts",        "*.fnd",    "*.gid",
    "*.old", "*.prv", "*.err", "*.errorlog.txt",     "*.log",        "*.tmp",        "~*.*",         "*._mp",    "*.dmp",
    "*.mch", "*.$*",  "*.$$$", "*.@@@", "*.---",     "mscreate.dir", "0???????.nch", "imagedb.aid", "Thumbs.db",
};

}  // namespace

std::span<const std::string_view> RecommendedPatterns() { return kRecommended; }

void AddDefaultPatterns(ControlLayer& c) {
    for (std::string_view pattern : kDefaults) c.addItem(kPatternList, pattern);
}

void RecommendPatterns(ControlLayer& c) {
    SetAllChecked(c, kPatternList, false);
    int count = c.itemCount(kPatternList);
    for (int i = 0; i < count; ++i) {
        std::string text = c.itemText(kPatternList, i);
        for (std::string_view recommended : kRecommended)
            if (text == recommended) c.setItemChecked(kPatternList, i, true);
    }
}

void AddPattern(ControlLayer& c) {
    std::string typed;
    c.inputBox("添加一个文件类型,如: *.tmp", "添加文件类型", typed);
    if (typed.empty()) return;
    int count = c.itemCount(kPatternList);
    for (int i = 0; i < count; ++i)
        if (c.itemText(kPatternList, i) == typed) return;
    c.addItem(kPatternList, typed);
}

void RefreshPatternTable(ControlLayer& c, PatternTable& table) {
    int count = std::min<int>(c.itemCount(kPatternList), kJunkPatternSlots);
    for (int i = 0; i < count; ++i)
        table[static_cast<size_t>(i)] = c.itemChecked(kPatternList, i) ? c.itemText(kPatternList, i) : std::string();
}

}  // namespace cc
