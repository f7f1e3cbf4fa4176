#include "app/TSNMPPanel.h"

#include "app/TCtrlBtnPanel.h"
#include "app/TEditsPanel.h"
#include "app/TMsgPanel.h"
#include "base/Exception.h"
#include "binding/QvFailureCapture.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"

#include <algorithm>
#include <exception>
#include <vector>

bool TSNMPPanel::RunReporting(QvSNMPRequest2Edits* group, const std::function<void()>& operation) {
    bool ok = true;
    std::string raised;
    QvSNMPError reported;
    {
        QvFailureCapture capture(group->request);
        try {
            operation();
        } catch (const std::exception& e) {
            ok = false;
            raised = MessageOf(e);
        }
        reported = capture.First();
    }
    if (!ok)
        group->ReportToStatusBar(raised);
    else if (reported.Code != 0)
        group->ReportToStatusBar(reported.Message);
    return ok && reported.Code == 0;
}

TSNMPPanel::TSNMPPanel(TWinControl* owner, TMsgPanel* sharedMsg, QvSNMPRequest2Edits* group)
    : TPanel(owner), Group(group) {
    SetBevelOuter(bvNone);
    Buttons = new TCtrlBtnPanel(this);
    Splitter = new TSplitter(this);
    Splitter->SetAlign(alRight);
    Inner = new TPanel(this);
    Inner->SetBevelOuter(bvNone);
    Inner->SetAlign(alClient);
    Splitter2 = new TSplitter(this);
    Splitter2->SetParent(Inner);
    Splitter2->SetHeight(5);
    if (sharedMsg) {
        Msg = sharedMsg;
    } else {
        Msg = new TMsgPanel(Inner);
        Msg->SetAlign(alBottom);
        ownMsg_ = true;
    }
    Splitter2->SetAlign(alBottom);
    if (Group) {
        Group->SetStatusBar2(Msg->Memo);
        // An asynchronous read hands its failure to the done closure only;
        // the dialog panels share the memo and the report.
        if (ownMsg_) {
            QvSNMPDoneEvent previous = Group->OnReadDone;
            Group->OnReadDone = [previous](QvSNMPRequest2Controls* sender, QvSNMPError* error) {
                if (error && error->Code != 0) sender->ReportToStatusBar(error->Message);
                if (previous) previous(sender, error);
            };
        }
    }
    Buttons->RefreshBtn->OnClick = [this](TObject*) { Refresh(); };
    Buttons->CloseBtn->OnClick = [this](TObject* s) { CloseHostForm(s); };
    SetWidth(0);
    SetHeight(0);
}

void TSNMPPanel::Refresh() {
    if (!Group) return;
    if (Group->mode == 0)
        RunReporting(Group, [this] { Group->Read(); });
    else
        Group->Read();
}

void TSNMPPanel::SetValues(TObject* sender) {
    TEditsPanel* edits = Edits();
    if (!Group || !edits) return;
    QvSNMPVarList& vars = Group->request.vars;
    const std::uint8_t mode = Group->mode;
    Group->mode = 0;
    std::vector<int> excluded;
    bool empty = false;
    const bool ok = RunReporting(Group, [&] {
        Group->CollectValues();
        for (int r = 0; r < vars.Count() && r < edits->RowCount(); ++r) {
            QvSNMPVar* v = vars.Item(r);
            const PanelRow& row = edits->Rows[static_cast<size_t>(r)];
            // Only the flags added here are taken away again afterwards.
            if (!row.check->Checked() && !(v->Access & QvAccess::Invalid)) {
                v->Access |= QvAccess::Invalid;
                excluded.push_back(r);
            }
            if (!(v->Access & QvAccess::Invalid) && row.value->Text().empty()) empty = true;
        }
        if (empty)
            MessageBox(HostForm, "Some items are empty!", "Warning", MB_OK);
        else
            Group->Write(false, false, "", nullptr);
    });
    for (int r : excluded)
        vars.Item(r)->Access &= ~QvAccess::Invalid;
    Group->mode = mode;
    auto* control = dynamic_cast<TControl*>(sender);
    // A dialog whose set failed stays open, so the values can be put right.
    if (!empty && ok && control && control->Tag() == 1) {
        if (TForm* form = control->ParentForm()) form->Close();
    }
}

void TSNMPPanel::CheckAll(TObject*) {
    TEditsPanel* edits = Edits();
    if (!edits) return;
    // A row out of sight is not picked up by a check of everything.
    for (const PanelRow& row : edits->Rows)
        if (row.check->Enabled() && row.check->Visible()) row.check->SetChecked(true);
    Buttons->SetCheckedBtn->SetEnabled(edits->AnyShownChecked());
    if (edits->Buttons() && edits->Buttons() != Buttons)
        edits->Buttons()->SetCheckedBtn->SetEnabled(edits->AnyShownChecked());
}

void TSNMPPanel::ClearChecks(TObject*) {
    TEditsPanel* edits = Edits();
    if (!edits) return;
    for (const PanelRow& row : edits->Rows)
        if (row.check->Enabled()) row.check->SetChecked(false);
    Buttons->SetCheckedBtn->SetEnabled(edits->AnyShownChecked());
    if (edits->Buttons() && edits->Buttons() != Buttons)
        edits->Buttons()->SetCheckedBtn->SetEnabled(edits->AnyShownChecked());
}

void TSNMPPanel::SetLabelWidth(int width) {
    TEditsPanel* edits = Edits();
    if (!edits) return;
    edits->ValueWidth = width;
    edits->ArrangeRows(true);
    // Aligned to its form the panel would keep the form's size.
    SetAlign(alNone);
    if (Content) SetContent(Content);
    if (HostForm) AttachToForm(HostForm);
}

void TSNMPPanel::SetContent(TControl* c) {
    if (Content && Content != c) {
        Content->Hide();
        Content->SetAlign(alNone);
    }
    if (!c) return;
    c->SetAlign(alNone);
    c->SetParent(Inner);
    c->Show();
    Content = c;
    SetWidth(c->Width() + Buttons->Width() + Splitter->Width() + 3);
    const int msgHeight = ownMsg_ ? Msg->Height() : 0;
    const int buttonsHeight = std::max(Buttons->Height(), Buttons->StackHeight());
    SetHeight(std::max(c->Height() + msgHeight + Splitter2->Height(), buttonsHeight));
    c->SetAlign(alClient);
}

void TSNMPPanel::AttachToForm(TForm* form) {
    if (!form) return;
    SetAlign(alNone);
    HostForm = form;
    if (Parent() != form) SetParent(form);
    form->SetPosition(poMainFormCenter);
    if (form->ClientWidth() < Width()) form->SetClientWidth(Width());
    if (form->ClientHeight() < Height()) form->SetClientHeight(Height());
    if (form->ClientWidth() > kMaxFormWidth) form->SetClientWidth(kMaxFormWidth);
    if (form->ClientHeight() > kMaxFormHeight) form->SetClientHeight(kMaxFormHeight);
    SetAlign(alClient);
}

void TSNMPPanel::CloseHostForm(TObject*) {
    try {
        if (HostForm) HostForm->Close();
    } catch (const std::exception&) {
        MessageDlg("Please initial close form", mtError, mbOK);
    }
}
