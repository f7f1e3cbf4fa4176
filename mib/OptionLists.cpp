#include "mib/OptionLists.h"

namespace mib {

// clang-format off
const QvPairDef sysRestartPairs[] = {
    {0, "nothing"}, {1, "reboot"},
    {0, nullptr},
};

const QvPairDef hGetIPFromPairs[] = {
    {1, "Static (Manual)"}, {2, "Dynamic (DHCP)"},
    {0, nullptr},
};

const QvPairDef upgradesettingcommandPairs[] = {
    {1, "Firmwareupdate"}, {2, "Configsetting"}, {3, "Configsave"},
    {4, "Reboot"}, {5, "Factoryreset"}, {6, "Nothing"},
    {0, nullptr},
};
// clang-format on

// Constant-initialised, so static variable tables of any file may take
// their addresses; the pairs arrive when the lists are built.
constinit QvOptionList sysRestartList;
constinit QvOptionList hGetIPFromList;
constinit QvOptionList upgradesettingcommandList;

namespace {

const GlobalOptionListDef kConstructionOrder[] = {
    {&sysRestartList, sysRestartPairs},
    {&hGetIPFromList, hGetIPFromPairs},
    {&upgradesettingcommandList, upgradesettingcommandPairs},
    {nullptr, nullptr},
};

// Builds the lists during static initialisation and empties them during
// static destruction, before the lists themselves go.
struct Lifetime {
    Lifetime() { BuildGlobalOptionLists(); }
    ~Lifetime() { FreeGlobalOptionLists(); }
} g_lifetime;

} // namespace

const GlobalOptionListDef* GlobalOptionListTable() {
    return kConstructionOrder;
}

void BuildGlobalOptionLists() {
    for (const GlobalOptionListDef* d = kConstructionOrder; d->list; ++d) {
        d->list->Clear();
        d->list->KeyKind = QV_KEY_INTEGER;
        d->list->CaseSensitive = 0;
        d->list->AddPairs(d->pairs);
    }
}

void FreeGlobalOptionLists() {
    const GlobalOptionListDef* last = kConstructionOrder;
    while (last->list)
        ++last;
    while (last != kConstructionOrder)
        (--last)->list->Clear();
}

} // namespace mib
