#include <gtest/gtest.h>

#include <set>

#include "mib/OptionLists.h"

namespace {

std::vector<std::pair<int, std::string>> PairsOf(const QvOptionList& list) {
    std::vector<std::pair<int, std::string>> out;
    for (int i = 0; i < list.Count(); ++i)
        out.emplace_back(list.GetPair(i)->Value, list.GetPair(i)->Text);
    return out;
}

using Pairs = std::vector<std::pair<int, std::string>>;

TEST(GlobalOptionLists, AreBuiltBeforeMainWithTheirPairs) {
    EXPECT_EQ(PairsOf(mib::sysRestartList), (Pairs{{0, "nothing"}, {1, "reboot"}}));
    EXPECT_EQ(PairsOf(mib::hGetIPFromList), (Pairs{{1, "Static (Manual)"}, {2, "Dynamic (DHCP)"}}));
    EXPECT_EQ(PairsOf(mib::upgradesettingcommandList), (Pairs{{1, "Firmwareupdate"},
                                                              {2, "Configsetting"},
                                                              {3, "Configsave"},
                                                              {4, "Reboot"},
                                                              {5, "Factoryreset"},
                                                              {6, "Nothing"}}));
}

TEST(GlobalOptionLists, IntegerKeysAndNamesWithoutCase) {
    for (const mib::GlobalOptionListDef* d = mib::GlobalOptionListTable(); d->list; ++d) {
        EXPECT_EQ(d->list->KeyKind, QV_KEY_INTEGER);
        EXPECT_EQ(d->list->CaseSensitive, 0);
        EXPECT_EQ(d->list->Count(), QvOptionList::CountPairs(d->pairs));
    }
    // the waiting dialog writes "reboot" through the upgrade command's list
    EXPECT_EQ(mib::upgradesettingcommandList.TextToValue("reboot"), "4");
    EXPECT_EQ(mib::sysRestartList.ValueToText("1"), "reboot");
    EXPECT_EQ(mib::hGetIPFromList.ValueToText("2"), "Dynamic (DHCP)");
}

TEST(GlobalOptionLists, TableNamesEachListOnceInConstructionOrder) {
    std::vector<QvOptionList*> order;
    std::set<QvOptionList*> seen;
    for (const mib::GlobalOptionListDef* d = mib::GlobalOptionListTable(); d->list; ++d) {
        EXPECT_TRUE(seen.insert(d->list).second);
        EXPECT_NE(d->pairs, nullptr);
        order.push_back(d->list);
    }
    EXPECT_EQ(order, (std::vector<QvOptionList*>{&mib::sysRestartList, &mib::hGetIPFromList,
                                                 &mib::upgradesettingcommandList}));
}

TEST(GlobalOptionLists, FreeEmptiesAndBuildRestores) {
    mib::FreeGlobalOptionLists();
    for (const mib::GlobalOptionListDef* d = mib::GlobalOptionListTable(); d->list; ++d)
        EXPECT_EQ(d->list->Count(), 0);
    mib::BuildGlobalOptionLists();
    mib::BuildGlobalOptionLists(); // twice does not duplicate
    EXPECT_EQ(mib::sysRestartList.Count(), 2);
    EXPECT_EQ(mib::upgradesettingcommandList.Count(), 6);
}

} // namespace
