#pragma once
// The global option lists: one per static pair table, built in a fixed order
// before the main window exists and emptied in reverse order at program end.
// Variable tables point their enumerated records at these lists.
//
// A list is added in three steps: its pair table and list below (declared
// here, defined in OptionLists.cpp), and one line in the construction table
// of OptionLists.cpp at its place in the order.
#include "snmp/QvOptionList.h"

namespace mib {

// Pair tables, ended by an entry with a null text.
extern const QvPairDef sysRestartPairs[];
extern const QvPairDef hGetIPFromPairs[];
extern const QvPairDef upgradesettingcommandPairs[];

// The lists, named after the variable they serve.
extern QvOptionList sysRestartList;
extern QvOptionList hGetIPFromList;
extern QvOptionList upgradesettingcommandList;

struct GlobalOptionListDef {
    QvOptionList* list;
    const QvPairDef* pairs;
};

// The construction order, ended by an entry with a null list.
const GlobalOptionListDef* GlobalOptionListTable();

// Fills every list from its pair table (integer keys, names without case),
// in table order; a list already built is rebuilt. Runs by itself before
// main; the program entry may call it again without harm.
void BuildGlobalOptionLists();
// Empties every list, last first. Runs by itself at program end.
void FreeGlobalOptionLists();

} // namespace mib
