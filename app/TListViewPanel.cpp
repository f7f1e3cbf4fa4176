#include "app/TListViewPanel.h"

#include "app/TCtrlBtnPanel.h"
#include "binding/QvSNMPRequest2Edits.h"

#include <algorithm>

TListViewPanel::TListViewPanel(TWinControl* owner, QvSNMPRequest2Edits* group) : TPanel(owner) {
    SetBevelOuter(bvNone);
    ListView = new TListView(this);
    ListView->SetAlign(alClient);
    // Selecting a row shows it in the rows without enabling them.
    if (group) group->BindListView(ListView, false);
    int chars = 0;
    for (int c = 0; c < ListView->Columns().Count(); ++c)
        chars += static_cast<int>(ListView->Columns()[c]->Caption().size());
    SetWidth(std::min(2 * ListView->BorderWidth() + 8 * chars, kMaxWidth));
    SetHeight(350);
}

void TListViewPanel::ArrangeCtrls(TCtrlBtnPanel* buttons) {
    for (TControl* c :
         {static_cast<TControl*>(buttons->Counter), static_cast<TControl*>(buttons->SamplesLabel),
          static_cast<TControl*>(buttons->RefreshBtn), static_cast<TControl*>(buttons->EditBtn),
          static_cast<TControl*>(buttons->CloseBtn)})
        c->Show();
    buttons->EditBtn->SetEnabled(false);
    buttons->DeleteBtn->SetEnabled(false);
    buttons->SetCheckedBtn->Hide();
    buttons->CheckAllBtn->Hide();
    buttons->ClearChecksBtn->Hide();
    buttons->AddBtn->SetVisible(AddColumn != -1);
    buttons->DeleteBtn->SetVisible(DeleteColumn != -1);
    buttons->ArrangeButtons();
}
