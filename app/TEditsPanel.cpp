#include "app/TEditsPanel.h"

#include "app/TCtrlBtnPanel.h"
#include "base/Exception.h"
#include "base/SysUtils.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "ui/Dialogs.h"

#include <QFrame>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kFirstTop = 20;
constexpr int kMinValueHeight = 20;
constexpr int kRaisedValueHeight = 21;
constexpr int kRowGap = 5;
constexpr int kCheckLeft = 20;
constexpr int kCheckWidth = 20;
constexpr int kGap = 5;
constexpr int kMargin = 40;

} // namespace

TEditsPanel::TEditsPanel(TWinControl* owner, QvSNMPRequest2Edits* group)
    : TPanel(owner), Group(group) {
    SetBevelOuter(bvNone);
    Box = new TScrollBox(this);
    Box->SetAlign(alClient);
    // The scrolled area follows the box, so a larger box earlier leaves no scroll bars.
    Box->OnResize = [this](TObject*) { FitScrollArea(); };
    if (Group) BuildRows();
}

bool TEditsPanel::IsIndexRow(int r) const {
    return Group && static_cast<std::uint32_t>(r) < Group->request.vars.PKeyCount;
}

void TEditsPanel::BuildRows() {
    const QvSNMPVarList& vars = Group->request.vars;
    Rows.clear();
    for (int r = 0; r < vars.Count(); ++r) {
        const QvSNMPVar* v = vars.Item(r);
        PanelRow row;
        if (v->OptionList)
            row.kind = vars.IsWritable(r) ? 3 : 4;
        else
            row.kind = vars.IsWritable(r) ? 2 : 1;
        row.format = "%s";
        row.check = new TCheckBox(this);
        row.check->SetParent(Box);
        row.check->SetCaption("");
        row.check->SetWidth(kCheckWidth);
        row.check->SetTabStop(false);
        row.check->SetTag(r);
        row.check->OnClick = [this](TObject* sender) { CheckBoxClick(sender); };
        row.label = new TLabel(this);
        row.label->SetParent(Box);
        row.label->SetAutoSize(true);
        row.label->SetCaption(v->Label ? v->Label : "");
        row.label->SetTag(r);
        if (row.kind == 3) {
            auto* combo = new TComboBox(this);
            combo->SetParent(Box);
            combo->SetTag(r);
            row.value = combo;
            Rows.push_back(row);
            Group->AssociateComboBox(r, combo);
        } else {
            auto* edit = new TEdit(this);
            edit->SetParent(Box);
            edit->SetTag(r);
            row.value = edit;
            Rows.push_back(row);
            Group->AssociateEdits(r, row.format, edit);
        }
    }
    SetRowsEditable(DefaultCheck);
    for (int r = 0; r < RowCount(); ++r)
        if (vars.Item(r)->Access & QvAccess::Hidden) HideRow(r);
    ArrangeRows(true);
}

void TEditsPanel::SetRowsEditable(std::uint8_t checked) {
    DefaultCheck = checked;
    for (int r = 0; r < RowCount(); ++r) {
        if (!IsReadOnlyRow(r) && !IsIndexRow(r))
            MakeRowWritable(r);
        else
            MakeRowReadOnly(r);
    }
}

void TEditsPanel::MakeRowReadOnly(int r) {
    if (r < 0 || r >= RowCount()) {
        MessageDlg("aIdx is overtop!\n you may define < " + IntToStr(RowCount()), mtError, mbOK);
        return;
    }
    PanelRow& row = Rows[static_cast<size_t>(r)];
    row.writableLook = false;
    row.check->SetEnabled(false);
    row.check->Hide();
    row.check->SetChecked(false);
    if (auto* edit = dynamic_cast<TEdit*>(row.value)) {
        edit->SetReadOnly(true);
        edit->SetTabStop(false);
    } else {
        row.value->SetEnabled(false);
    }
    row.value->Font().SetColor(ReadOnlyFontColor);
    row.value->SetColor(ReadOnlyColor);
}

void TEditsPanel::MakeRowWritable(int r) {
    if (r < 0 || r >= RowCount()) {
        MessageDlg("aIdx is overtop!\n you may define < " + IntToStr(RowCount()), mtError, mbOK);
        return;
    }
    PanelRow& row = Rows[static_cast<size_t>(r)];
    row.writableLook = true;
    row.check->SetEnabled(true);
    // A row hidden by its flag stays out of sight until it is shown again.
    const bool hidden = Group && (Group->request.vars.Item(r)->Access & QvAccess::Hidden);
    row.check->SetVisible(!hidden);
    row.check->SetChecked(DefaultCheck != 0);
    if (auto* edit = dynamic_cast<TEdit*>(row.value)) {
        edit->SetReadOnly(false);
        edit->SetTabStop(true);
        edit->SetMaxLength(kMaxWritableLength);
    } else {
        row.value->SetEnabled(true);
    }
    row.value->Font().SetColor(clBlack);
    row.value->SetColor(clWhite);
}

void TEditsPanel::FitScrollArea() {
    // The box's own viewport is not resized yet when it hears of a resize:
    // size the scrolled area from the box and the rows instead.
    auto* frame = qobject_cast<QFrame*>(Box->Widget());
    QWidget* inner = Box->ClientWidget();
    if (!frame || !inner) return;
    int w = Box->Width() - 2 * frame->frameWidth();
    int h = Box->Height() - 2 * frame->frameWidth();
    for (const PanelRow& row : Rows)
        for (TControl* c : {static_cast<TControl*>(row.check), static_cast<TControl*>(row.label),
                            static_cast<TControl*>(row.value)})
            if (c->Visible()) {
                w = std::max(w, c->Left() + c->Width());
                h = std::max(h, c->Top() + c->Height());
            }
    inner->resize(std::max(w, 0), std::max(h, 0));
}

void TEditsPanel::ArrangeRows(bool resize) {
    int widestLabel = 0;
    for (const PanelRow& row : Rows)
        widestLabel = std::max(widestLabel, row.label->Width());
    const int labelLeft = kCheckLeft + kCheckWidth + kGap;
    const int valueLeft = widestLabel + labelLeft + kGap;
    int y = kFirstTop;
    int right = 0, bottom = 0;
    for (int r = 0; r < RowCount(); ++r) {
        if (Group && (Group->request.vars.Item(r)->Access & QvAccess::Hidden)) continue;
        PanelRow& row = Rows[static_cast<size_t>(r)];
        row.value->SetWidth(ValueWidth);
        if (row.value->Height() < kMinValueHeight) row.value->SetHeight(kRaisedValueHeight);
        const int h = row.value->Height();
        row.value->SetTop(y);
        row.check->SetTop(y + (h - row.check->Height()) / 2);
        row.label->SetTop(y + (h - row.label->Height()) / 2);
        row.check->SetLeft(kCheckLeft);
        row.label->SetLeft(kCheckLeft + row.check->Width() + kGap);
        row.value->SetLeft(valueLeft);
        right = std::max(right, row.value->Left() + row.value->Width());
        bottom = std::max(bottom, row.value->Top() + h);
        y += h + kRowGap;
    }
    FitScrollArea();
    if (resize) {
        SetAlign(alNone);
        SetWidth(right + kMargin);
        SetHeight(bottom + kMargin);
    }
}

void TEditsPanel::ArrangeCtrlBtn(TCtrlBtnPanel* buttons) {
    if (!Group) throw Exception("TEditsPanel:ArrangeCtrlBtn - EditCtrl is NULL!");
    buttons_ = buttons;
    for (TControl* c : {static_cast<TControl*>(buttons->RefreshBtn),
                        static_cast<TControl*>(buttons->SetCheckedBtn),
                        static_cast<TControl*>(buttons->CheckAllBtn),
                        static_cast<TControl*>(buttons->ClearChecksBtn),
                        static_cast<TControl*>(buttons->CloseBtn)})
        c->Show();
    for (TControl* c :
         {static_cast<TControl*>(buttons->Counter), static_cast<TControl*>(buttons->SamplesLabel),
          static_cast<TControl*>(buttons->EditBtn), static_cast<TControl*>(buttons->AddBtn),
          static_cast<TControl*>(buttons->DeleteBtn)})
        c->Hide();
    bool anyEditable = false;
    for (int r = 0; r < RowCount(); ++r)
        if (!IsReadOnlyRow(r) && !IsIndexRow(r)) anyEditable = true;
    if (!anyEditable) {
        buttons->SetCheckedBtn->Hide();
        buttons->CheckAllBtn->Hide();
        buttons->ClearChecksBtn->Hide();
    } else {
        int usable = 0;
        for (const PanelRow& row : Rows)
            usable += row.check->Visible() && row.check->Enabled();
        if (usable <= 1) {
            // One value to write: a plain "Set" and no check boxes.
            buttons->CheckAllBtn->Hide();
            buttons->ClearChecksBtn->Hide();
            if (!buttons->SetCheckedBtn->HasGlyph()) buttons->SetCheckedBtn->SetCaption("Set");
            buttons->SetCheckedBtn->SetEnabled(true);
            int checked = 0;
            for (const PanelRow& row : Rows)
                if (row.check->Visible() && row.check->Enabled()) {
                    row.check->SetChecked(true);
                    ++checked;
                }
            if (checked <= 1)
                for (const PanelRow& row : Rows)
                    row.check->Hide();
        } else {
            buttons->SetCheckedBtn->SetEnabled(AnyShownChecked());
        }
    }
    buttons->ArrangeButtons();
}

bool TEditsPanel::AnyShownChecked() const {
    for (const PanelRow& row : Rows)
        if (row.check->Visible() && row.check->Checked()) return true;
    return false;
}

void TEditsPanel::CheckBoxClick(TObject*) {
    if (buttons_) buttons_->SetCheckedBtn->SetEnabled(AnyShownChecked());
}

void TEditsPanel::ClearRows() {
    for (int r = 0; r < RowCount(); ++r) {
        PanelRow& row = Rows[static_cast<size_t>(r)];
        if (auto* edit = dynamic_cast<TEdit*>(row.value))
            edit->SetText("");
        else if (auto* combo = dynamic_cast<TComboBox*>(row.value))
            combo->SetItemIndex(-1);
        if (Group) *Group->request.vars.Item(r)->Value = "";
    }
}

void TEditsPanel::HideRow(int r) {
    if (r < 0 || r >= RowCount()) return;
    if (Group) Group->request.vars.Item(r)->Access |= QvAccess::Hidden;
    PanelRow& row = Rows[static_cast<size_t>(r)];
    row.check->Hide();
    row.label->Hide();
    row.value->Hide();
}

void TEditsPanel::ShowRow(int r) {
    if (r < 0 || r >= RowCount()) return;
    if (Group) Group->request.vars.Item(r)->Access &= ~QvAccess::Hidden;
    PanelRow& row = Rows[static_cast<size_t>(r)];
    row.check->SetVisible(row.writableLook);
    row.label->Show();
    row.value->Show();
}
