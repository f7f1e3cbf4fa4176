#include <gtest/gtest.h>

#include "binding/QvOptionControls.h"
#include "ui/Widgets.h"

namespace {

const QvPairDef kDisableFirst[] = {{4, "Disable"}, {1, "Enable"}, {0, nullptr}};

std::vector<std::string> ItemsOf(const TStrings& items) {
    std::vector<std::string> out;
    for (int i = 0; i < items.Count(); ++i)
        out.push_back(items[i]);
    return out;
}

struct Selection {
    const char* text;
    int index;
};

// By name, by value, and neither.
const Selection kSelections[] = {
    {"Enable", 1}, {"disable", 0}, {"1", 1}, {"4", 0}, {"2", -1}, {"On", -1}, {"(NULL)", -1},
};

TEST(OptionControls, ComboFillsInListOrderAndSelectsByNameOrValue) {
    QvOptionList list(kDisableFirst);
    TComboBox combo(nullptr);
    combo.Items().Add("stale");
    FillComboItems(list, &combo);
    EXPECT_EQ(ItemsOf(combo.Items()), (std::vector<std::string>{"Disable", "Enable"}));
    for (const auto& s : kSelections) {
        combo.SetItemIndex(0);
        SelectComboItem(list, &combo, s.text);
        EXPECT_EQ(combo.ItemIndex(), s.index) << s.text;
    }
}

TEST(OptionControls, RadioGroupFillsAndSelectsTheSameWay) {
    QvOptionList list(kDisableFirst);
    TRadioGroup group(nullptr);
    group.Items().Add("stale");
    group.Items().Add("stale too");
    group.Items().Add("and more");
    FillRadioItems(list, &group);
    EXPECT_EQ(ItemsOf(group.Items()), (std::vector<std::string>{"Disable", "Enable"}));
    for (const auto& s : kSelections) {
        group.SetItemIndex(1);
        SelectRadioItem(list, &group, s.text);
        EXPECT_EQ(group.ItemIndex(), s.index) << s.text;
    }
}

TEST(OptionControls, EmptyListEmptiesTheControl) {
    QvOptionList list;
    TComboBox combo(nullptr);
    combo.Items().Add("x");
    FillComboItems(list, &combo);
    EXPECT_EQ(combo.Items().Count(), 0);
    SelectComboItem(list, &combo, "x");
    EXPECT_EQ(combo.ItemIndex(), -1);
}

} // namespace
