#pragma once
// Option lists shown in controls: filling a combo box or radio group with a
// list's names and selecting the item of a value.
#include "snmp/QvOptionList.h"

#include <string>

class TComboBox;
class TRadioGroup;

// Fill replaces the control's items by the names in list order; select picks
// the item of a name, or failing that of a value, else none.
void FillComboItems(const QvOptionList& list, TComboBox* combo);
void SelectComboItem(const QvOptionList& list, TComboBox* combo, const std::string& text);
void FillRadioItems(const QvOptionList& list, TRadioGroup* group);
void SelectRadioItem(const QvOptionList& list, TRadioGroup* group, const std::string& text);
