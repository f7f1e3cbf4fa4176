#include "forms/wireless/TFM_RogueForm.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "base/SysUtils.h"
#include "binding/QvFailureCapture.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "forms/wireless/FormParts.h"
#include "mib/RogueVars.h"
#include "snmp/QvSession.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/Timer.h"
#include "ui/Widgets.h"

#include <exception>

namespace {


constexpr int kTimeout = 1000; // hundredths of a second
constexpr int kMaxListed = 30;
constexpr unsigned kDetectWaitMs = 1000;

// A synchronous write; false with the failure's text.
bool WriteNow(QvSNMPRequest2Edits* group, std::string* failure) {
    try {
        QvFailureCapture capture(group->request);
        if (group->Write(true, true, "", nullptr)) return true;
        *failure = capture.Text();
    } catch (const std::exception& e) {
        *failure = e.what();
    }
    return false;
}

TPanel* Plain(TForm* form, TWinControl* parent, const char* name, int l, int t, int w, int h) {
    TPanel* p = NewControl<TPanel>(form, parent, name, l, t, w, h);
    p->SetBevelOuter(bvNone);
    return p;
}

TListView* Listing(TForm* form, TWinControl* parent, const char* name) {
    TListView* lv = NewControl<TListView>(form, parent, name, 8, 16, 449, 132);
    lv->SetViewStyle(vsReport);
    for (const char* caption : {"Type", "CH", "BSSID", "Security", "Mode", "SSID"})
        lv->Columns().Add()->SetCaption(caption);
    return lv;
}

std::unique_ptr<QvSNMPRequest2Edits> NewGroup(TFM_RogueForm* form, const QvSNMPVar* table,
                                              uint8_t kind, uint32_t keys, uint8_t mode,
                                              const char* name) {
    auto g = std::make_unique<QvSNMPRequest2Edits>(form);
    g->request.vars = QvSNMPVarList(table, kind, keys);
    g->request.vars.Name = name;
    g->mode = mode;
    if (mode == 1) g->request.Timeout = kTimeout;
    return g;
}

} // namespace

void TFM_RogueForm::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_RogueForm>("TFM_RogueForm");
}

TFM_RogueForm::TFM_RogueForm(TComponent* owner) : TForm(owner) {
    // Wide enough for the longest security kind in its quarter of the row.
    SetFrame({.name = "RogueForm", .caption = "Advanced\\Rogue AP", .border = bsSizeable,
              .clientWidth = 660, .clientHeight = 640});

    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetAlign(alBottom);
    StatusBar1->Panels().Add()->SetWidth(50);
    StatusBar1->SetSimplePanel(false);

    Panel_Bottom = Plain(this, this, "Panel_Bottom", 0, 580, 495, 40);
    Panel_Bottom->SetAlign(alBottom);
    Lab_RogueAP = NewControl<TLabel>(this, Panel_Bottom, "Lab_RogueAP", 12, 12, 120, 16,
                                     "Rogue AP Protection ");
    CB_RogueAP = NewControl<TComboBox>(this, Panel_Bottom, "CB_RogueAP", 150, 8, 100, 22);
    CB_RogueAP->SetStyle(csDropDownList);
    Apply_Btn = NewControl<TButton>(this, Panel_Bottom, "Apply_Btn", 256, 7, 75, 25, "Apply");
    Cancel_Btn = NewControl<TButton>(this, Panel_Bottom, "Cancel_Btn", 381, 7, 75, 25, "Cancel");
    Apply_Btn->SetEnabled(false);
    Cancel_Btn->SetEnabled(false);
    CB_Radio = NewControl<TComboBox>(this, Panel_Bottom, "CB_Radio", 0, 0, 10, 10);
    CB_Radio->Hide();
    Ed_RogueSupport = NewControl<TEdit>(this, Panel_Bottom, "Ed_RogueSupport", 0, 0, 10, 10);
    Ed_RogueSupport->Hide();

    Panel_Top = Plain(this, this, "Panel_Top", 0, 0, 495, 580);
    Panel_Top->SetAlign(alClient);
    Panel_Inner = Plain(this, Panel_Top, "Panel_Inner", 11, 11, 472, 558);
    GB_Detection = NewControl<TGroupBox>(this, Panel_Inner, "GB_Detection", 0, 0, 472, 553,
                                         " Rogue AP Detection  ");
    Panel_Detect = Plain(this, GB_Detection, "Panel_Detect", 2, 16, 467, 534);

    BSSTypRadGrp =
        NewControl<TRadioGroup>(this, Panel_Detect, "BSSTypRadGrp", 1, 0, 465, 44, " BSS Type ");
    BSSTypRadGrp->SetColumns(4);
    for (const char* s : {"AP BSS", "Ad Hoc", "Both"}) BSSTypRadGrp->Items().Add(s);
    BSSTypRadGrp->SetItemIndex(0);

    GB_Band = NewControl<TGroupBox>(this, Panel_Detect, "GB_Band", 1, 46, 465, 44, "Band ");
    CheckBox_11a = NewControl<TCheckBox>(this, GB_Band, "CheckBox_11a", 8, 18, 100, 18, "11a");
    CheckBox_11a->Hide();
    CheckBox_11b = NewControl<TCheckBox>(this, GB_Band, "CheckBox_11b", 8, 18, 100, 18, "11b");
    CheckBox_11g = NewControl<TCheckBox>(this, GB_Band, "CheckBox_11g", 122, 18, 100, 18, "11g");
    BandEdit = NewControl<TEdit>(this, GB_Band, "BandEdit", 0, 0, 10, 10);
    BandEdit->Hide();

    GB_Security =
        NewControl<TGroupBox>(this, Panel_Detect, "GB_Security", 1, 92, 465, 66, "Security ");
    ChcBxo_off = NewControl<TCheckBox>(this, GB_Security, "ChcBxo_off", 8, 18, 110, 18, "OFF");
    ChcBxo_wep = NewControl<TCheckBox>(this, GB_Security, "ChcBxo_wep", 122, 18, 110, 18, "WEP");
    ChcBxo_eap =
        NewControl<TCheckBox>(this, GB_Security, "ChcBxo_eap", 236, 18, 112, 18, "WPA-Enterprise");
    ChcBxo_psk =
        NewControl<TCheckBox>(this, GB_Security, "ChcBxo_psk", 350, 18, 112, 18, "WPA-Personal  ");
    WPA2EAPCkBox =
        NewControl<TCheckBox>(this, GB_Security, "WPA2EAPCkBox", 8, 40, 112, 18, "WPA2-Enterprise");
    WPA2PSKCkBox = NewControl<TCheckBox>(this, GB_Security, "WPA2PSKCkBox", 122, 40, 112, 18,
                                         "WPA2-Personal ");
    WPA2AUTECkBox = NewControl<TCheckBox>(this, GB_Security, "WPA2AUTECkBox", 236, 40, 112, 18,
                                          "WPA-Auto-Enterprise");
    WPA2AUTPCkBox = NewControl<TCheckBox>(this, GB_Security, "WPA2AUTPCkBox", 350, 40, 112, 18,
                                          "WPA-Auto-Personal");
    SecEdit = NewControl<TEdit>(this, GB_Security, "SecEdit", 0, 0, 10, 10);
    SecEdit->Hide();

    GB_RogueList = NewControl<TGroupBox>(this, Panel_Detect, "GB_RogueList", 1, 160, 465, 185,
                                         "Rogue AP List");
    RogueListView = Listing(this, GB_RogueList, "RogueListView");
    DetectBtn = NewControl<TButton>(this, GB_RogueList, "DetectBtn", 201, 154, 75, 25, "Detect");
    AddBtn = NewControl<TButton>(this, GB_RogueList, "AddBtn", 289, 154, 75, 25, "Add");
    DelBtn = NewControl<TButton>(this, GB_RogueList, "DelBtn", 377, 154, 75, 25, "Del");
    AddBtn->SetEnabled(false);
    DelBtn->SetEnabled(false);
    DetectRogueCoBox = NewControl<TComboBox>(this, GB_RogueList, "DetectRogueCoBox", 0, 0, 10, 10);
    DetectRogueCoBox->Hide();
    AddCoBox = NewControl<TEdit>(this, GB_RogueList, "AddCoBox", 0, 0, 10, 10);
    AddCoBox->Hide();
    DelDetcetEdit = NewControl<TEdit>(this, GB_RogueList, "DelDetcetEdit", 0, 0, 10, 10);
    DelDetcetEdit->Hide();

    GB_APList = NewControl<TGroupBox>(this, Panel_Detect, "GB_APList", 1, 347, 465, 185, "AP List");
    AP_ListView = Listing(this, GB_APList, "AP_ListView");
    ListDelBtn = NewControl<TButton>(this, GB_APList, "ListDelBtn", 377, 154, 75, 25, "Del");
    ListDelBtn->SetEnabled(false);
    DelCoBox = NewControl<TEdit>(this, GB_APList, "DelCoBox", 0, 0, 10, 10);
    DelCoBox->Hide();

    DetectWaitTimer = new TTimer(this);
    DetectWaitTimer->SetEnabled(false);
    DetectWaitTimer->SetInterval(kDetectWaitMs);
    DetectWaitTimer->OnTimer = [this](TObject* s) { DetectWaitTimerTimer(s); };

    // Set before the bindings take the controls over: they chain behind.
    for (TCheckBox* c : {CheckBox_11a, CheckBox_11b, CheckBox_11g})
        c->OnClick = [this](TObject* s) { CheckBox_11aClick(s); };
    for (TCheckBox* c : {ChcBxo_off, ChcBxo_wep, ChcBxo_eap, ChcBxo_psk, WPA2EAPCkBox,
                         WPA2PSKCkBox, WPA2AUTECkBox, WPA2AUTPCkBox})
        c->OnClick = [this](TObject* s) { ChcBxo_offClick(s); };
    BSSTypRadGrp->OnClick = [this](TObject* s) { BSSTypRadGrpClick(s); };
    DetectBtn->OnClick = [this](TObject* s) { DetectBtnClick(s); };
    AddBtn->OnClick = [this](TObject* s) { AddBtnClick(s); };
    DelBtn->OnClick = [this](TObject* s) { DelBtnClick(s); };
    ListDelBtn->OnClick = [this](TObject* s) { ListDelBtnClick(s); };
    Apply_Btn->OnClick = [this](TObject* s) { Apply_BtnClick(s); };
    Cancel_Btn->OnClick = [this](TObject* s) { Cancel_BtnClick(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnClose = [this](TObject* s, TCloseAction& action) { FormClose(s, action); };
    OnResize = [this](TObject* s) { FormResize(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_RogueForm::~TFM_RogueForm() {
    DetectWaitTimer->SetEnabled(false);
    DetectWaitTimer->OnTimer = nullptr;
    ReleaseGroups();
}

void TFM_RogueForm::ReleaseGroups() {
    for (auto* g : {&RadioGroup, &MaskGroup, &DetectGroup, &AddGroup, &DelDetectGroup,
                    &ResultGroup, &DelListedGroup, &ListGroup, &SupportGroup, &ProtectionGroup})
        g->reset();
}

// --- creation ----------------------------------------------------------------------

void TFM_RogueForm::FormCreate(TObject*) {
    try {
        StartUp();
    } catch (const std::exception& e) {
        // The bar shows its panels, so a simple text would go unseen: the
        // failure goes where this form reports, and in a box, since the form
        // is only partly set up. It can still be closed.
        SetPanelText(e.what());
        MessageBox(this, e.what(), "Error", MB_OK | MB_ICONERROR);
        Cancel_Btn->SetEnabled(true);
    }
    // Masks the device did not give cannot be chosen: the boxes would show
    // and send values it never held.
    if (!MasksRead()) {
        BSSTypRadGrp->SetEnabled(false);
        for (TCheckBox* c : {CheckBox_11a, CheckBox_11b, CheckBox_11g, ChcBxo_off, ChcBxo_wep,
                             ChcBxo_eap, ChcBxo_psk, WPA2EAPCkBox, WPA2PSKCkBox, WPA2AUTECkBox,
                             WPA2AUTPCkBox})
            c->SetEnabled(false);
    }
    FormResize(this);
}

bool TFM_RogueForm::MasksRead() const { return MaskGroup && MaskGroup->ReadSucceeded(); }

void TFM_RogueForm::StartUp() {
    RadioGroup = NewGroup(this, mib::rogueRadioTable, MVT_SV, 0, 0, "Radio");
    RadioGroup->AssociateComboBox(0, CB_Radio);
    QvReadOrRaise(*RadioGroup);

    MaskGroup = NewGroup(this, mib::rogueMaskTable, MVT_SV, 0, 0, "Detection");
    MaskGroup->AssociateControl(0, BSSTypRadGrp);
    MaskGroup->AssociateEdits(1, "%u", BandEdit);
    MaskGroup->AssociateEdits(2, "%u", SecEdit);
    MaskGroup->SetStatusBar(StatusBar1);
    QvReadOrRaise(*MaskGroup);
    MasksToCheckBoxes();

    auto done = [this](void (TFM_RogueForm::*handler)(QvSNMPRequest2Controls*, QvSNMPError*)) {
        return [this, handler](QvSNMPRequest2Controls* s, QvSNMPError* e) { (this->*handler)(s, e); };
    };
    DetectGroup = NewGroup(this, mib::rogueDetectTable, SVT_SV, 0, 1, "Detect");
    DetectGroup->AssociateComboBox(0, DetectRogueCoBox);
    DetectGroup->OnWriteDone = done(&TFM_RogueForm::DetectDone);
    DetectGroup->Read();
    AddGroup = NewGroup(this, mib::rogueAddTable, SVT_SV, 0, 1, "Add");
    AddGroup->AssociateEdits(0, "%u", AddCoBox);
    AddGroup->OnWriteDone = done(&TFM_RogueForm::AddDone);
    AddGroup->Read();
    DelDetectGroup = NewGroup(this, mib::rogueDeleteResultTable, SVT_SV, 0, 1, "Delete");
    DelDetectGroup->AssociateEdits(0, "%u", DelDetcetEdit);
    DelDetectGroup->OnWriteDone = done(&TFM_RogueForm::DeleteDetectedDone);
    DelDetectGroup->Read();
    DelListedGroup = NewGroup(this, mib::rogueDeleteListedTable, SVT_SV, 0, 1, "Delete");
    DelListedGroup->AssociateEdits(0, "%u", DelCoBox);
    DelListedGroup->OnWriteDone = done(&TFM_RogueForm::DeleteListedDone);
    DelListedGroup->Read();

    ResultGroup = NewGroup(this, mib::rogueResultTable, MVT_UMV, 1, 1, "Rogue AP");
    ResultGroup->BindListView(RogueListView, true);
    ResultGroup->OnReadDone = done(&TFM_RogueForm::ResultRead);
    RogueListView->Columns()[0]->SetWidth(0);
    ResultGroup->Read();
    ListGroup = NewGroup(this, mib::rogueApListTable, MVT_UMV, 1, 1, "AP List");
    ListGroup->BindListView(AP_ListView, true);
    ListGroup->OnReadDone = done(&TFM_RogueForm::ListRead);
    AP_ListView->Columns()[0]->SetWidth(0);
    ListGroup->Read();

    // Firmware without the flag has no protection: its read failing only
    // means that.
    SupportGroup = NewGroup(this, mib::rogueSupportTable, SVT_SV, 0, 0, "Support");
    SupportGroup->AssociateEdits(0, "%s", Ed_RogueSupport);
    if (!SupportGroup->Read()) Ed_RogueSupport->SetText("");

    protectionSupported = DecimalOr(Ed_RogueSupport->Text(), 0) == 1;
    Lab_RogueAP->SetVisible(protectionSupported);
    CB_RogueAP->SetVisible(protectionSupported);
    if (protectionSupported) {
        ProtectionGroup = NewGroup(this, mib::rogueProtectionTable, SVT_SV, 0, 1, "Protection");
        ProtectionGroup->request.Timeout = g_DefaultTimeout; // the only one without its own
        ProtectionGroup->AssociateComboBox(0, CB_RogueAP);
        ProtectionGroup->Read();
    }
    if (BSSTypRadGrp->ItemIndex() < 0) BSSTypRadGrp->SetItemIndex(0);
}

// --- masks -------------------------------------------------------------------------

void TFM_RogueForm::MasksToCheckBoxes() {
    const long band = DecimalOr(BandEdit->Text(), 0);
    for (TCheckBox* c : {CheckBox_11a, CheckBox_11b, CheckBox_11g}) c->SetChecked(false);
    if (band & 1) CheckBox_11a->SetChecked(true);
    if (band & 4) CheckBox_11b->SetChecked(true);
    if (band & 8) CheckBox_11g->SetChecked(true);

    const long security = DecimalOr(SecEdit->Text(), 0);
    for (TCheckBox* c : {ChcBxo_off, ChcBxo_wep, ChcBxo_eap, ChcBxo_psk}) c->SetChecked(false);
    TCheckBox* const boxes[] = {ChcBxo_off,   ChcBxo_wep,   ChcBxo_eap,    ChcBxo_psk,
                                WPA2EAPCkBox, WPA2PSKCkBox, WPA2AUTECkBox, WPA2AUTPCkBox};
    for (int bit = 0; bit < 8; ++bit)
        if (security & (1L << bit)) boxes[bit]->SetChecked(true);
}

void TFM_RogueForm::CheckBox_11aClick(TObject*) {
    const int sum = (CheckBox_11a->Checked() ? 1 : 0) + (CheckBox_11b->Checked() ? 4 : 0) +
                    (CheckBox_11g->Checked() ? 8 : 0);
    BandEdit->SetText(std::to_string(sum));
}

void TFM_RogueForm::ChcBxo_offClick(TObject*) {
    int sum = (ChcBxo_off->Checked() ? 1 : 0) + (ChcBxo_wep->Checked() ? 2 : 0);
    if (BSSTypRadGrp->ItemIndex() != 1) {
        TCheckBox* const wpa[] = {ChcBxo_eap,   ChcBxo_psk,    WPA2EAPCkBox,
                                  WPA2PSKCkBox, WPA2AUTECkBox, WPA2AUTPCkBox};
        for (int k = 0; k < 6; ++k)
            if (wpa[k]->Checked()) sum += 4 << k;
    }
    SecEdit->SetText(std::to_string(sum));
}

void TFM_RogueForm::BSSTypRadGrpClick(TObject* sender) {
    const bool adHoc = BSSTypRadGrp->ItemIndex() == 1;
    for (TCheckBox* c : {ChcBxo_eap, ChcBxo_psk, WPA2EAPCkBox, WPA2PSKCkBox, WPA2AUTECkBox,
                         WPA2AUTPCkBox})
        c->SetEnabled(!adHoc && MasksRead());
    ChcBxo_offClick(sender);
}

// --- state -------------------------------------------------------------------------

void TFM_RogueForm::SetSixButtons(bool enabled) {
    for (TButton* b : {DetectBtn, AddBtn, DelBtn, ListDelBtn, Apply_Btn, Cancel_Btn})
        b->SetEnabled(enabled);
}

void TFM_RogueForm::SetPanelText(const std::string& text) {
    StatusBar1->Panels()[0]->SetText(text);
}

bool TFM_RogueForm::ChainBusy() const {
    return DetectWaitTimer->Enabled() || (ResultGroup && ResultGroup->busy) ||
           (ListGroup && ListGroup->busy);
}

void TFM_RogueForm::EndWithFailure(QvSNMPError* error) {
    SetSixButtons(true);
    idle = true;
    SetPanelText(error ? error->Message : std::string());
}

namespace {
bool Failed(const QvSNMPError* e) { return e && e->Code != 0; }

// Starts a read from a completion; a read that cannot start ends the chain.
bool StartRead(QvSNMPRequest2Edits* group, QvSNMPError* failure) {
    try {
        group->Read();
        return true;
    } catch (const std::exception& e) {
        failure->Code = -1;
        failure->Message = e.what();
        return false;
    }
}

// Starts an asynchronous write of a command group.
bool StartWrite(QvSNMPRequest2Edits* group, QvSNMPError* failure) {
    try {
        group->Write(true, true, "", nullptr);
        return true;
    } catch (const std::exception& e) {
        failure->Code = -1;
        failure->Message = e.what();
        return false;
    }
}
} // namespace

// --- detect ------------------------------------------------------------------------

void TFM_RogueForm::DetectBtnClick(TObject*) {
    if (!idle || ChainBusy() || writes_.Running() || !DetectGroup || DetectGroup->busy) return;
    SetSixButtons(false);
    DetectRogueCoBox->SetItemIndex(1);
    // A refused mask is reported, and no scan starts with masks the device
    // did not take.
    std::string failure;
    if (!WriteNow(MaskGroup.get(), &failure)) {
        SetSixButtons(true);
        idle = true;
        SetPanelText(failure);
        return;
    }
    idle = false;
    SetPanelText("Detecting...");
    QvSNMPError e;
    if (!StartWrite(DetectGroup.get(), &e)) EndWithFailure(&e);
}

void TFM_RogueForm::DetectDone(QvSNMPRequest2Controls*, QvSNMPError* error) {
    if (Failed(error)) {
        EndWithFailure(error);
        return;
    }
    // The device needs a moment to fill its result; the GUI goes on meanwhile.
    DetectWaitTimer->SetEnabled(true);
}

void TFM_RogueForm::DetectWaitTimerTimer(TObject*) {
    DetectWaitTimer->SetEnabled(false);
    if (!ResultGroup) return;
    SetPanelText("Detecting success. Getting data...");
    QvSNMPError e;
    if (!StartRead(ResultGroup.get(), &e)) EndWithFailure(&e);
}

// --- add and delete ----------------------------------------------------------------

void TFM_RogueForm::AddBtnClick(TObject*) {
    TListItem* item = RogueListView->Selected();
    if (!item || !idle || ChainBusy() || writes_.Running() || !AddGroup || AddGroup->busy) return;
    SetSixButtons(false);
    idle = false;
    AddCoBox->SetText(item->Caption());
    if (AP_ListView->Items().Count() >= kMaxListed) {
        SetSixButtons(true);
        idle = true;
        MessageBox(this, "Miximum number of AP list is 30!", "Warning", MB_OK | MB_ICONWARNING);
        return;
    }
    SetPanelText("Adding...");
    QvSNMPError e;
    if (!StartWrite(AddGroup.get(), &e)) EndWithFailure(&e);
}

void TFM_RogueForm::AddDone(QvSNMPRequest2Controls*, QvSNMPError* error) {
    if (Failed(error)) {
        EndWithFailure(error);
        return;
    }
    SetPanelText("Add to AP list successfully! Getting data...");
    QvSNMPError e;
    if (!StartRead(ResultGroup.get(), &e) || !StartRead(ListGroup.get(), &e)) EndWithFailure(&e);
}

void TFM_RogueForm::DelBtnClick(TObject*) {
    TListItem* item = RogueListView->Selected();
    if (!item || !idle || ChainBusy() || writes_.Running() || !DelDetectGroup ||
        DelDetectGroup->busy)
        return;
    SetSixButtons(false);
    idle = false;
    DelDetcetEdit->SetText(item->Caption());
    SetPanelText("Deleting...");
    QvSNMPError e;
    if (!StartWrite(DelDetectGroup.get(), &e)) EndWithFailure(&e);
}

void TFM_RogueForm::DeleteDetectedDone(QvSNMPRequest2Controls*, QvSNMPError* error) {
    if (Failed(error)) {
        EndWithFailure(error);
        return;
    }
    SetPanelText("Delete rogue AP successfully! Getting data...");
    QvSNMPError e;
    if (!StartRead(ResultGroup.get(), &e)) EndWithFailure(&e);
}

void TFM_RogueForm::ListDelBtnClick(TObject*) {
    TListItem* item = AP_ListView->Selected();
    if (!item || !idle || ChainBusy() || writes_.Running() || !DelListedGroup ||
        DelListedGroup->busy)
        return;
    for (TButton* b : {ListDelBtn, Apply_Btn, Cancel_Btn}) b->SetEnabled(false);
    idle = false;
    DelCoBox->SetText(item->Caption());
    SetPanelText("Deleting...");
    QvSNMPError e;
    if (!StartWrite(DelListedGroup.get(), &e)) EndWithFailure(&e);
}

void TFM_RogueForm::DeleteListedDone(QvSNMPRequest2Controls*, QvSNMPError* error) {
    if (Failed(error)) {
        EndWithFailure(error);
        return;
    }
    SetPanelText("Delete successfully! Getting data...");
    QvSNMPError e;
    if (!StartRead(ListGroup.get(), &e)) EndWithFailure(&e);
}

// --- reads -------------------------------------------------------------------------

void TFM_RogueForm::ResultRead(QvSNMPRequest2Controls*, QvSNMPError* error) {
    if (CB_Radio->ItemIndex() != 0) DetectBtn->SetEnabled(true);
    for (TButton* b : {AddBtn, DelBtn, ListDelBtn, Apply_Btn, Cancel_Btn}) b->SetEnabled(true);
    // After an add the AP list is still being read.
    idle = !ChainBusy();
    SetPanelText(Failed(error) ? error->Message : "Get OK!");
}

void TFM_RogueForm::ListRead(QvSNMPRequest2Controls*, QvSNMPError* error) {
    for (TButton* b : {ListDelBtn, Apply_Btn, Cancel_Btn}) b->SetEnabled(true);
    idle = !ChainBusy();
    SetPanelText(Failed(error) ? error->Message : "Get OK!");
    if (CB_Radio->ItemIndex() == 0) {
        MessageBox(this, "Radio has been turned off,the rogue ap detection will be invalid! ",
                   "Warning", MB_OK | MB_ICONWARNING);
        DetectBtn->SetEnabled(false);
    } else {
        DetectBtn->SetEnabled(true);
    }
}

// --- apply and closing -------------------------------------------------------------

void TFM_RogueForm::Apply_BtnClick(TObject*) {
    if (writes_.Running() || !idle || !MaskGroup) return;
    const bool protection = protectionSupported && ProtectionGroup;
    // Its first read may still be on its way.
    if (protection && ProtectionGroup->busy &&
        !WaitWhileBusy(*ProtectionGroup, QvReplyBoundMs(ProtectionGroup->request)))
        return;
    writes_.Add(MaskGroup.get(), true);
    if (protection) writes_.Add(ProtectionGroup.get(), true);
    // Success only once the protection write has been answered too.
    writes_.Start([this](bool ok, const QvSNMPError&) {
        if (!ok) {
            StatusBar1->SetSimpleText("Set Error!");
            return;
        }
        StatusBar1->SetSimpleText("Set Success!");
        TFM_Waiting::Run();
    });
}

void TFM_RogueForm::Cancel_BtnClick(TObject*) { Close(); }

void TFM_RogueForm::FormCloseQuery(TObject*, bool& canClose) {
    canClose = idle && !writes_.Running();
    if (!canClose) return;
    // Reads started at creation end within their reply bound.
    for (auto* g : {&DetectGroup, &AddGroup, &DelDetectGroup, &DelListedGroup, &ResultGroup,
                    &ListGroup, &ProtectionGroup})
        if (*g && (*g)->busy) WaitWhileBusy(**g, QvReplyBoundMs((*g)->request));
}

void TFM_RogueForm::FormClose(TObject*, TCloseAction&) {
    DetectWaitTimer->SetEnabled(false);
    ReleaseGroups();
}

void TFM_RogueForm::FormResize(TObject*) {
    if (!Panel_Inner) return;
    Panel_Inner->SetWidth(Panel_Top->Width() - 23);
    Panel_Inner->SetHeight(Panel_Top->Height() - 22);
    const int inner = Panel_Inner->Height();
    GB_Detection->SetWidth(Panel_Inner->Width());
    GB_Detection->SetHeight(inner - 5);
    Panel_Detect->SetWidth(GB_Detection->Width() - 5);
    Panel_Detect->SetHeight(inner - 24);
    const int width = Panel_Detect->Width() - 2;
    for (TControl* c : std::initializer_list<TControl*>{BSSTypRadGrp, GB_Band, GB_Security,
                                                        GB_RogueList, GB_APList})
        c->SetWidth(width);
    // The two lists share what is left below the security group, with the
    // gaps between the groups counted, so the lower one ends inside.
    const int listTop = GB_Security->Top() + GB_Security->Height() + 2;
    const int listHeight = (Panel_Detect->Height() - listTop - 2 - 1) / 2;
    GB_RogueList->SetTop(listTop);
    GB_RogueList->SetHeight(listHeight);
    GB_APList->SetTop(GB_RogueList->Top() + listHeight + 2);
    GB_APList->SetHeight(listHeight);
    for (TGroupBox* g : {GB_RogueList, GB_APList}) {
        TListView* lv = g == GB_RogueList ? RogueListView : AP_ListView;
        lv->SetWidth(g->Width() - 16);
        lv->SetHeight(listHeight - 52);
    }
    const int gw = GB_RogueList->Width();
    DetectBtn->SetLeft(gw * 201 / 465);
    AddBtn->SetLeft(gw * 289 / 465);
    DelBtn->SetLeft(gw * 377 / 465);
    ListDelBtn->SetLeft(GB_APList->Width() * 377 / 465);
    // The buttons sit wholly inside their group, under its frame.
    for (TButton* b : {DetectBtn, AddBtn, DelBtn, ListDelBtn}) b->SetTop(listHeight - 32);
    Apply_Btn->SetLeft(ClientWidth() * 256 / 495);
    Cancel_Btn->SetLeft(ClientWidth() * 381 / 495);
    const int w = GB_Band->Width();
    CheckBox_11b->SetLeft(CheckBox_11a->Left());
    CheckBox_11g->SetLeft((w - 8) / 4 + 8);
    ChcBxo_wep->SetLeft((w - 8) / 4 + 8);
    ChcBxo_eap->SetLeft((2 * w - 16) / 4 + 8);
    ChcBxo_psk->SetLeft((3 * w - 24) / 4 + 8);
    WPA2PSKCkBox->SetLeft(ChcBxo_wep->Left());
    WPA2AUTECkBox->SetLeft(ChcBxo_eap->Left());
    WPA2AUTPCkBox->SetLeft(ChcBxo_psk->Left());
    for (TCheckBox* c : {CheckBox_11b, CheckBox_11g, ChcBxo_off, ChcBxo_wep, ChcBxo_eap,
                         ChcBxo_psk, WPA2EAPCkBox, WPA2PSKCkBox, WPA2AUTECkBox, WPA2AUTPCkBox})
        c->SetWidth((w - 8) / 4 - 4);
}
