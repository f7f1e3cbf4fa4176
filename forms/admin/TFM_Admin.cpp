#include "forms/admin/TFM_Admin.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/admin/LoginChecks.h"
#include "mib/AdminVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>
#include <memory>

namespace {

constexpr int kLoginFieldLength = 12;
const LoginRules kRules{40, "Please limit user name to 40 characters!", false};

TEdit* LabelledEdit(TForm* form, const char* labelName, TLabel** label, const char* caption,
                    const char* name, int top, bool masked) {
    *label = NewLabel(form, form, caption, 16, top + 4, labelName);
    auto* e = NewControl<TEdit>(form, form, name, 164, top, 150, 21);
    if (masked) e->SetPasswordChar('*');
    return e;
}

} // namespace

void TFM_Admin::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_Admin>("TFM_Admin");
}

TFM_Admin::TFM_Admin(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Admin", .caption = "Tools \\ Admin", .clientWidth = 330,
              .clientHeight = 190});

    Ed_Usr = LabelledEdit(this, "Label1", &Label1, "User Name", "Ed_Usr", 12, false);
    Ed_OPwd = LabelledEdit(this, "Label2", &Label2, "Old Password", "Ed_OPwd", 40, true);
    Ed_NPwd = LabelledEdit(this, "Label3", &Label3, "New Password", "Ed_NPwd", 68, true);
    Ed_CNP = LabelledEdit(this, "Label4", &Label4, "Confirm New Password", "Ed_CNP", 96, true);
    Ed_Pwd = new TEdit(this);
    Ed_Pwd->SetName("Ed_Pwd");
    Ed_Pwd->SetVisible(false);

    OK = new TButton(this);
    OK->SetName("OK");
    OK->SetCaption("OK");
    OK->SetBounds(148, 132, 80, 25);
    OK->OnClick = [this](TObject* s) { OKClick(s); };
    Cancel = new TButton(this);
    Cancel->SetName("Cancel");
    Cancel->SetCaption("Cancel");
    Cancel->SetBounds(234, 132, 80, 25);
    Cancel->OnClick = [this](TObject* s) { CancelClick(s); };

    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_Admin::~TFM_Admin() { Request.reset(); }

void TFM_Admin::FormCreate(TObject*) {
    Request = std::make_unique<QvSNMPRequest2Edits>(this);
    Request->request.vars = QvSNMPVarList(mib::adminLoginTable, SVT_SV, 0);
    Request->mode = 0;
    Request->AssociateEdits(0, "%s", Ed_Usr);
    Request->AssociateEdits(1, "%s", Ed_Pwd);
    Request->SetStatusBar(StatusBar);
    try {
        Request->Read();
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
    }
    for (TEdit* e : {Ed_Usr, Ed_OPwd, Ed_NPwd, Ed_CNP})
        e->SetMaxLength(kLoginFieldLength);
    // Without the login read an empty old password would match an empty
    // one: nothing here can be changed until the form opens again.
    if (!Request->ReadSucceeded())
        for (TControl* c : {static_cast<TControl*>(Ed_OPwd), static_cast<TControl*>(Ed_NPwd),
                            static_cast<TControl*>(Ed_CNP), static_cast<TControl*>(OK)})
            c->SetEnabled(false);
}

void TFM_Admin::OKClick(TObject*) {
    if (writes_.Running()) return;
    // After a failed read the write below is refused with that read's
    // failure; the checks would only compare empty texts.
    if (Request->ReadSucceeded() &&
        !CheckLogin(this, {Ed_Usr, Ed_OPwd, Ed_NPwd, Ed_CNP}, Ed_Pwd->Text(), kRules))
        return;
    // A failed write leaves the device's password as it was; so must the
    // old-password check of the next try.
    const std::string current = Ed_Pwd->Text();
    Ed_Pwd->SetText(Ed_NPwd->Text());
    writes_.Add(Request.get());
    writes_.Start([this, current](bool ok, const QvSNMPError&) {
        if (!ok) {
            Ed_Pwd->SetText(current);
            StatusBar->SetSimpleText("Setting Error!");
            return;
        }
        TFM_Waiting::Run();
    });
}

void TFM_Admin::CancelClick(TObject*) { Close(); }
