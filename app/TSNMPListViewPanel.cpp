#include "app/TSNMPListViewPanel.h"

#include "app/TCtrlBtnPanel.h"
#include "app/TEditsPanel.h"
#include "app/TListViewPanel.h"
#include "app/TMsgPanel.h"
#include "base/Exception.h"
#include "base/SysUtils.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/PageControl.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace {

std::string HtmlEscaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

// Names taken out of a status combo box for the edit dialog, with the places
// they had, so that the box gets its items back in the same order.
struct RemovedName {
    int row;
    int index;
    std::string name;
};

} // namespace

TSNMPListViewPanel::TSNMPListViewPanel(TWinControl* owner, QvSNMPRequest2Edits* group)
    : TSNMPEditorPanel(owner, group) {
    ListPanel = new TListViewPanel(Inner, group);
    TListView* lv = ListPanel->ListView;
    lv->OnClick = [this](TObject* s) { ListClick(s); };
    lv->OnDblClick = [this](TObject* s) { ListDblClick(s); };
    lv->OnChange = [this](TObject*) { ShowCount(); };
    lv->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) {
        ListMouseMove(s, sh, x, y);
    };
    Buttons->RefreshBtn->OnClick = [this](TObject* s) { RefreshList(s); };
    Buttons->EditBtn->OnClick = [this](TObject* s) { EditRow(s); };
    Buttons->AddBtn->OnClick = [this](TObject* s) { AddRow(s); };
    Buttons->DeleteBtn->OnClick = [this](TObject* s) { DeleteRow(s); };
    ListPanel->ArrangeCtrls(Buttons);
    bool anyEditable = false;
    for (int r = 0; r < EditsPanel->RowCount(); ++r)
        if (!EditsPanel->IsReadOnlyRow(r) && !EditsPanel->IsIndexRow(r)) anyEditable = true;
    if (!anyEditable) {
        Buttons->EditBtn->Hide();
        Buttons->ArrangeButtons();
    }
    SetContent(ListPanel);
    OnBeforeAdd = [this](TObject*) { EditsPanel->ClearRows(); };
}

TSNMPListViewPanel::~TSNMPListViewPanel() {
    // The list view goes after this part: its last changes must not reach it.
    TListView* lv = ListPanel->ListView;
    lv->OnClick = nullptr;
    lv->OnDblClick = nullptr;
    lv->OnChange = nullptr;
    lv->OnMouseMove = nullptr;
}

void TSNMPListViewPanel::ShowCount() {
    Buttons->Counter->SetCaption(IntToStr(ListPanel->ListView->Items().Count()));
}

namespace {

// The row's combo box must offer name.
void CheckStatusName(TEditsPanel* edits, int column, const char* name, const std::string& what) {
    const std::string text = name ? name : "";
    TComboBox* combo = nullptr;
    if (column >= 0 && column < edits->RowCount())
        combo = dynamic_cast<TComboBox*>(edits->Rows[static_cast<size_t>(column)].value);
    bool found = false;
    if (combo)
        for (int k = 0; k < combo->Items().Count() && !found; ++k)
            found = combo->Items()[k] == text;
    if (!found) throw Exception(what + text);
}

} // namespace

void TSNMPListViewPanel::SetAddStatus(int column, const char* name) {
    CheckStatusName(EditsPanel, column, name,
                    "TSNMPListViewPanel::SetAddStatus - Wrong AddStatusValue:");
    ListPanel->AddColumn = column;
    ListPanel->AddStatus = name;
    Buttons->AddBtn->Show();
    Buttons->ArrangeButtons();
}

void TSNMPListViewPanel::SetDeleteStatus(int column, const char* name) {
    CheckStatusName(EditsPanel, column, name,
                    "TSNMPListViewPanel::SetDeleteStatus - Wrong DeleteStatusValue:");
    ListPanel->DeleteColumn = column;
    ListPanel->DeleteStatus = name;
    Buttons->DeleteBtn->Show();
    Buttons->ArrangeButtons();
}

void TSNMPListViewPanel::RefreshList(TObject*) {
    if (!Group) return;
    if (Group->mode == 1 && Group->busy) return;
    Buttons->EditBtn->SetEnabled(false);
    Buttons->DeleteBtn->SetEnabled(false);
    Refresh();
}

void TSNMPListViewPanel::ListClick(TObject*) {
    const bool selected = ListPanel->ListView->Selected() != nullptr;
    Buttons->EditBtn->SetEnabled(selected);
    Buttons->DeleteBtn->SetEnabled(selected);
    if (!selected) EditsPanel->ClearRows();
}

void TSNMPListViewPanel::ListDblClick(TObject* sender) {
    if (ListPanel->ListView->Selected()) EditRow(sender);
}

std::string TSNMPListViewPanel::ItemHint(const TListItem* item) const {
    const TListColumns& columns = ListPanel->ListView->Columns();
    // A table of two columns, so the values line up whatever the font; the
    // zero-width columns hold values that are not to be shown.
    std::string hint = "<table cellspacing=\"0\" cellpadding=\"0\">";
    for (int c = 0; c < columns.Count(); ++c) {
        if (columns[c]->Width() == 0) continue;
        hint += "<tr><td><nobr>" + HtmlEscaped(columns[c]->Caption()) +
                "</nobr></td><td><nobr>&nbsp;&nbsp;" + HtmlEscaped(item->ColumnText(c)) +
                "</nobr></td></tr>";
    }
    return hint + "</table>";
}

void TSNMPListViewPanel::ListMouseMove(TObject*, TShiftState, int x, int y) {
    TListView* lv = ListPanel->ListView;
    TListItem* item = lv->GetItemAt(x, y);
    if (!item) {
        lv->SetShowHint(false);
        return;
    }
    lv->SetHint(ItemHint(item));
    lv->SetShowHint(true);
}

std::string TSNMPListViewPanel::HostCaption() const {
    if (dynamic_cast<TForm*>(Parent()) || dynamic_cast<TTabSheet*>(Parent()))
        return Parent()->Caption();
    if (HostForm) return HostForm->Caption();
    TForm* form = ParentForm();
    return form ? form->Caption() : std::string();
}

void TSNMPListViewPanel::AddRow(TObject* sender) {
    if (OnBeforeAdd) OnBeforeAdd(sender);
    RunDialog(DialogKind::Add, sender);
    if (OnAfterAdd) OnAfterAdd(sender);
}

void TSNMPListViewPanel::EditRow(TObject* sender) {
    if (!Group || !ListPanel->ListView->Selected()) return;
    if (OnBeforeEdit) OnBeforeEdit(sender);
    RunDialog(DialogKind::Edit, sender);
    if (OnAfterEdit) OnAfterEdit(sender);
}

void TSNMPListViewPanel::RunDialog(DialogKind kind, TObject*) {
    if (!Group || dialog_) return;
    const bool add = kind == DialogKind::Add;
    // A read still running would fill the list behind the dialog: let it end,
    // but not for long.
    bool lateReply = false;
    if (!add && Group->mode == 1) {
        Group->request.Alive = 0;
        lateReply = !WaitWhileBusy(*Group, kEditWaitMs);
        if (!lateReply) Group->request.Alive = 1;
    }

    auto* dialog = new TForm(Application);
    dialog->SetPosition(poOwnerFormCenter);
    dialog->SetCaption(add ? HostCaption() + " (Add)"
                           : (HostForm ? HostForm->Caption() : HostCaption()));
    dialog_ = dialog;
    TWinControl* previousOwner = Group->Constraint().Owner();
    Group->SetConstraintOwner(dialog);

    auto* panel = new TSNMPPanel(dialog, Msg, Group);
    dialogPanel_ = panel;
    panel->SetEdits(EditsPanel);
    panel->Buttons->SetCheckedBtn->SetTag(1);
    panel->Buttons->SetCheckedBtn->OnClick = [this, lateReply](TObject* s) {
        // The late reply of an abandoned read stays unwanted; only the
        // synchronous set needs the request alive.
        if (lateReply) Group->request.Alive = 1;
        SetValues(s);
        if (lateReply) Group->request.Alive = 0;
    };
    panel->Buttons->CheckAllBtn->OnClick = [this](TObject* s) { CheckAll(s); };
    panel->Buttons->ClearChecksBtn->OnClick = [this](TObject* s) { ClearChecks(s); };

    std::vector<RemovedName> removed;
    std::vector<int> hiddenRows;
    TListView* lv = ListPanel->ListView;
    if (add) {
        // Fresh looks, so checks left over from an earlier dialog do not count.
        EditsPanel->SetRowsEditable(EditsPanel->DefaultCheck);
        for (int r = 0; r < EditsPanel->RowCount(); ++r) {
            if (!EditsPanel->IsIndexRow(r)) continue;
            // Index values are always written.
            EditsPanel->MakeRowWritable(r);
            PanelRow& row = EditsPanel->Rows[static_cast<size_t>(r)];
            row.check->SetChecked(true);
            row.check->Show();
            row.check->SetEnabled(false);
            row.value->SetEnabled(true);
        }
        const int c = ListPanel->AddColumn;
        if (c >= 0 && c < EditsPanel->RowCount()) {
            PanelRow& row = EditsPanel->Rows[static_cast<size_t>(c)];
            row.value->SetEnabled(false);
            row.check->SetEnabled(false);
            row.check->SetChecked(true);
            if (auto* combo = dynamic_cast<TComboBox*>(row.value))
                combo->SetItemIndex(combo->Items().IndexOf(ListPanel->AddStatus));
        }
    } else {
        EditsPanel->SetRowsEditable(0);
    }
    EditsPanel->ArrangeCtrlBtn(panel->Buttons);
    panel->Buttons->RefreshBtn->Hide();
    panel->Buttons->ArrangeButtons();
    const int valueWidth = EditsPanel->ValueWidth;
    if (!add) EditsPanel->ValueWidth = 200;
    EditsPanel->ArrangeRows(true);
    if (!add) {
        const std::pair<int, std::string> statusNames[] = {
            {ListPanel->AddColumn, ListPanel->AddStatus},
            {ListPanel->DeleteColumn, ListPanel->DeleteStatus}};
        for (const auto& [c, name] : statusNames) {
            if (c < 0 || c >= EditsPanel->RowCount()) continue;
            auto* combo = dynamic_cast<TComboBox*>(EditsPanel->Rows[static_cast<size_t>(c)].value);
            if (!combo) continue;
            const int k = combo->Items().IndexOf(name);
            if (k < 0) continue;
            const int selected = combo->ItemIndex();
            combo->Items().Delete(k);
            // The selection stays on the same name.
            combo->SetItemIndex(selected == k ? -1 : selected > k ? selected - 1 : selected);
            removed.push_back({c, k, name});
            if (combo->Items().Count() == 0 &&
                std::find(hiddenRows.begin(), hiddenRows.end(), c) == hiddenRows.end()) {
                EditsPanel->HideRow(c);
                hiddenRows.push_back(c);
            }
        }
        if (!hiddenRows.empty()) EditsPanel->ArrangeRows(true);
    }
    panel->SetContent(EditsPanel);
    panel->AttachToForm(dialog);
    if (add) {
        lv->SetSelected(nullptr);
        Buttons->EditBtn->SetEnabled(false);
        Buttons->DeleteBtn->SetEnabled(false);
    }

    try {
        dialog->ShowModal();
    } catch (...) {
        Application->HandleException();
    }

    for (int r : hiddenRows)
        EditsPanel->ShowRow(r);
    // Put back last removed first, so every name regains its place.
    for (auto it = removed.rbegin(); it != removed.rend(); ++it) {
        auto* combo =
            dynamic_cast<TComboBox*>(EditsPanel->Rows[static_cast<size_t>(it->row)].value);
        const int selected = combo->ItemIndex();
        combo->Items().Insert(it->index, it->name);
        if (selected >= it->index) combo->SetItemIndex(selected + 1);
    }
    EditsPanel->Hide();
    EditsPanel->SetAlign(alNone);
    EditsPanel->SetParent(Inner);
    EditsPanel->SetButtons(Buttons);
    if (!add) {
        EditsPanel->ValueWidth = valueWidth;
        EditsPanel->ArrangeRows(true);
    }
    // The constraint must not be left with the dialog as a dangling owner.
    Group->SetConstraintOwner(previousOwner);
    dialogPanel_ = nullptr;
    dialog_ = nullptr;
    delete dialog;
    if (lateReply) {
        // The abandoned read's reply is due by its time-out: take it in
        // unwanted, then the request may work again.
        QvWaitWhile([this] { return Group->request.Outstanding > 0; },
                    QvReplyBoundMs(Group->request));
        ProcessMessages();
        Group->busy = 0;
        Group->request.Alive = 1;
    }
    RefreshList(nullptr);
}

void TSNMPListViewPanel::DeleteRow(TObject*) {
    if (!Group || ListPanel->DeleteColumn < 0) return;
    if (!ListPanel->ListView->Selected()) return;
    if (MessageBox(HostForm, "Are you sure to delete ?", "Delete", MB_YESNO) != IDYES) return;
    QvSNMPVarList& vars = Group->request.vars;
    const std::uint8_t mode = Group->mode;
    Group->mode = 0;
    std::vector<int> excluded;
    for (int r = 0; r < vars.Count(); ++r) {
        QvSNMPVar* v = vars.Item(r);
        if (EditsPanel->IsIndexRow(r) || r == ListPanel->DeleteColumn) continue;
        if (v->Access & QvAccess::Invalid) continue;
        v->Access |= QvAccess::Invalid;
        excluded.push_back(r);
    }
    RunReporting(Group, [&] {
        Group->CollectValues();
        *vars.Item(ListPanel->DeleteColumn)->Value = ListPanel->DeleteStatus;
        Group->Write(false, false, "", nullptr);
    });
    for (int r : excluded)
        vars.Item(r)->Access &= ~QvAccess::Invalid;
    RefreshList(nullptr); // still synchronous
    Group->mode = mode;
}
