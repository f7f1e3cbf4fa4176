#include "forms/wireless/TFM_MultiSSIDNewForm.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "base/SysUtils.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/wireless/FormParts.h"
#include "mib/MultiSSIDNewVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <cctype>
#include <exception>
#include <initializer_list>

namespace col = mib::mssidcol;

namespace {

using formparts::Fill;

// Indices of the security choice CB_Sec.
constexpr int kSecNone = 0;
constexpr int kSecOpen = 1;
constexpr int kSecShared = 2;

bool IsPsk(int sec) { return sec == 3 || sec == 5 || sec == 7; }
bool IsEap(int sec) { return sec == 4 || sec == 6 || sec == 8; }

bool IsWepAuth(const std::string& auth) {
    return auth == "Open System" || auth == "Shared Key" || auth == "Open System / Shared Key";
}

// Text of one column of a row of the device's table (rows keep the column
// order of the read: every column of the table in turn).
std::string Cell(const TListItem* row, int column) {
    return row ? row->ColumnText(column) : std::string();
}

TComboBox* List(TForm* form, TWinControl* parent, const char* name, int l, int t, int w) {
    auto* c = NewControl<TComboBox>(form, parent, name, l, t, w, 22);
    c->SetStyle(csDropDownList);
    return c;
}

} // namespace

void TFM_MultiSSIDNewForm::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_MultiSSIDNewForm>("TFM_MultiSSIDNewForm");
}

TFM_MultiSSIDNewForm::TFM_MultiSSIDNewForm(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_MultiSSIDNewForm", .caption = "Advanced \\ Multi-SSID"});
    BuildControls();
    KeptGroupKey.clear();
    GP_PSK->SetVisible(false);
    DelButton->SetEnabled(false);
    Ed_RadiusPort->SetEnabled(false);
    Ed_RiduisServ->SetEnabled(false);
    Ed_RadiusSec->SetEnabled(false);
    Label_WMM->SetVisible(false);
    CB_WMM->SetVisible(false);
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
}

TFM_MultiSSIDNewForm::~TFM_MultiSSIDNewForm() {
    // Each group waits out its replies before the controls it fills go.
    Account.reset();
    SsidTable.reset();
    Radius.reset();
    GroupKey.reset();
    Priority.reset();
    VlanState.reset();
    MssidState.reset();
    ApMode.reset();
    RadiusSupport.reset();
}

void TFM_MultiSSIDNewForm::BuildControls() {
    SetClientWidth(540);

    // Hidden holders of what the groups read.
    Ed_RaduisSupport = NewControl<TEdit>(this, this, "Ed_RaduisSupport", 0, 0, 10, 10);
    CB_ApMode = List(this, this, "CB_ApMode", 0, 0, 10);
    CB_SuperMode = List(this, this, "CB_SuperMode", 0, 0, 10);
    MulSSIDListView = NewControl<TListView>(this, this, "MulSSIDListView", 0, 0, 10, 10);
    Lab_IfIdx = NewLabel(this, this, "", 0, 0, "Lab_IfIdx");
    Lab_Idx = NewLabel(this, this, "", 0, 0, "Lab_Idx");
    CB_IdvState = List(this, this, "CB_IdvState", 0, 0, 10);
    CB_Security = List(this, this, "CB_Security", 0, 0, 10);
    CB_Encry = List(this, this, "CB_Encry", 0, 0, 10);
    CB_KeyIndex = List(this, this, "CB_KeyIndex", 0, 0, 10);
    Ed_Priority = NewControl<TEdit>(this, this, "Ed_Priority", 0, 0, 10, 10);
    CheckBox_EthernetTag = NewControl<TCheckBox>(this, this, "CheckBox_EthernetTag", 0, 0, 10, 10);
    Label_VlanTag = NewLabel(this, this, "", 0, 0, "Label_VlanTag");
    Label_Priority = NewLabel(this, this, "", 0, 0, "Label_Priority");
    Cb_Priority = List(this, this, "Cb_Priority", 0, 0, 10);
    Fill(Cb_Priority, {"0", "1", "2", "3", "4", "5", "6", "7"});
    CB_DyVlan = List(this, this, "CB_DyVlan", 0, 0, 10);
    for (TControl* c : std::initializer_list<TControl*>{
             Ed_RaduisSupport, CB_ApMode, CB_SuperMode, MulSSIDListView, Lab_IfIdx, Lab_Idx,
             CB_IdvState, CB_Security, CB_Encry, CB_KeyIndex, Ed_Priority, CheckBox_EthernetTag,
             Label_VlanTag, Label_Priority, Cb_Priority, CB_DyVlan})
        c->SetVisible(false);

    GroupBox2 = NewControl<TGroupBox>(this, this, "GroupBox2", 8, 6, 524, 46);
    GroupBox2->SetCaption("Multi-SSID Settings");
    IfEnabMuSSID = NewControl<TCheckBox>(this, GroupBox2, "IfEnabMuSSID", 12, 20, 140, 18);
    IfEnabMuSSID->SetCaption("Enable Multi-SSID");
    CB_VLanState = NewControl<TCheckBox>(this, GroupBox2, "CB_VLanState", 170, 20, 120, 18);
    CB_VLanState->SetCaption("Enable VLAN");
    CheckBox_Priority =
        NewControl<TCheckBox>(this, GroupBox2, "CheckBox_Priority", 330, 20, 170, 18);
    CheckBox_Priority->SetCaption("Enable Priority by SSID");

    LV_MultiSSID_User = NewControl<TListView>(this, this, "LV_MultiSSID_User", 8, 58, 524, 132);
    LV_MultiSSID_User->SetViewStyle(vsReport);
    LV_MultiSSID_User->SetReadOnly(true);
    LV_MultiSSID_User->SetRowSelect(true);
    LV_MultiSSID_User->SetGridLines(true);
    LV_MultiSSID_User->SetHideSelection(false);
    const char* const heads[] = {"Index", "SSID", "Encryption", "VLAN ID ", "Band"};
    const int widths[] = {100, 170, 110, 70, 60};
    for (int k = 0; k < 5; ++k) {
        TListColumn* c = LV_MultiSSID_User->Columns().Add();
        c->SetCaption(heads[k]);
        c->SetWidth(widths[k]);
    }

    MultiGroupBox = NewControl<TGroupBox>(this, this, "MultiGroupBox", 8, 196, 524, 120);
    MultiGroupBox->SetCaption("SSID Settings");
    NewLabel(this, MultiGroupBox, "Index", 12, 22, "Label_Idx");
    CB_Idx = List(this, MultiGroupBox, "CB_Idx", 100, 18, 150);
    Fill(CB_Idx, {"Primary SSID", "Multi-SSID 1", "Multi-SSID 2", "Multi-SSID 3", "Multi-SSID 4",
                  "Multi-SSID 5", "Multi-SSID 6", "Multi-SSID 7"});
    CB_Idx->SetItemIndex(0);
    NewLabel(this, MultiGroupBox, "SSID", 12, 48, "Label_SSID");
    Ed_SSID = NewControl<TEdit>(this, MultiGroupBox, "Ed_SSID", 100, 44, 150, 21);
    NewLabel(this, MultiGroupBox, "VLAN ID", 270, 48, "Label_VlanId");
    Ed_WLANID = NewControl<TEdit>(this, MultiGroupBox, "Ed_WLANID", 360, 44, 80, 21);
    NewLabel(this, MultiGroupBox, "Security", 12, 74, "Label_Sec");
    CB_Sec = List(this, MultiGroupBox, "CB_Sec", 100, 70, 150);
    Fill(CB_Sec, {"None", "Open System", "Shared Key", "WPA-PSK", "WPA-EAP", "WPA2-PSK",
                  "WPA2-EAP", "WPA-Auto-PSK", "WPA-Auto-EAP"});
    CB_SecShow = List(this, MultiGroupBox, "CB_SecShow", 100, 70, 150);
    Fill(CB_SecShow, {"None", "Open System", "Shared Key", "WPA-PSK", "WPA2-PSK", "WPA-Auto-PSK"});
    Label_Broadcast =
        NewLabel(this, MultiGroupBox, "SSID Broadcast", 270, 74, "Label_Broadcast");
    CB_Broadcast = List(this, MultiGroupBox, "CB_Broadcast", 380, 70, 80);
    Label_WMM = NewLabel(this, MultiGroupBox, "WMM", 270, 98, "Label_WMM");
    CB_WMM = List(this, MultiGroupBox, "CB_WMM", 380, 94, 80);

    GP_KeySetting = NewControl<TGroupBox>(this, this, "GP_KeySetting", 8, 322, 524, 110);
    GP_KeySetting->SetCaption("Key Settings");
    NewLabel(this, GP_KeySetting, "Key Type", 12, 22, "Label_KeyType");
    CB_KeyType = List(this, GP_KeySetting, "CB_KeyType", 100, 18, 100);
    NewLabel(this, GP_KeySetting, "Key Size", 270, 22, "Label_KeySize");
    CB_KeySize = List(this, GP_KeySetting, "CB_KeySize", 360, 18, 100);
    Fill(CB_KeySize, {"64 Bits", "128 Bits", "152 Bits"});
    CB_KeySize->SetItemIndex(0);
    NewLabel(this, GP_KeySetting, "Key Index", 12, 50, "Label_KeyIdx");
    CB_IdxTmp = List(this, GP_KeySetting, "CB_IdxTmp", 100, 46, 100);
    NewLabel(this, GP_KeySetting, "Key Value", 12, 78, "Label_KeyValue");
    Ed_KeyValue = NewControl<TEdit>(this, GP_KeySetting, "Ed_KeyValue", 100, 74, 300, 21);
    Ed_KeyValue->SetPasswordChar('*');

    GP_PSK = NewControl<TGroupBox>(this, this, "GP_PSK", 8, 322, 524, 190);
    GP_PSK->SetCaption("PassPhrase Settings");
    Label_Cipher = NewLabel(this, GP_PSK, "Cipher Type", 12, 22, "Label_Cipher");
    CB_CipherType = List(this, GP_PSK, "CB_CipherType", 200, 18, 100);
    Label_GrpKey = NewLabel(this, GP_PSK, "Group Key Update Interval", 12, 48, "Label_GrpKey");
    Ed_GrpKey = NewControl<TEdit>(this, GP_PSK, "Ed_GrpKey", 200, 44, 100, 21);
    Label_PassPhrase = NewLabel(this, GP_PSK, "PassPhrase", 12, 74, "Label_PassPhrase");
    Ed_PassPhrase = NewControl<TEdit>(this, GP_PSK, "Ed_PassPhrase", 200, 70, 300, 21);
    // A secret like the key: never shown.
    Ed_PassPhrase->SetPasswordChar('*');
    Label_Radius = NewLabel(this, GP_PSK, "RADIUS Server", 12, 74, "Label_Radius");
    Ed_RiduisServ = NewControl<TEdit>(this, GP_PSK, "Ed_RiduisServ", 200, 70, 120, 21);
    Label_RadiusPort = NewLabel(this, GP_PSK, "RADIUS Port", 12, 100, "Label_RadiusPort");
    Ed_RadiusPort = NewControl<TEdit>(this, GP_PSK, "Ed_RadiusPort", 200, 96, 80, 21);
    Label_RadiusSec = NewLabel(this, GP_PSK, "RADIUS Secret", 12, 126, "Label_RadiusSec");
    Ed_RadiusSec = NewControl<TEdit>(this, GP_PSK, "Ed_RadiusSec", 200, 122, 200, 21);
    Ed_RadiusSec->SetPasswordChar('*');
    Label_AcntMode = NewLabel(this, GP_PSK, "Accounting", 12, 152, "Label_AcntMode");
    CB_AcntMode = List(this, GP_PSK, "CB_AcntMode", 100, 148, 80);
    Label_AcntServ = NewLabel(this, GP_PSK, "Server", 190, 152, "Label_AcntServ");
    Ed_AcntServ = NewControl<TEdit>(this, GP_PSK, "Ed_AcntServ", 240, 148, 120, 21);
    Label_AcntPort = NewLabel(this, GP_PSK, "Port", 370, 152, "Label_AcntPort");
    Ed_AcntPort = NewControl<TEdit>(this, GP_PSK, "Ed_AcntPort", 410, 148, 80, 21);

    SaveButton = NewControl<TButton>(this, this, "SaveButton", 188, 0, 80, 25);
    SaveButton->SetCaption("Save");
    DelButton = NewControl<TButton>(this, this, "DelButton", 274, 0, 80, 25);
    DelButton->SetCaption("Delete");
    ApplyBtn = NewControl<TButton>(this, this, "ApplyBtn", 360, 0, 80, 25);
    ApplyBtn->SetCaption("Apply");
    CancelBtn = NewControl<TButton>(this, this, "CancelBtn", 446, 0, 80, 25);
    CancelBtn->SetCaption("Cancel");
    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetParent(this);
    StatusBar1->SetAlign(alBottom);
    StatusBar1->Panels().Add()->SetWidth(300);
    StatusBar1->Panels().Add()->SetWidth(200);

    // Handlers go in before the bindings take the controls over: they chain
    // behind the binding's own.
    IfEnabMuSSID->OnClick = [this](TObject* s) { IfEnabMuSSIDClick(s); };
    CB_VLanState->OnClick = [this](TObject* s) { CB_VLanStateClick(s); };
    CheckBox_Priority->OnClick = [this](TObject* s) { CheckBox_PriorityClick(s); };
    CB_Idx->OnChange = [this](TObject* s) { CB_IdxChange(s); };
    CB_Sec->OnChange = [this](TObject* s) { CB_SecChange(s); };
    CB_SecShow->OnChange = [this](TObject* s) { CB_SecShowChange(s); };
    CB_KeySize->OnChange = [this](TObject* s) { CB_KeySizeChange(s); };
    CB_KeyType->OnChange = [this](TObject* s) { CB_KeySizeChange(s); };
    CB_IdxTmp->OnChange = [this](TObject* s) { CB_IdxTmpChange(s); };
    CB_DyVlan->OnChange = [this](TObject* s) { CB_DyVlanChange(s); };
    LV_MultiSSID_User->OnClick = [this](TObject* s) { LV_MultiSSID_UserClick(s); };
    SaveButton->OnClick = [this](TObject* s) { SaveButtonClick(s); };
    DelButton->OnClick = [this](TObject* s) { DelButtonClick(s); };
    ApplyBtn->OnClick = [this](TObject* s) { ApplyBtnClick(s); };
    CancelBtn->OnClick = [this](TObject* s) { CancelBtnClick(s); };
    GroupVisibility();
}

std::unique_ptr<QvSNMPRequest2Edits> TFM_MultiSSIDNewForm::NewGroup(const void* table,
                                                                    uint8_t kind, bool sync) {
    auto g = std::make_unique<QvSNMPRequest2Edits>(this);
    g->request.vars = QvSNMPVarList(static_cast<const QvSNMPVar*>(table), kind, 0);
    g->mode = sync ? 0 : 1;
    return g;
}

bool TFM_MultiSSIDNewForm::Wide() const { return TMainForm::FieldAsInt(Ed_RaduisSupport) == 1; }

// --- creation ------------------------------------------------------------------------

void TFM_MultiSSIDNewForm::FormCreate(TObject*) {
    // A failing read ends the creation there; the form can still be closed,
    // as nothing of it is outstanding.
    RadiusSupport = NewGroup(mib::mssidBackupRadiusTable, SVT_SV, true);
    RadiusSupport->AssociateEdits(0, "%s", Ed_RaduisSupport);
    if (!RadiusSupport->Read()) return;

    const bool turbo = MainForm && TMainForm::FieldAsInt(MainForm->ED_Turbomode) != 0;
    const bool newNames =
        MainForm && TMainForm::FieldAsInt(MainForm->ApmodeStringChangeSupport) == 1;
    ApMode = NewGroup(mib::mssidApModeTables[newNames ? 1 : 0][turbo ? 1 : 0], MVT_SV, true);
    ApMode->AssociateComboBox(0, CB_ApMode);
    ApMode->AssociateComboBox(1, CB_SuperMode);
    if (!ApMode->Read()) return;

    MssidState = NewGroup(mib::mssidStateTable, SVT_SV, true);
    MssidState->AssociateControl(0, IfEnabMuSSID);
    MssidState->SetStatusBar(StatusBar1);
    if (!MssidState->Read()) return;
    WarnOnEnable = true;

    VlanState = NewGroup(mib::mssidNewVlanStateTable, SVT_SV, true);
    VlanState->AssociateControl(0, CB_VLanState);
    if (!VlanState->Read()) return;
    VlanStateOn = CB_VLanState->Checked();

    Priority = NewGroup(mib::mssidPriorityTable, MVT_SV, true);
    Priority->AssociateControl(0, CheckBox_Priority);
    try {
        PrioritySupported = Priority->Read();
    } catch (const std::exception&) {
        PrioritySupported = false;
    }
    CheckBox_Priority->SetVisible(PrioritySupported);
    if (!PrioritySupported) CB_VLanState->SetLeft(CB_VLanState->Left() + 70);

    GroupKey = NewGroup(mib::mssidGroupKeyTable, SVT_SV, true);
    GroupKey->AssociateEdits(0, "%u{n300x9999999}", Ed_GrpKey);
    if (!GroupKey->Read()) return;
    KeptGroupKey = Ed_GrpKey->Text();

    Radius = NewGroup(mib::mssidRadiusTable, SVT_SV, true);
    Radius->AssociateEdits(mib::mssidRadiusServerVar, "%s", Ed_RiduisServ);
    Radius->AssociateEdits(mib::mssidRadiusPortVar, "%u{n1x65535}", Ed_RadiusPort);
    Radius->AssociateEdits(mib::mssidRadiusSecretVar, "%s", Ed_RadiusSec);
    if (!Radius->Read()) return;

    const bool wide = Wide();
    {
        auto table = std::make_unique<formparts::CollectingGroup>(this);
        // The key edit keeps what was typed; the device gets hexadecimal.
        table->OnCollected = [this] {
            if (sendKey_) *SsidTable->request.vars.Item(col::Key)->Value = outgoingKey_;
        };
        SsidTable = std::move(table);
    }
    SsidTable->request.vars =
        QvSNMPVarList(wide ? mib::mssidWideTable : mib::mssidNarrowTable, MVT_UMV, 2);
    SsidTable->request.Timeout = 2000;
    SsidTable->mode = 1;
    SsidTable->OnReadDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
        TableReadDone(s, e);
    };
    SsidTable->OnWriteDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
        TableWriteDone(s, e);
    };
    SsidTable->BindListView(MulSSIDListView, true);
    SsidTable->AssociateControl(col::IfIndex, Lab_IfIdx);
    SsidTable->AssociateControl(col::Index, Lab_Idx);
    SsidTable->AssociateComboBox(col::State, CB_IdvState);
    SsidTable->AssociateEdits(col::Ssid, "%s", Ed_SSID);
    SsidTable->AssociateComboBox(col::Auth, CB_Security);
    SsidTable->AssociateComboBox(col::Encryption, CB_Encry);
    SsidTable->AssociateComboBox(col::KeyIndex, CB_KeyIndex);
    SsidTable->AssociateEdits(col::Key, "%s", Ed_KeyValue);
    SsidTable->AssociateEdits(col::VlanTag, "%u{n1x4094}", Ed_WLANID);
    SsidTable->AssociateComboBox(col::Cipher, CB_CipherType);
    SsidTable->AssociateEdits(col::PassPhrase, "%s", Ed_PassPhrase);
    SsidTable->AssociateComboBox(col::KeyType, CB_KeyType);
    if (wide) {
        SsidTable->AssociateComboBox(col::Broadcast, CB_Broadcast);
        SsidTable->AssociateComboBox(col::Wmm, CB_WMM);
    }
    for (TControl* c : std::initializer_list<TControl*>{Label_Broadcast, CB_Broadcast, Label_WMM,
                                                         CB_WMM})
        c->SetVisible(wide);
    AllColumnsWritable();
    SsidTable->Read();

    if (MainForm && MainForm->MssidWdsRequest) MainForm->MssidWdsRequest->Read();

    Account = NewGroup(mib::mssidAccountTable, MVT_SV, true);
    Account->AssociateEdits(mib::mssidAccountServerVar, "%s", Ed_AcntServ);
    Account->AssociateEdits(mib::mssidAccountPortVar, "%u{n1x65535}", Ed_AcntPort);
    Account->AssociateComboBox(mib::mssidAccountModeVar, CB_AcntMode);
    try {
        AccountSupported = Account->Read();
    } catch (const std::exception&) {
        AccountSupported = false;
    }
    GroupVisibility();
}

// --- table completions -------------------------------------------------------------

void TFM_MultiSSIDNewForm::TableReadDone(QvSNMPRequest2Controls*, QvSNMPError* error) {
    if (error && error->Code != 0) {
        SetPanel(error->Message);
        GreyUnreadTable();
        return;
    }
    SetPanel("Get OK!");
    CB_IdxChange(nullptr);
    TableRead = true;
}

void TFM_MultiSSIDNewForm::TableWriteDone(QvSNMPRequest2Controls*, QvSNMPError* error) {
    if (error && error->Code != 0) {
        TableRead = true;
        SavePending = false;
        AllColumnsWritable();
        SetPanel(error->Message);
        return;
    }
    if (SavePending) {
        QvSNMPVarList& vars = SsidTable->request.vars;
        for (int c = 0; c < 12 && c < vars.Count(); ++c)
            vars.Item(c)->Access = savedAccess_[c];
        SavePending = false;
        bool sent = false;
        if (!StartTableWrite(&sent)) {
            TableRead = true;
            AllColumnsWritable();
            return;
        }
        if (sent) GroupVisibility();
        return;
    }
    SetPanel("Save Multi-SSID complete!");
    AllColumnsWritable();
    SsidTable->Read();
}

// --- state check boxes --------------------------------------------------------------

void TFM_MultiSSIDNewForm::CB_VLanStateClick(TObject*) {
    if (CB_VLanState->Checked()) {
        IfEnabMuSSID->SetChecked(true);
        IfEnabMuSSID->SetEnabled(false);
    } else {
        IfEnabMuSSID->SetEnabled(true);
    }
    IfEnabMuSSIDClick(IfEnabMuSSID);
}

void TFM_MultiSSIDNewForm::IfEnabMuSSIDClick(TObject*) {
    if (!IfEnabMuSSID->Checked()) {
        LV_MultiSSID_User->Items().Clear();
        WarnOnEnable = true;
    } else {
        if (!ListClickBusy) RebuildWorkingList();
        if (WarnOnEnable) {
            const int t =
                MainForm && TMainForm::FieldAsInt(MainForm->mssidAndWdssupport) == 1 ? 2 : 0;
            const int mode = CB_ApMode->ItemIndex();
            const bool superOn = CB_SuperMode->Text() != "Disable";
            if (mode > t && superOn)
                Warn("If you enable Multi-SSID,\nAP Mode will be Access Point and Super G will "
                     "be Disabled!");
            else if (mode <= t && superOn)
                Warn("If you enable Multi-SSID,Super G will be Disabled!");
            else if (mode > t)
                Warn("If you enable Multi-SSID,AP Mode will be Access Point!");
            WarnOnEnable = false;
        }
    }
    if (Wide())
        UpdateEnabledControlsWide();
    else
        UpdateEnabledControls();
}

void TFM_MultiSSIDNewForm::CheckBox_PriorityClick(TObject*) {
    if (CB_Idx->ItemIndex() > 0) {
        if (!CheckBox_Priority->Checked()) {
            Cb_Priority->SetEnabled(false);
            CB_WMM->SetEnabled(true);
        } else {
            SelectByText(CB_WMM, "Enable");
            CB_WMM->SetEnabled(false);
        }
    } else {
        Cb_Priority->SetEnabled(CheckBox_Priority->Checked());
    }
}

void TFM_MultiSSIDNewForm::CB_DyVlanChange(TObject*) {
    Ed_WLANID->SetEnabled(CB_DyVlan->ItemIndex() == 0);
}

// --- the lists -------------------------------------------------------------------------

TListItem* TFM_MultiSSIDNewForm::HiddenRow(int entry) const {
    const TListItems& rows = MulSSIDListView->Items();
    return entry >= 0 && entry < rows.Count() ? rows[entry] : nullptr;
}

int TFM_MultiSSIDNewForm::EntryOf(const TListItem* visibleRow) {
    const std::string caption = visibleRow->Caption();
    if (caption == "Primary") return 0;
    if (caption.size() > 10 && std::isdigit(static_cast<unsigned char>(caption[10])))
        return caption[10] - '0';
    return -1;
}

void TFM_MultiSSIDNewForm::RebuildWorkingList() {
    LV_MultiSSID_User->Items().Clear();
    const TListItems& rows = MulSSIDListView->Items();
    for (int r = 0; r < rows.Count(); ++r) {
        const TListItem* row = rows[r];
        if (Cell(row, col::State) != "Enabled") continue;
        TListItem* item = LV_MultiSSID_User->Items().Add();
        item->SetCaption(r == 0 ? std::string("Primary")
                                : "Multi-SSID" + Cell(rows[r - 1], col::Index));
        item->SubItems().Add(Cell(row, col::Ssid));
        const std::string auth = Cell(row, col::Auth);
        std::string enc;
        if (Cell(row, col::Encryption) == "Disabled")
            enc = "OFF";
        else if (IsWepAuth(auth))
            enc = "WEP";
        else
            enc = auth;
        item->SubItems().Add(enc);
        item->SubItems().Add(VlanStateOn ? Cell(row, col::VlanTag) : std::string("OFF"));
        item->SubItems().Add("11g");
    }
}

void TFM_MultiSSIDNewForm::LV_MultiSSID_UserClick(TObject*) {
    TListItem* chosen = LV_MultiSSID_User->Selected();
    if (!chosen) {
        DelButton->SetEnabled(false);
        return;
    }
    const int entry = EntryOf(chosen);
    if (entry == 0) {
        CB_Idx->SetItemIndex(0);
        DelButton->SetEnabled(false);
    } else {
        CB_Idx->SetItemIndex(entry);
        DelButton->SetEnabled(true);
    }
    ListClickBusy = true;
    CB_IdxChange(nullptr);
    ListClickBusy = false;
}

// --- choosing an entry -----------------------------------------------------------------

void TFM_MultiSSIDNewForm::SelectByText(TComboBox* combo, const std::string& text) {
    const int i = combo->Items().IndexOf(text);
    combo->SetItemIndex(i >= 0 ? i : (combo->Items().Count() > 0 ? 0 : -1));
}

void TFM_MultiSSIDNewForm::CB_IdxChange(TObject*) {
    if (!SsidTable) return;
    // 1. The entry's row into the controls.
    WpaInUse = false;
    const int entry = CB_Idx->ItemIndex();
    if (TListItem* row = HiddenRow(entry)) {
        MulSSIDListView->SetSelected(nullptr);
        MulSSIDListView->SetSelected(row);
    }
    CB_VLanStateClick(CB_VLanState);

    // 2. The security choice.
    const std::string auth = CB_Security->Text();
    const bool encrypted = CB_Encry->Text() == "Enabled";
    if (entry > 0) {
        CB_Sec->SetStyle(csDropDownList);
        if (auth == "Open System" && !encrypted)
            CB_Sec->SetItemIndex(kSecNone);
        else
            SelectByText(CB_Sec, auth);
    } else {
        CB_Sec->SetStyle(csDropDown);
        if (encrypted && auth == "Open System / Shared Key") {
            CB_Sec->SetItemIndex(-1);
            CB_Sec->SetText("Both");
        } else if (encrypted) {
            SelectByText(CB_Sec, auth);
        } else {
            CB_Sec->SetItemIndex(kSecNone);
        }
    }
    SecurityDisplayRule();

    // 3.
    CB_SecChange(CB_Sec);
    GroupVisibility();

    // 4. Key size from the key's length, and the length limits.
    const size_t keyLength = Ed_KeyValue->Text().size();
    CB_KeySize->SetItemIndex(keyLength == 26 ? 1 : keyLength == 32 ? 2 : 0);
    SetKeyMaxLength();
    SetMaxLengths();

    // 5.
    if (Wide())
        UpdateEnabledControlsWide();
    else
        UpdateEnabledControls();

    // 6. Key slots 2 and 3 belong to WPA when another entry uses it.
    const std::string own = Lab_Idx->Caption();
    const TListItems& rows = MulSSIDListView->Items();
    for (int r = 0; r < rows.Count() && !WpaInUse; ++r) {
        const TListItem* row = rows[r];
        if (Cell(row, col::Index) == own) continue;
        WpaInUse = Cell(row, col::State) == "Enabled" &&
                   Cell(row, col::Encryption) != "Disabled" && !IsWepAuth(Cell(row, col::Auth));
    }
    if (WpaInUse)
        Fill(CB_IdxTmp, {"First", "Fourth"});
    else
        Fill(CB_IdxTmp, {"First", "Second", "Third", "Fourth"});
    SelectByText(CB_IdxTmp, CB_KeyIndex->Text());

    // 7. An ASCII key shows as its characters; a mask stays a mask.
    if (CB_KeyType->Text() == "ASCII") {
        const std::string key = Ed_KeyValue->Text();
        Ed_KeyValue->SetText(formparts::IsKeyMask(key)
                                 ? formparts::KeyMask(static_cast<int>(key.size() / 2))
                                 : HexToAscii(key));
    }
}

void TFM_MultiSSIDNewForm::SecurityDisplayRule() {
    const std::string primaryAuth = Cell(HiddenRow(0), col::Auth);
    if (primaryAuth.find("Enterprise") == std::string::npos &&
        primaryAuth.find("EAP") == std::string::npos) {
        CB_SecShow->SetVisible(true);
        CB_Sec->SetVisible(false);
        if (CB_Sec->Text() == "Both") {
            CB_SecShow->SetStyle(csDropDown);
            CB_SecShow->SetItemIndex(-1);
            CB_SecShow->SetText("Both");
        } else {
            CB_Sec->SetStyle(csDropDownList);
            CB_SecShow->SetStyle(csDropDownList);
            SelectByText(CB_SecShow, CB_Sec->Text());
        }
    } else {
        CB_SecShow->SetVisible(false);
        CB_Sec->SetVisible(true);
    }
}

void TFM_MultiSSIDNewForm::CB_SecChange(TObject*) {
    const int sec = CB_Sec->ItemIndex();
    if (sec == kSecNone || sec == kSecOpen || sec == kSecShared) {
        GP_PSK->SetVisible(false);
        GP_KeySetting->SetVisible(true);
    }
    SelectByText(CB_Security, CB_Sec->Text());
    GroupVisibility();
    if (Wide())
        UpdateEnabledControlsWide();
    else
        UpdateEnabledControls();
}

void TFM_MultiSSIDNewForm::CB_SecShowChange(TObject*) {
    SelectByText(CB_Sec, CB_SecShow->Text());
    CB_SecChange(CB_Sec);
}

void TFM_MultiSSIDNewForm::GroupVisibility() {
    const int sec = CB_Sec->ItemIndex();
    constexpr int kTallHeight = 568;
    if (IsPsk(sec)) {
        GP_PSK->SetCaption("PassPhrase Settings");
        GP_PSK->SetVisible(true);
        GP_KeySetting->SetVisible(false);
        for (TControl* c : std::initializer_list<TControl*>{Label_PassPhrase, Ed_PassPhrase})
            c->SetVisible(true);
        for (TControl* c : std::initializer_list<TControl*>{
                 Label_Radius, Ed_RiduisServ, Label_RadiusPort, Ed_RadiusPort, Label_RadiusSec,
                 Ed_RadiusSec, Label_AcntMode, CB_AcntMode, Label_AcntPort, Ed_AcntPort,
                 Label_AcntServ, Ed_AcntServ})
            c->SetVisible(false);
        GP_PSK->SetHeight(110);
        SetClientHeight(kTallHeight - 80);
    } else if (IsEap(sec)) {
        GP_PSK->SetCaption("Radius Server Settings");
        GP_PSK->SetVisible(true);
        GP_KeySetting->SetVisible(false);
        for (TControl* c : std::initializer_list<TControl*>{Label_PassPhrase, Ed_PassPhrase})
            c->SetVisible(false);
        for (TControl* c : std::initializer_list<TControl*>{Label_Radius, Ed_RiduisServ,
                                                             Label_RadiusPort, Ed_RadiusPort,
                                                             Label_RadiusSec, Ed_RadiusSec})
            c->SetVisible(true);
        for (TControl* c : std::initializer_list<TControl*>{
                 Label_AcntMode, CB_AcntMode, Label_AcntPort, Ed_AcntPort, Label_AcntServ,
                 Ed_AcntServ})
            c->SetVisible(AccountSupported);
        GP_PSK->SetHeight(190);
        SetClientHeight(kTallHeight);
    } else {
        GP_PSK->SetVisible(false);
        GP_KeySetting->SetVisible(true);
        SetClientHeight(kTallHeight - 80);
    }
    const int buttons = ClientHeight() - StatusBar1->Height() - 33;
    for (TButton* b : {SaveButton, DelButton, ApplyBtn, CancelBtn})
        b->SetTop(buttons);
}

void TFM_MultiSSIDNewForm::SetKeyMaxLength() {
    const int size = CB_KeySize->ItemIndex();
    if (size < 0 || size > 2) return;
    if (CB_KeyType->Text() == "ASCII" || CB_KeyType->Text() == "HEX")
        Ed_KeyValue->SetMaxLength(formparts::KeyLength(CB_KeyType->Text() == "ASCII", size));
}

void TFM_MultiSSIDNewForm::SetMaxLengths() {
    Ed_WLANID->SetMaxLength(4);
    Ed_SSID->SetMaxLength(32);
    Ed_GrpKey->SetMaxLength(7);
    Ed_PassPhrase->SetMaxLength(63);
    Ed_RadiusSec->SetMaxLength(32);
    Ed_RadiusPort->SetMaxLength(5);
    Ed_RiduisServ->SetMaxLength(15);
    Ed_AcntPort->SetMaxLength(5);
    Ed_AcntServ->SetMaxLength(15);
}

void TFM_MultiSSIDNewForm::CB_KeySizeChange(TObject*) {
    Ed_KeyValue->SetText("");
    SetKeyMaxLength();
    if (CB_KeySize->ItemIndex() < 0)
        ShowMessage("Please select key size!");
    else if (CB_KeyType->ItemIndex() < 0)
        ShowMessage("Key type is NULL!");
}

void TFM_MultiSSIDNewForm::CB_IdxTmpChange(TObject*) {
    const int i = CB_KeyIndex->Items().IndexOf(CB_IdxTmp->Text());
    if (i >= 0) CB_KeyIndex->SetItemIndex(i);
}

// --- enabled controls ------------------------------------------------------------------

void TFM_MultiSSIDNewForm::UpdateEnabledControls() {
    auto set = [](std::initializer_list<TControl*> controls, bool on) {
        for (TControl* c : controls) c->SetEnabled(on);
    };
    const std::initializer_list<TControl*> entryControls = {
        CB_CipherType, Ed_GrpKey, Ed_PassPhrase, CB_KeyType, CB_KeySize,
        CB_KeyIndex,   CB_IdxTmp, Ed_KeyValue,   CB_AcntMode};
    if (!IfEnabMuSSID->Checked()) {
        set({GroupBox2, MultiGroupBox, CB_Idx, SaveButton, Ed_SSID, CB_Sec, CB_SecShow, Ed_WLANID},
            false);
        set(entryControls, false);
    } else {
        set({GroupBox2, MultiGroupBox, CB_Idx, SaveButton}, true);
        Ed_WLANID->SetEnabled(CB_VLanState->Checked());
        if (CB_Idx->ItemIndex() <= 0) {
            set({Ed_SSID, CB_Sec, CB_SecShow}, false);
            set(entryControls, false);
        } else {
            const bool bridgeLock = MainForm &&
                                    TMainForm::FieldAsInt(MainForm->mssidAndWdssupport) == 1 &&
                                    CB_ApMode->ItemIndex() == 2;
            set({CB_SecShow, CB_KeyType, CB_KeySize, CB_IdxTmp, Ed_KeyValue, Ed_PassPhrase,
                 CB_CipherType},
                !bridgeLock);
            set({CB_Sec, Ed_SSID}, true);
            const int sec = CB_Sec->ItemIndex();
            if (sec == kSecNone)
                set(entryControls, false);
            else if (IsEap(sec))
                Ed_GrpKey->SetEnabled(false);
            else
                Ed_GrpKey->SetEnabled(!bridgeLock);
        }
    }
    Ed_AcntPort->SetEnabled(false);
    Ed_AcntServ->SetEnabled(false);
    GreyUnreadTable();
}

void TFM_MultiSSIDNewForm::UpdateEnabledControlsWide() {
    auto set = [](std::initializer_list<TControl*> controls, bool on) {
        for (TControl* c : controls) c->SetEnabled(on);
    };
    const std::initializer_list<TControl*> entryControls = {
        CB_CipherType, Ed_GrpKey, Ed_PassPhrase, CB_KeyType, CB_KeySize,
        CB_KeyIndex,   CB_IdxTmp, Ed_KeyValue,   CB_AcntMode};
    if (!IfEnabMuSSID->Checked()) {
        set({GroupBox2, MultiGroupBox, CB_Idx, SaveButton, Ed_SSID, CB_Sec, CB_SecShow, Ed_WLANID,
             CB_Broadcast, CB_WMM, Cb_Priority},
            false);
        set(entryControls, false);
    } else {
        set({GroupBox2, MultiGroupBox, CB_Idx, SaveButton, CB_Broadcast, CB_WMM}, true);
        Ed_WLANID->SetEnabled(CB_VLanState->Checked());
        if (CB_Idx->ItemIndex() <= 0) {
            set({Ed_SSID, CB_Sec, CB_SecShow, CB_Broadcast, CB_WMM}, false);
            set(entryControls, false);
        } else {
            set({CB_SecShow, CB_KeyType, CB_KeySize, CB_IdxTmp, Ed_KeyValue, Ed_PassPhrase,
                 CB_CipherType, CB_Sec, Ed_SSID, CB_Broadcast, CB_WMM},
                true);
            const int sec = CB_Sec->ItemIndex();
            if (sec == kSecNone)
                set(entryControls, false);
            else
                Ed_GrpKey->SetEnabled(!IsEap(sec));
        }
    }
    Ed_AcntPort->SetEnabled(false);
    Ed_AcntServ->SetEnabled(false);
    GreyUnreadTable();
}

// A table that could not be read leaves the entry controls holding nothing
// of the device's: none of them can be edited or saved.
void TFM_MultiSSIDNewForm::GreyUnreadTable() {
    if (!SsidTable || !SsidTable->ReadFailed()) return;
    for (TControl* c : std::initializer_list<TControl*>{
             SaveButton, DelButton, Ed_SSID, CB_Sec, CB_SecShow, Ed_WLANID, CB_Broadcast, CB_WMM,
             CB_CipherType, Ed_PassPhrase, CB_KeyType, CB_KeySize, CB_IdxTmp, Ed_KeyValue})
        c->SetEnabled(false);
}

// --- key helpers ------------------------------------------------------------------------

std::string TFM_MultiSSIDNewForm::HexToAscii(const std::string& text) {
    return formparts::HexToAscii(text);
}

std::string TFM_MultiSSIDNewForm::AsciiToHex(const std::string& text) {
    return formparts::AsciiToHex(text, formparts::HexCase::Lower);
}

bool TFM_MultiSSIDNewForm::IsKeyChanged() const {
    return !formparts::IsKeyMask(Ed_KeyValue->Text());
}

bool TFM_MultiSSIDNewForm::CheckKeyLength() {
    if (!Ed_KeyValue->Enabled()) return true;
    struct Rule {
        const char* type;
        int size;
        size_t length;
        const char* text;
    };
    static const Rule rules[] = {
        {"HEX", 0, 10, "The Length of key value must be 10!"},
        {"HEX", 1, 26, "The Length of key value must be 26!"},
        {"HEX", 2, 32, "The Length of key value must be 32!"},
        {"ASCII", 0, 5, "The Length of key value must be 5!"},
        {"ASCII", 1, 13, "The Length of key value must be 13!"},
        {"ASCII", 2, 16, "The Lengh of key value must be 16!"},
    };
    const std::string type = CB_KeyType->Text();
    const int size = CB_KeySize->ItemIndex();
    for (const Rule& r : rules) {
        if (type != r.type || size != r.size) continue;
        if (Ed_KeyValue->Text().size() != r.length) {
            Warn(r.text);
            Ed_KeyValue->SetFocus();
            return false;
        }
    }
    // An ASCII key stays in the edit as typed: CheckHexKey gives the
    // hexadecimal value that goes out.
    return true;
}

int TFM_MultiSSIDNewForm::CheckHexKey() {
    sendKey_ = false;
    outgoingKey_.clear();
    // A key the user cannot edit stays as the device has it.
    if (!Ed_KeyValue->Enabled()) return 0;
    switch (formparts::OutgoingKey(Ed_KeyValue, CB_KeyType->Text() == "ASCII",
                                   formparts::HexCase::Lower, &outgoingKey_)) {
    case formparts::KeyUse::Keep:
        return 0;
    case formparts::KeyUse::Refused:
        return 1;
    case formparts::KeyUse::Send:
        break;
    }
    sendKey_ = true;
    return 2;
}

// --- column selection ------------------------------------------------------------------

void TFM_MultiSSIDNewForm::SetColumns(int first, int last, int access) {
    QvSNMPVarList& vars = SsidTable->request.vars;
    for (int c = first; c <= last && c < vars.Count(); ++c)
        vars.Item(c)->Access = access;
}

void TFM_MultiSSIDNewForm::AllColumnsWritable() {
    if (SsidTable) SetColumns(col::State, col::Wmm, QvAccess::ReadWrite);
}

bool TFM_MultiSSIDNewForm::SelectColumnsToWrite() {
    sendKey_ = false;
    SetColumns(col::State, col::Wmm, QvAccess::Invalid);
    if (!IfEnabMuSSID->Checked()) return true;
    SetColumns(col::State, col::State, QvAccess::ReadWrite);
    if (CB_IdvState->Text() != "Enabled") return true;
    const int sec = CB_Sec->ItemIndex();
    if (CB_Encry->Text() == "Enabled") {
        if (GP_KeySetting->Visible() && (sec == kSecOpen || sec == kSecShared)) {
            if (!CheckKeyLength()) return false;
            const int key = CheckHexKey();
            if (key == 1) return false;
            if (key == 2) {
                SetColumns(col::Key, col::Key, QvAccess::ReadWrite);
                SetColumns(col::KeyType, col::KeyType, QvAccess::ReadWrite);
            }
            SetColumns(col::KeyIndex, col::KeyIndex, QvAccess::ReadWrite);
        } else if (GP_PSK->Visible()) {
            SetColumns(col::Cipher, col::Cipher, QvAccess::ReadWrite);
            // A passphrase the user cannot edit stays as the device has it.
            if (IsPsk(sec) && Ed_PassPhrase->Enabled())
                SetColumns(col::PassPhrase, col::PassPhrase, QvAccess::ReadWrite);
        }
    }
    for (int c : {col::Ssid, col::Auth, col::Encryption, col::VlanTag})
        SetColumns(c, c, QvAccess::ReadWrite);
    return true;
}

// --- save ---------------------------------------------------------------------------------

bool TFM_MultiSSIDNewForm::Outstanding() const {
    return writes_.Running() || (SsidTable && (SsidTable->busy || SavePending));
}

void TFM_MultiSSIDNewForm::SetPanel(const std::string& text) {
    StatusBar1->Panels()[0]->SetText(text);
}

void TFM_MultiSSIDNewForm::Warn(const std::string& text, const char* caption) {
    MessageBox(this, text, caption, MB_OK | MB_ICONWARNING);
}

bool TFM_MultiSSIDNewForm::TableEditsHold() {
    for (int k = 0; k < SsidTable->AssociationCount(); ++k) {
        const ControlAssociation* a = SsidTable->Association(k);
        if (!a || !SsidTable->request.vars.IsWritable(a->variable)) continue;
        for (TControl* c : a->controls) {
            auto* edit = dynamic_cast<TEdit*>(c);
            if (!edit || !edit->Enabled() || edit->ReadOnly()) continue;
            if (!SsidTable->Constraint().CheckNow(edit)) return false;
        }
    }
    return true;
}

void TFM_MultiSSIDNewForm::SaveButtonClick(TObject*) {
    if (!SsidTable || !VlanState || Outstanding()) return;
    // Without the device's table the entry controls hold nothing to save.
    if (!SsidTable->ReadSucceeded()) {
        SetPanel(SsidTable->ReadFailed() ? SsidTable->LastReadFailure().Message : "");
        return;
    }
    if (CB_VLanState->Checked() && Ed_WLANID->Text().empty()) {
        Warn("Please input VLAN ID!");
        Ed_WLANID->SetFocus();
        return;
    }
    // The row is written after the shared settings: its edits (the VLAN ID)
    // pass their ranges before anything goes out.
    if (!TableEditsHold()) return;
    const int entry = CB_Idx->ItemIndex();
    if (entry <= 0) {
        // The primary entry takes only its VLAN tag from this form.
        writes_.Add(MssidState.get());
        writes_.Add(VlanState.get());
        writes_.Start([this](bool ok, const QvSNMPError& failure) {
            if (!ok) {
                SetPanel(failure.Message);
                return;
            }
            VlanStateOn = CB_VLanState->Checked();
            SetColumns(col::State, col::Wmm, QvAccess::Invalid);
            SetColumns(col::VlanTag, col::VlanTag, QvAccess::ReadWrite);
            TableRead = false;
            if (!StartTableWrite(nullptr)) TableRead = true;
            AllColumnsWritable();
        });
        return;
    }

    // 3. A Multi-SSID entry.
    const int sec = CB_Sec->ItemIndex();
    CB_Encry->SetItemIndex(CB_Encry->Items().IndexOf(sec != kSecNone ? "Enabled" : "Disabled"));
    CB_IdvState->SetItemIndex(CB_IdvState->Items().IndexOf("Enabled"));
    if (GP_KeySetting->Visible()) CB_IdxTmpChange(CB_IdxTmp);
    if (IfEnabMuSSID->Checked()) {
        const std::string ssid = Ed_SSID->Text();
        const char* problem = nullptr;
        if (ssid.empty())
            problem = "Please input SSID!";
        else if (ssid[0] == ' ')
            problem = "The first character can't be blank!";
        else if (ssid.size() > 32)
            problem = "The Max Length of SSID is 32!";
        if (problem) {
            Warn(problem);
            Ed_SSID->SetFocus();
            return;
        }
    }
    // 4. The shared settings, as far as the user can change them.
    const bool serverShown = GP_PSK->Visible();
    if (serverShown) {
        if (Ed_GrpKey->Enabled() && Ed_GrpKey->Text().empty()) {
            Warn("Please input a number between 300 and 9999999.");
            Ed_GrpKey->SetFocus();
            return;
        }
        const size_t pass = Ed_PassPhrase->Text().size();
        if (IsPsk(sec) && Ed_PassPhrase->Enabled() && (pass < 8 || pass > 63)) {
            Warn("The length of 802.11g PassPhrase is between 8 and 63.", "Error");
            Ed_PassPhrase->SetFocus();
            return;
        }
        if (IsEap(sec)) {
            if (Ed_RiduisServ->Enabled() && !TMainForm::IsValidIP(Ed_RiduisServ->Text())) {
                Warn("The Radius server's IP is illegal.", "Error");
                Ed_RiduisServ->SetFocus();
                return;
            }
            if (Ed_RadiusPort->Enabled() && Ed_RadiusPort->Text().empty()) {
                Warn("Please input a number between 1 and 65535.", "Error");
                Ed_RadiusPort->SetFocus();
                return;
            }
        }
    }
    // 6. No two enabled entries share an SSID.
    const std::string own = Lab_Idx->Caption();
    const TListItems& rows = MulSSIDListView->Items();
    for (int r = 0; r < rows.Count(); ++r) {
        const TListItem* row = rows[r];
        const std::string index = Cell(row, col::Index);
        if (index == own || Cell(row, col::Ssid) != Ed_SSID->Text() ||
            Cell(row, col::State) != "Enabled")
            continue;
        const std::string n = IntToStr(StrToIntDef(own, 0) - 1);
        const std::string text =
            index == "1" ? "The 11g Multi-SSID " + n + "'s SSID is same as Primary SSID"
                         : "The 11g Multi-SSID " + n + "'s SSID is same as Multi-SSID " +
                               IntToStr(StrToIntDef(index, 0) - 1);
        Warn(text);
        Ed_SSID->SetFocus();
        return;
    }
    // 7. The row's columns; the key is checked on the way.
    if (!SelectColumnsToWrite()) {
        AllColumnsWritable();
        return;
    }
    // Every check passed: only now does anything go to the device.
    SaveEntry(serverShown, sec);
}

void TFM_MultiSSIDNewForm::SaveEntry(bool serverShown, int sec) {
    if (PrioritySupported) writes_.Add(Priority.get());
    writes_.Add(MssidState.get());
    writes_.Add(VlanState.get());
    // Shared settings go out only when the user can change them.
    if (serverShown && Ed_GrpKey->Enabled()) writes_.Add(GroupKey.get());
    const bool radiusEditable =
        Ed_RiduisServ->Enabled() || Ed_RadiusPort->Enabled() || Ed_RadiusSec->Enabled();
    if (serverShown && IsEap(sec) && radiusEditable) writes_.Add(Radius.get());
    writes_.Start([this, serverShown, sec](bool ok, const QvSNMPError& failure) {
        if (!ok) {
            AllColumnsWritable();
            SetPanel(failure.Message);
            return;
        }
        AfterSharedWrites(serverShown, sec);
    });
}

void TFM_MultiSSIDNewForm::AfterSharedWrites(bool serverShown, int sec) {
    VlanStateOn = CB_VLanState->Checked();
    const std::string own = Lab_Idx->Caption();
    const TListItems& shown = LV_MultiSSID_User->Items();
    // 9. A WEP key slot that another entry uses too.
    if (GP_KeySetting->Visible() && sec != kSecNone) {
        for (int r = 0; r < shown.Count(); ++r) {
            const TListItem* row = HiddenRow(EntryOf(shown[r]));
            if (shown[r]->ColumnText(2) != "WEP" || !row || Cell(row, col::Index) == own ||
                Cell(row, col::KeyIndex) != CB_KeyIndex->Text())
                continue;
            Warn("Key value is used by SSID! \nTo change Key value affects other SSID settings.");
            break;
        }
    }
    if (serverShown) {
        // 10.1 The group key interval is shared by every WPA entry.
        if (IsPsk(sec) && Ed_GrpKey->Text() != KeptGroupKey && !KeptGroupKey.empty()) {
            for (int r = 0; r < shown.Count(); ++r) {
                const std::string enc = shown[r]->ColumnText(2);
                if (enc == "WEP" || enc == "OFF") continue;
                Warn("Group Key Update Interval is used by SSID!\nTo change Group Key Update "
                     "Interval affects other SSID settings.");
                KeptGroupKey = Ed_GrpKey->Text();
                break;
            }
        }
        // 10.3 WPA takes key slots 2 and 3; the form leaves other entries as
        // they are, and says so.
        for (int r = 0; r < shown.Count(); ++r) {
            const int entry = EntryOf(shown[r]);
            const TListItem* row = HiddenRow(entry);
            if (entry == CB_Idx->ItemIndex() || shown[r]->ColumnText(2) != "WEP" || !row)
                continue;
            const std::string slot = Cell(row, col::KeyIndex);
            if (slot == "First" || slot == "Fourth") continue;
            Warn("WPA or PSK will use key slot 2 and 3.\nOther Multiple SSID which uses WEP key 2 "
                 "and 3 keeps its settings; change its key slot to First or Fourth.");
            break;
        }
    }
    WriteEntryRow();
}

void TFM_MultiSSIDNewForm::WriteEntryRow() {
    QvSNMPVarList& vars = SsidTable->request.vars;
    for (int c = 0; c < 12 && c < vars.Count(); ++c)
        savedAccess_[c] = vars.Item(c)->Access;
    SetColumns(col::State, col::KeyType, QvAccess::Invalid);
    SetColumns(col::Ssid, col::Ssid, QvAccess::ReadWrite);
    SavePending = true;
    bool sent = false;
    if (!StartTableWrite(&sent)) {
        SavePending = false;
        AllColumnsWritable();
        return;
    }
    if (sent) GroupVisibility();
    AllColumnsWritable();
    TableRead = false;
    SetPanel("Save Multi-SSID...!");
}

// --- delete, apply, close -------------------------------------------------------------

bool TFM_MultiSSIDNewForm::StartTableWrite(bool* sent) {
    try {
        const bool started = SsidTable->Write(false, true, "", nullptr);
        if (sent) *sent = started;
        return true;
    } catch (const std::exception& e) {
        SetPanel(e.what());
        return false;
    }
}

void TFM_MultiSSIDNewForm::DelButtonClick(TObject*) {
    if (!SsidTable || Outstanding()) return;
    TListItem* chosen = LV_MultiSSID_User->Selected();
    if (!chosen || chosen->Caption() == "Primary") return;
    SetColumns(col::State, col::Wmm, QvAccess::Invalid);
    CB_IdvState->SetItemIndex(CB_IdvState->Items().IndexOf("Disabled"));
    SetColumns(col::State, col::State, QvAccess::ReadWrite);
    SetPanel("Deleting...");
    StartTableWrite(nullptr);
    AllColumnsWritable();
}

void TFM_MultiSSIDNewForm::ApplyBtnClick(TObject*) {
    if (!MssidState || !VlanState || Outstanding()) return;
    SetPanel("Apply the settings...");
    writes_.Add(MssidState.get());
    writes_.Add(VlanState.get());
    writes_.Start([this](bool ok, const QvSNMPError&) {
        if (!ok) {
            SetPanel("Set error!");
            return;
        }
        SetPanel("Setting success!");
        TFM_Waiting::Run();
    });
}

void TFM_MultiSSIDNewForm::CancelBtnClick(TObject*) { Close(); }

void TFM_MultiSSIDNewForm::FormCloseQuery(TObject*, bool& canClose) {
    // Closing waits only for work still on its way, so a failed read
    // never locks the form open.
    canClose = !Outstanding();
}
