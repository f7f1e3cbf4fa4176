#include "forms/admin/TFM_Misc.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "mib/MiscVars.h"
#include "ui/Application.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>
#include <memory>

void TFM_Misc::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_Misc>("TFM_Misc");
}

TFM_Misc::TFM_Misc(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Misc", .caption = "Tools \\ Misc.", .clientWidth = 290,
              .clientHeight = 160});

    GB_Telnet = new TGroupBox(this);
    GB_Telnet->SetName("GB_Telnet");
    GB_Telnet->SetCaption("Telnet");
    GB_Telnet->SetBounds(12, 8, 266, 88);
    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetParent(GB_Telnet);
    Label1->SetCaption("Status");
    Label1->SetBounds(16, 26, 70, 16);
    CB_Status = new TComboBox(this);
    CB_Status->SetName("CB_Status");
    CB_Status->SetParent(GB_Telnet);
    CB_Status->SetBounds(100, 22, 150, 22);
    Label2 = new TLabel(this);
    Label2->SetName("Label2");
    Label2->SetParent(GB_Telnet);
    Label2->SetCaption("Timeout");
    Label2->SetBounds(16, 56, 70, 16);
    CB_Timeout = new TComboBox(this);
    CB_Timeout->SetName("CB_Timeout");
    CB_Timeout->SetParent(GB_Telnet);
    CB_Timeout->SetBounds(100, 52, 150, 22);

    Bt_Rfresh = new TButton(this);
    Bt_Rfresh->SetName("Bt_Rfresh");
    Bt_Rfresh->SetCaption("Refresh");
    Bt_Rfresh->SetBounds(104, 104, 80, 25);
    Bt_Rfresh->OnClick = [this](TObject* s) { Bt_RfreshClick(s); };
    Bt_Apply = new TButton(this);
    Bt_Apply->SetName("Bt_Apply");
    Bt_Apply->SetCaption("Apply");
    Bt_Apply->SetBounds(196, 104, 80, 25);
    Bt_Apply->OnClick = [this](TObject* s) { Bt_ApplyClick(s); };

    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    // Set before the binding takes the combo over: it chains behind.
    CB_Status->OnChange = [this](TObject* s) { CB_StatusChange(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_Misc::~TFM_Misc() { Request.reset(); }

void TFM_Misc::FormCreate(TObject*) {
    Request = std::make_unique<QvSNMPRequest2Edits>(this);
    Request->request.vars = QvSNMPVarList(mib::miscConsoleTable, SVT_SV, 0);
    Request->mode = 0;
    Request->AssociateComboBox(0, CB_Status);
    Request->AssociateComboBox(1, CB_Timeout);
    Request->SetStatusBar(StatusBar);
    ReadConsole();
}

void TFM_Misc::ReadConsole() {
    try {
        Request->Read();
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
    }
    ApplyTimeoutRule();
}

void TFM_Misc::ApplyTimeoutRule() {
    // An unread console stays greyed: its choices hold nothing of the device.
    CB_Timeout->SetEnabled(Request->ReadSucceeded() && CB_Status->Text() != "Disable");
}

void TFM_Misc::Bt_RfreshClick(TObject*) { ReadConsole(); }

void TFM_Misc::CB_StatusChange(TObject*) { ApplyTimeoutRule(); }

void TFM_Misc::Bt_ApplyClick(TObject*) {
    if (writes_.Running()) return;
    // With nothing read there is nothing to send: no dialog may claim the
    // device saved anything.
    if (CB_Status->ItemIndex() < 0 && CB_Timeout->ItemIndex() < 0) {
        StatusBar->SetSimpleText("Setting Error!");
        return;
    }
    writes_.Add(Request.get());
    writes_.Start([this](bool ok, const QvSNMPError&) {
        if (!ok) {
            StatusBar->SetSimpleText("Setting Error!");
            return;
        }
        TFM_Waiting::Run();
    });
}
