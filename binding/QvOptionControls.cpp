#include "binding/QvOptionControls.h"

#include "ui/Widgets.h"

namespace {

// The items become the names of the pairs, in order, in one update.
void FillWithNames(TStrings& items, const QvOptionList& list) {
    items.BeginUpdate();
    items.Clear();
    for (int i = 0; i < list.Count(); ++i)
        items.Add(list.GetPair(i)->Text);
    items.EndUpdate();
}

} // namespace

void FillComboItems(const QvOptionList& list, TComboBox* combo) {
    FillWithNames(combo->Items(), list);
}

// By name first; a value that arrives as a number selects its name's item.
void SelectComboItem(const QvOptionList& list, TComboBox* combo, const std::string& text) {
    combo->SetItemIndex(list.IndexOfText(text));
    if (combo->ItemIndex() < 0) combo->SetItemIndex(list.IndexOfValue(text));
}

void FillRadioItems(const QvOptionList& list, TRadioGroup* group) {
    FillWithNames(group->Items(), list);
}

void SelectRadioItem(const QvOptionList& list, TRadioGroup* group, const std::string& text) {
    group->SetItemIndex(list.IndexOfText(text));
    if (group->ItemIndex() < 0) group->SetItemIndex(list.IndexOfValue(text));
}
