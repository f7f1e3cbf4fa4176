#include "forms/wireless/TFM_Group.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvFailureCapture.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/wireless/FormParts.h"
#include "mib/GroupVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Graphics.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>

namespace {


// A user limit as typed: digits only, 0 to 64.
bool ValidUserLimit(const std::string& text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return std::stol(text) <= 64;
}

} // namespace

void TFM_Group::RegisterOpener() { TMainForm::RegisterModalForm<TFM_Group>("TFM_Group"); }

TFM_Group::TFM_Group(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Group", .caption = "Advanced \\ Grouping", .clientWidth = 400,
              .clientHeight = 230});

    La_Heading = NewControl<TLabel>(this, this, "La_Heading", 16, 12, 330, 16,
                                    "AP Grouping Settings:(For AP Mode Only)");
    NewLabel(this, this, "Load Balance", 24, 44);
    CB_LoadB = NewControl<TComboBox>(this, this, "CB_LoadB", 190, 40, 186, 22);
    CB_LoadB->SetStyle(csDropDownList);
    NewLabel(this, this, "User Limit (0-64)", 24, 74);
    Ed_UsrL = NewControl<TEdit>(this, this, "Ed_UsrL", 190, 70, 186, 21);
    NewLabel(this, this, "Link Integrate", 24, 104);
    CB_LinkInt = NewControl<TComboBox>(this, this, "CB_LinkInt", 190, 100, 186, 22);
    CB_LinkInt->SetStyle(csDropDownList);
    NewLabel(this, this, "Ethernet Link Status", 24, 134);
    Ed_EthLS = NewControl<TEdit>(this, this, "Ed_EthLS", 190, 130, 186, 21);
    Ed_EthLS->SetReadOnly(true);
    Ed_EthLS->SetColor(clBtnFace);
    CB_APMode = NewControl<TComboBox>(this, this, "CB_APMode", 0, 0, 10, 10);
    CB_APMode->Hide();

    Bt_Apply = NewControl<TButton>(this, this, "Bt_Apply", 24, 168, 90, 25, "Apply");
    Bt_Refresh = NewControl<TButton>(this, this, "Bt_Refresh", 155, 168, 90, 25, "Refresh");
    Bt_Cancel = NewControl<TButton>(this, this, "Bt_Cancel", 286, 168, 90, 25, "Cancel");
    Bt_Apply->OnClick = [this](TObject* s) { Bt_ApplyClick(s); };
    Bt_Refresh->OnClick = [this](TObject* s) { Bt_RefreshClick(s); };
    Bt_Cancel->OnClick = [this](TObject* s) { Bt_CancelClick(s); };
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    // Set before the binding takes the combo over: it chains behind.
    CB_LoadB->OnChange = [this](TObject* s) { CB_LoadBChange(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_Group::~TFM_Group() {
    SettingsRequest.reset();
    ApModeRequest.reset();
}

void TFM_Group::FormCreate(TObject*) {
    SettingsRequest = std::make_unique<QvSNMPRequest2Edits>(this);
    SettingsRequest->request.vars = QvSNMPVarList(mib::groupSettingsTable, SVT_SV, 0);
    SettingsRequest->request.vars.Name = "Grouping";
    SettingsRequest->mode = 0;
    SettingsRequest->AssociateComboBox(0, CB_LoadB);
    SettingsRequest->AssociateEdits(1, "%u", Ed_UsrL);
    SettingsRequest->AssociateComboBox(2, CB_LinkInt);
    SettingsRequest->AssociateEdits(3, "%s", Ed_EthLS);
    SettingsRequest->SetStatusBar(StatusBar);

    ApModeRequest = std::make_unique<QvSNMPRequest2Edits>(this);
    ApModeRequest->request.vars = QvSNMPVarList(mib::groupApModeTable, MVT_SV, 0);
    ApModeRequest->request.vars.Name = "AP Mode";
    ApModeRequest->request.vars.Item(0)->OptionList =
        TMainForm::FieldAsInt(MainForm ? MainForm->ApmodeStringChangeSupport : nullptr) == 1
            ? &mib::groupApModeNewNamesList
            : &mib::groupApModeOldNamesList;
    ApModeRequest->mode = 0;
    ApModeRequest->AssociateComboBox(0, CB_APMode);
    // Both groups exist even when a read fails, so that Refresh can try again.
    ReadAll();
    Ed_UsrL->SetMaxLength(2);
    UpdateControls();
}

void TFM_Group::UpdateControls() {
    const bool apMode = CB_APMode->ItemIndex() == 0;
    // Settings the device did not give stay greyed whatever the mode.
    const bool read = SettingsRequest && !SettingsRequest->ReadFailed();
    for (TComboBox* c : {CB_LoadB, CB_LinkInt}) {
        c->SetEnabled(apMode && read);
        c->SetColor(apMode ? clWindow : clBtnFace);
    }
    if (CB_LoadB->ItemIndex() == 1) {
        Ed_UsrL->SetReadOnly(false);
        Ed_UsrL->SetColor(clWindow);
    } else if (CB_LoadB->ItemIndex() == 0) {
        Ed_UsrL->SetReadOnly(true);
        Ed_UsrL->SetColor(clBtnFace);
    }
}

void TFM_Group::CB_LoadBChange(TObject*) { UpdateControls(); }

void TFM_Group::Bt_ApplyClick(TObject*) {
    if (writes_.Running() || !SettingsRequest) return;
    if (Ed_UsrL->Text().empty()) Ed_UsrL->SetText("0");
    if (!ValidUserLimit(Ed_UsrL->Text())) {
        MessageBox(this, "Please input a number between 0 and 64.", "Error",
                   MB_OK | MB_ICONERROR);
        Ed_UsrL->Clear();
        return;
    }
    writes_.Add(SettingsRequest.get(), true);
    writes_.Start([this](bool ok, const QvSNMPError&) {
        if (!ok) {
            StatusBar->SetSimpleText("Setting Error!");
            return;
        }
        StatusBar->SetSimpleText("Setting OK!");
        TFM_Waiting::Run([](TFM_Waiting& w) { w.RebootDelayTicks = 5; });
    });
}

void TFM_Group::ReadAll() {
    // Each group is read even when the other failed; the first failure shows.
    std::string failure;
    for (QvSNMPRequest2Edits* g : {SettingsRequest.get(), ApModeRequest.get()}) {
        try {
            if (g) QvReadOrRaise(*g);
        } catch (const std::exception& e) {
            if (failure.empty()) failure = e.what();
        }
    }
    if (!failure.empty()) StatusBar->SetSimpleText(failure);
}

void TFM_Group::Bt_RefreshClick(TObject*) {
    if (writes_.Running()) return;
    ReadAll();
    UpdateControls();
}

void TFM_Group::Bt_CancelClick(TObject*) { Close(); }
