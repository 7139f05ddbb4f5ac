// What both windows share beyond their flows: each label's text kept on one line in any font,
// and the main window's keys.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "workflow/dialog_places.h"
#include "workflow/main_dialog_template.h"
#include "workflow/main_window_keys.h"

namespace tavlo::test {
namespace {

// Two rows as the main dialog has them, 2 pixels a unit: a label column ending at x 200, the
// fields from 202, the buttons from 538; a line across the top; a button row below from 202.
LaidOutDialog TwoRows(int firstLabelText, int secondLabelText) {
    return {{{{14, 14, 56, 54}, 0},                 // icon, left of the column
             {{72, 14, 626, 54}, 0},                // the line across the top
             {{14, 78, 200, 102}, firstLabelText},  // label
             {{202, 74, 530, 102}, 0},              // field
             {{538, 74, 626, 104}, 0},              // button
             {{14, 122, 200, 146}, secondLabelText},
             {{204, 118, 532, 254}, 0},
             {{538, 118, 626, 148}, 0},
             {{202, 152, 292, 182}, 0}},
            640,
            196};
}

TEST(DialogPlaces, ALabelsColumnWidensToItsWidestText) {
    struct Row {
        const char* rule;
        int firstText, secondText;
        int widening;
    };
    const Row rows[] = {
        {"texts that fit move nothing", 186, 150, 0},
        {"one pixel more widens the column by one", 187, 150, 1},
        {"the widest text of the column counts", 190, 200, 14},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const LaidOutDialog before = TwoRows(row.firstText, row.secondText);
        const LaidOutDialog after = FitLabelTexts(before);
        EXPECT_EQ(after.clientWidth, before.clientWidth + row.widening);
        EXPECT_EQ(after.clientHeight, before.clientHeight);
        for (std::size_t i = 0; i < before.controls.size(); ++i) {
            SCOPED_TRACE(i);
            const PixelRect& was = before.controls[i].rect;
            const PixelRect& is = after.controls[i].rect;
            // Left of the column nothing moves; right of it everything moves by as much; what
            // reaches across widens; the rows stay.
            const int moved = was.left >= 200 ? row.widening : 0;
            const int grown = was.right >= 200 ? row.widening : 0;
            EXPECT_EQ(is.left, was.left + moved);
            EXPECT_EQ(is.right, was.right + grown);
            EXPECT_EQ(is.top, was.top);
            EXPECT_EQ(is.bottom, was.bottom);
            if (before.controls[i].labelTextWidth > 0) {
                EXPECT_GE(is.right - is.left, before.controls[i].labelTextWidth);
            }
        }
    }
}

// Every key is a function key or Alt with a letter, each has a name of its own, and no letter is
// a mnemonic of the main dialog, whose control it would otherwise take; both commands have one.
TEST(MainWindowKeys, EachKeyIsNamedOnceAndTakesNoMnemonic) {
    std::set<char> mnemonics;
    for (const ControlTemplate& control : main_dialog_template::kControls) {
        const std::string text = control.text;
        const auto amp = text.find('&');
        if (amp != std::string::npos && amp + 1 < text.size()) {
            mnemonics.insert(static_cast<char>(std::toupper(text[amp + 1])));
        }
    }
    ASSERT_FALSE(mnemonics.empty());
    std::set<std::string> names;
    for (const CommandKey& key : MainWindowKeys()) {
        const std::string name = KeyName(key);
        SCOPED_TRACE(name);
        EXPECT_NE(key.functionKey > 0, key.altLetter != 0);
        EXPECT_TRUE(names.insert(name).second);
        EXPECT_EQ(KeyNameOf(key.command), name);
        if (key.altLetter != 0) {
            EXPECT_TRUE(std::isupper(static_cast<unsigned char>(key.altLetter)));
            EXPECT_EQ(mnemonics.count(key.altLetter), 0u);
        }
    }
    // The README promises both.
    EXPECT_FALSE(KeyNameOf(WindowCommand::ViewHelp).empty());
    EXPECT_FALSE(KeyNameOf(WindowCommand::About).empty());
}

}  // namespace
}  // namespace tavlo::test
