#include "forms/wireless/TFM_Wirless.h"

#include "app/MainUnit.h"
#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "base/SysUtils.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "forms/wireless/FormParts.h"
#include "mib/WirelessVars.h"
#include "snmp/QvSNMPRequest.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <utility>

TFM_Wirless* FM_Wirless = nullptr;
std::string TFM_Wirless::SavedChannel;

namespace {

constexpr int kRW = QvAccess::ReadWrite;
constexpr int kRO = QvAccess::ReadOnly;
constexpr int kInvalid = QvAccess::Invalid;
const char* const kEmptyMac = "000000000000";

int Cap(TEdit* TMainForm::*field) {
    return MainForm && MainForm->*field ? TMainForm::FieldAsInt(MainForm->*field) : 0;
}

std::string CapText(TEdit* TMainForm::*field) {
    return MainForm && MainForm->*field ? (MainForm->*field)->Text() : std::string();
}

void SetAccess(QvSNMPRequest2Edits* g, int i, int access) {
    if (g && i < g->request.vars.Count()) g->request.vars.Item(i)->Access = access;
}

void SetAccessRange(QvSNMPRequest2Edits* g, int from, int to, int access) {
    for (int i = from; i <= to; ++i)
        SetAccess(g, i, access);
}

// Selects the item with the text; false (and nothing selected) when none.
bool SelectText(TComboBox* c, const std::string& text) {
    const int k = c->Items().IndexOf(text);
    c->SetItemIndex(k);
    return k >= 0;
}

void SetItems(TComboBox* c, const std::vector<std::string>& items) {
    c->Items().Clear();
    for (const auto& s : items)
        c->Items().Add(s);
}

bool Contains(const std::string& s, const std::string& part) {
    return s.find(part) != std::string::npos;
}

void Warn(const std::string& text, const char* caption) {
    Application->MessageBox(text, caption, MB_OK);
}

bool IsWep(int a) { return a >= 0 && a <= 2; }
bool IsPsk(int a) { return a == 3 || a == 5 || a == 7; }
bool IsEap(int a) { return a == 4 || a == 6 || a == 8; }

const char* const kAuthNine[] = {"Open System", "Shared Key", "Open System / Shared Key",
                                 "WPA-EAP",     "WPA-PSK",    "WPA2-EAP",
                                 "WPA2-PSK",    "WPA-Auto-EAP", "WPA-Auto-PSK"};

// A group whose values may be completed after the controls were collected.
class CompletedGroup : public QvSNMPRequest2Edits {
public:
    using QvSNMPRequest2Edits::QvSNMPRequest2Edits;
    std::function<void()> OnCollected;
    void CollectValues() override {
        QvSNMPRequest2Edits::CollectValues();
        if (OnCollected) OnCollected();
    }
};

} // namespace

// --- construction ----------------------------------------------------------------

TFM_Wirless::TFM_Wirless(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Wirless", .caption = "Home \\ Wireless", .position = poScreenCenter});
    BuildControls();
    Ed_SSIDa->SetMaxLength(32);
    Ed_SSIDg->SetMaxLength(32);
    surveyAllowed = true;
    surveyIdle = true;
    autoScanPresent = false;
    keyTypePresent = false;
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnCloseQuery = [this](TObject* s, bool& can) { FormCloseQuery(s, can); };
}

TFM_Wirless::~TFM_Wirless() {
    if (FM_Wirless == this) FM_Wirless = nullptr;
}

// Controls of this form are owned by their parent; most are one line high.
template <class T> static T* Make(TWinControl* parent, const std::string& name, int left, int top,
                                  int width, int height = 21) {
    return NewControl<T>(parent, parent, name, left, top, width, height);
}

static TComboBox* List(TWinControl* parent, const std::string& name, int left, int top, int width) {
    auto* c = Make<TComboBox>(parent, name, left, top, width);
    c->SetStyle(csDropDownList);
    return c;
}

void TFM_Wirless::BuildControls() {
    SetClientWidth(470);
    PC_Wirless = Make<TPageControl>(this, "PC_Wirless", 8, 8, 454, 600);
    TS_11a = new TTabSheet(PC_Wirless);
    TS_11a->SetName("TS_11a");
    TS_11g = new TTabSheet(PC_Wirless);
    TS_11g->SetName("TS_11g");
    TS_11g->SetTabVisible(false);
    TS_11g->SetEnabled(false);
    PC_Wirless->SetActivePage(TS_11a);
    TWinControl* p = TS_11a;

    Label1 = NewLabel(p, p, "Wireless Network Name(SSID)", 10, 10 + 3);
    Ed_SSIDa = Make<TEdit>(p, "Ed_SSIDa", 205, 10, 230);
    LB_SSIDBcast = NewLabel(p, p, "SSID Broadcast ", 10, 36 + 3);
    CB_SSIDBcasta = List(p, "CB_SSIDBcasta", 205, 36, 120);
    LB_Chan = NewLabel(p, p, "Channel", 10, 62 + 3);
    CB_Chana = List(p, "CB_Chana", 205, 62, 70);
    Ed_RaFreqa = Make<TEdit>(p, "Ed_RaFreqa", 285, 62, 50);
    Ed_RaFreqa->SetReadOnly(true);
    LB_GHz = NewLabel(p, p, "GHz", 337, 62 + 3);
    CB_AuSc = Make<TCheckBox>(p, "CB_AuSc", 205, 86, 160);
    CB_AuSc->SetCaption("Auto Channel Scan");
    Ed_Chana = Make<TEdit>(p, "Ed_Chana", 0, 0, 10);
    Ed_ChanLista = Make<TEdit>(p, "Ed_ChanLista", 0, 0, 10);
    Label24 = NewLabel(p, p, "Super G Mode", 10, 110 + 3);
    AD_SuperMode = List(p, "AD_SuperMode", 205, 110, 200);
    CB_SuModeRpt = List(p, "CB_SuModeRpt", 205, 110, 200);
    SetItems(CB_SuModeRpt, {"Disable", "Enable"});
    Ed_DynChLista = Make<TEdit>(p, "Ed_DynChLista", 0, 0, 10);
    Ed_StatChLista = Make<TEdit>(p, "Ed_StatChLista", 0, 0, 10);
    ED_APModeComboBox = List(p, "ED_APModeComboBox", 0, 0, 10);
    ED_ApMode = NewLabel(p, p, "AP Mode", 10, 136 + 3);
    ED_APModeTempComboBox = List(p, "ED_APModeTempComboBox", 205, 136, 200);

    GroupBox1 = Make<TGroupBox>(p, "GroupBox1", 6, 164, 436, 130);
    GroupBox1->SetCaption(" WDS with AP ");
    NewLabel(GroupBox1, GroupBox1, "Remote AP MAC Address", 10, 18 + 3);
    for (int k = 0; k < 8; ++k) {
        Ed_ReMAddra[k] = Make<TEdit>(GroupBox1, "Ed_ReMAddra" + std::to_string(k),
                                     10 + (k % 4) * 105, 42 + (k / 4) * 28, 100);
        Ed_ReMAddra[k]->SetMaxLength(12);
    }
    GroupBox2 = Make<TGroupBox>(p, "GroupBox2", 6, 164, 436, 72);
    GroupBox2->SetCaption(" AP Repeater  ");
    NewLabel(GroupBox2, GroupBox2, "Root AP MAC Address  ", 10, 18 + 3);
    Ed_RoMAddra0 = Make<TEdit>(GroupBox2, "Ed_RoMAddra0", 180, 18, 120);
    Ed_RoMAddra0->SetMaxLength(12);
    NewLabel(GroupBox2, GroupBox2, "SSID", 10, 44 + 3);
    Ed_SSID = Make<TEdit>(GroupBox2, "Ed_SSID", 180, 44, 240);
    Ed_SSID->SetMaxLength(32);
    // The client's root takes the repeater's place in the client mode.
    Ed_CRoMAddra0 = Make<TEdit>(GroupBox2, "Ed_CRoMAddra0", 180, 18, 120);
    Ed_CRoMAddra0->SetMaxLength(12);
    // The list takes the group's width so that every column shows.
    GroupBox3 = Make<TGroupBox>(p, "GroupBox3", 6, 240, 436, 158);
    GroupBox3->SetCaption(" Site Survey ");
    SiteServeyListView = Make<TListView>(GroupBox3, "SiteServeyListView", 10, 18, 416, 100);
    SiteServeyListView->SetViewStyle(vsReport);
    SiteServeyListView->SetRowSelect(true);
    SiteScan = Make<TButton>(GroupBox3, "SiteScan", 354, 124, 72, 25);
    SiteScan->SetCaption("Scan");
    SiteScanComboBox = List(GroupBox3, "SiteScanComboBox", 0, 0, 10);

    Authentication = NewLabel(p, p, "Authentication", 10, 300 + 3);
    Ed_SecAutha = List(p, "Ed_SecAutha", 0, 0, 10);
    Ed_SecAuthaTemp = List(p, "Ed_SecAuthaTemp", 205, 300, 200);

    GroupBox4 = Make<TGroupBox>(p, "GroupBox4", 6, 326, 436, 190);
    GroupBox4->SetCaption(" Key Settings ");
    NewLabel(GroupBox4, GroupBox4, "Encryption ", 10, 18 + 3);
    Ed_SecEncypa = List(GroupBox4, "Ed_SecEncypa", 120, 18, 90);
    NewLabel(GroupBox4, GroupBox4, "Key Type ", 220, 18 + 3);
    Ed_KeyType = List(GroupBox4, "Ed_KeyType", 300, 18, 90);
    NewLabel(GroupBox4, GroupBox4, "Key Size", 10, 44 + 3);
    Ed_KeySize = List(GroupBox4, "Ed_KeySize", 120, 44, 90);
    NewLabel(GroupBox4, GroupBox4, "Valid Key", 220, 44 + 3);
    Ed_SecValKeya = List(GroupBox4, "Ed_SecValKeya", 300, 44, 90);
    const char* keyCaptions[4] = {"First Key ", "Second Key ", "Third Key ", "Fourth Key "};
    for (int k = 0; k < 4; ++k) {
        NewLabel(GroupBox4, GroupBox4, keyCaptions[k], 10, 72 + k * 28 + 3);
        Ed_Keya[k] = Make<TEdit>(GroupBox4, "Ed_Key" + std::to_string(k + 1) + "a", 120, 72 + k * 28,
                                 300);
        Ed_Keya[k]->SetMaxLength(32);
        Ed_Keya[k]->SetPasswordChar('*');
    }

    // Two label and field pairs a row: labels 10 and 232, fields 122 and 346/370.
    GroupBox5 = Make<TGroupBox>(p, "GroupBox5", 6, 326, 436, 182);
    GroupBox5->SetCaption(" Radius Server Settings ");
    NewLabel(GroupBox5, GroupBox5, "Cipher Type", 10, 18 + 3);
    CiphertypeComboBox = List(GroupBox5, "CiphertypeComboBox", 122, 18, 90);
    NewLabel(GroupBox5, GroupBox5, "Group Key Update Interval   [ 300 - 9999999 ]", 10, 44 + 3);
    GroupKeyEdit = Make<TEdit>(GroupBox5, "GroupKeyEdit", 346, 44, 80);
    NewLabel(GroupBox5, GroupBox5, "Radius Server ", 10, 70 + 3);
    RadiusServerEdit = Make<TEdit>(GroupBox5, "RadiusServerEdit", 122, 70, 104);
    NewLabel(GroupBox5, GroupBox5, "Radius Port (1-65535)", 232, 70 + 3);
    RadiusportEdit = Make<TEdit>(GroupBox5, "RadiusportEdit", 370, 70, 56);
    NewLabel(GroupBox5, GroupBox5, "Radius Secret", 10, 96 + 3);
    RadiusSecretEdit = Make<TEdit>(GroupBox5, "RadiusSecretEdit", 122, 96, 104);
    RadiusSecretEdit->SetPasswordChar('*');
    Label25 = NewLabel(GroupBox5, GroupBox5, "Accounting Mode", 10, 122 + 3);
    CB_AcntEnable = List(GroupBox5, "CB_AcntEnable", 122, 122, 90);
    Label5 = NewLabel(GroupBox5, GroupBox5, "Accounting Server", 10, 148 + 3);
    Ed_AcntServer = Make<TEdit>(GroupBox5, "Ed_AcntServer", 122, 148, 104);
    Label26 = NewLabel(GroupBox5, GroupBox5, "Accounting Port", 232, 148 + 3);
    Ed_AcntPort = Make<TEdit>(GroupBox5, "Ed_AcntPort", 370, 148, 56);

    GroupBox6 = Make<TGroupBox>(p, "GroupBox6", 6, 326, 436, 100);
    GroupBox6->SetCaption(" PassPhrase Settings ");
    NewLabel(GroupBox6, GroupBox6, "Cipher Type", 10, 18 + 3);
    CipherforPSKBox = List(GroupBox6, "CipherforPSKBox", 200, 18, 90);
    NewLabel(GroupBox6, GroupBox6, "Group Key Update Interval", 10, 44 + 3);
    GroupKeyPSKEdit = Make<TEdit>(GroupBox6, "GroupKeyPSKEdit", 200, 44, 90);
    NewLabel(GroupBox6, GroupBox6, "PassPhrase ", 10, 70 + 3);
    PassPhrasePSKEdit = Make<TEdit>(GroupBox6, "PassPhrasePSKEdit", 200, 70, 220);
    PassPhrasePSKEdit->SetPasswordChar('*');

    GroupBox7 = Make<TGroupBox>(p, "GroupBox7", 6, 480, 436, 130);
    GroupBox7->SetCaption("Secondary  Radius Server Settings ");
    NewLabel(GroupBox7, GroupBox7, "Radius Server ", 10, 18 + 3);
    Ed_SecRadiusServer = Make<TEdit>(GroupBox7, "Ed_SecRadiusServer", 122, 18, 104);
    NewLabel(GroupBox7, GroupBox7, "RADIUS Mode ", 232, 18 + 3);
    CB_SecRadiusMode = List(GroupBox7, "CB_SecRadiusMode", 346, 18, 80);
    NewLabel(GroupBox7, GroupBox7, "Radius Secret", 10, 44 + 3);
    Ed_SecRadiusSecret = Make<TEdit>(GroupBox7, "Ed_SecRadiusSecret", 122, 44, 104);
    Ed_SecRadiusSecret->SetPasswordChar('*');
    NewLabel(GroupBox7, GroupBox7, "Radius Port (1-65535)", 232, 44 + 3);
    Ed_SecRadiusport = Make<TEdit>(GroupBox7, "Ed_SecRadiusport", 370, 44, 56);
    NewLabel(GroupBox7, GroupBox7, "Accounting Server", 10, 70 + 3);
    Ed_SecAccountServer = Make<TEdit>(GroupBox7, "Ed_SecAccountServer", 122, 70, 104);
    NewLabel(GroupBox7, GroupBox7, "Accounting Mode ", 232, 70 + 3);
    CB_SecAccountMode = List(GroupBox7, "CB_SecAccountMode", 346, 70, 80);
    NewLabel(GroupBox7, GroupBox7, "Accounting Port (1-65535)", 10, 96 + 3);
    Ed_SecAccountPort = Make<TEdit>(GroupBox7, "Ed_SecAccountPort", 182, 96, 56);
    Ed_RaduisSupport = Make<TEdit>(p, "Ed_RaduisSupport", 0, 0, 10);
    Ed_AccountSupport = Make<TEdit>(p, "Ed_AccountSupport", 0, 0, 10);

    CbxRadio = List(p, "CbxRadio", 0, 0, 10);
    CB_bgmode = List(p, "CB_bgmode", 0, 0, 10);
    CB_gmultioverwds = List(p, "CB_gmultioverwds", 0, 0, 10);
    Ed_Firmware = Make<TEdit>(p, "Ed_Firmware", 0, 0, 10);
    CB_MultEnable = List(p, "CB_MultEnable", 0, 0, 10);
    for (int k = 0; k < 7; ++k) {
        CB_MultEncyt[k] = List(p, "CB_MultEncyt" + std::to_string(k + 1), 0, 0, 10);
        CB_MultiAuth[k] = List(p, "CB_MultiAuth" + std::to_string(k + 1), 0, 0, 10);
    }
    LV_Multi2 = Make<TListView>(p, "LV_Multi2", 0, 0, 10, 10);
    Master_ComboBox = List(p, "Master_ComboBox", 0, 0, 10);
    for (int k = 0; k < 3; ++k) {
        Guest_ComboBox[k] = List(p, "Guest" + std::to_string(k + 1) + "_ComboBox", 0, 0, 10);
        GuestEncry_ComboBox[k] =
            List(p, "GuestEncry" + std::to_string(k + 1) + "_ComboBox", 0, 0, 10);
        GuestKeyIndex_ComboBox[k] =
            List(p, "GuestKeyIndex" + std::to_string(k + 1) + "_ComboBox", 0, 0, 10);
    }
    for (TControl* c : std::vector<TControl*>{
             Ed_Chana, Ed_ChanLista, Ed_DynChLista, Ed_StatChLista, ED_APModeComboBox,
             Ed_CRoMAddra0, SiteScanComboBox, Ed_SecAutha, Ed_RaduisSupport, Ed_AccountSupport,
             CbxRadio, CB_bgmode, CB_gmultioverwds, Ed_Firmware, CB_MultEnable, LV_Multi2,
             Master_ComboBox})
        c->Hide();
    for (int k = 0; k < 7; ++k) {
        CB_MultEncyt[k]->Hide();
        CB_MultiAuth[k]->Hide();
    }
    for (int k = 0; k < 3; ++k) {
        Guest_ComboBox[k]->Hide();
        GuestEncry_ComboBox[k]->Hide();
        GuestKeyIndex_ComboBox[k]->Hide();
    }

    TWinControl* g = TS_11g;
    NewLabel(g, g, "Wireless Network Name(SSID)", 10, 10 + 3);
    Ed_SSIDg = Make<TEdit>(g, "Ed_SSIDg", 190, 10, 240);
    NewLabel(g, g, "SSID Broadcast ", 10, 36 + 3);
    CB_SSIDBcastg = List(g, "CB_SSIDBcastg", 190, 36, 120);
    NewLabel(g, g, "Channel", 10, 62 + 3);
    CB_Chang = List(g, "CB_Chang", 190, 62, 70);
    Ed_RaFreqg = Make<TEdit>(g, "Ed_RaFreqg", 270, 62, 50);
    Ed_RaFreqg->SetReadOnly(true);
    Ed_ChanListg = Make<TEdit>(g, "Ed_ChanListg", 0, 0, 10);
    Ed_Chang = Make<TEdit>(g, "Ed_Chang", 0, 0, 10);
    Ed_ChanListg->Hide();
    Ed_Chang->Hide();

    Bt_Apply = Make<TButton>(this, "Bt_Apply", 150, 620, 75, 25);
    Bt_Apply->SetCaption("Apply");
    Bt_Refresh = Make<TButton>(this, "Bt_Refresh", 235, 620, 75, 25);
    Bt_Refresh->SetCaption("Refresh");
    Bt_Close = Make<TButton>(this, "Bt_Close", 320, 620, 75, 25);
    Bt_Close->SetCaption("Close");
    StatusBar = Make<TStatusBar>(this, "StatusBar", 0, 0, 470, 20);
    StatusBar->SetAlign(alBottom);
    StatusBar->Panels().Add()->SetWidth(400);

    Bt_Apply->OnClick = [this](TObject* s) { Bt_ApplyClick(s); };
    Bt_Refresh->OnClick = [this](TObject* s) { Bt_RefreshClick(s); };
    Bt_Close->OnClick = [this](TObject* s) { Bt_CloseClick(s); };
    SiteScan->OnClick = [this](TObject* s) { SiteScanClick(s); };
    SiteServeyListView->OnClick = [this](TObject* s) { SiteServeyListViewClick(s); };
    ED_APModeTempComboBox->OnChange = [this](TObject* s) { ED_APModeTempComboBoxtestChange(s); };
    for (int k = 0; k < 7; ++k) {
        CB_MultEncyt[k]->OnChange = ED_APModeTempComboBox->OnChange;
        CB_MultiAuth[k]->OnChange = ED_APModeTempComboBox->OnChange;
    }
    Ed_SecAuthaTemp->OnChange = [this](TObject* s) { Ed_SecAuthaTempChange(s); };
    Ed_SecAutha->OnChange = [this](TObject* s) { Ed_SecAuthaChange(s); };
    Ed_SecEncypa->OnChange = [this](TObject* s) { Ed_SecEncypaChange(s); };
    Ed_SecValKeya->OnChange = [this](TObject* s) { Ed_SecValKeyaChange(s); };
    Ed_KeyType->OnChange = [this](TObject* s) { Ed_KeyTypeChange(s); };
    Ed_KeySize->OnChange = [this](TObject* s) { Ed_KeySizeChange(s); };
    CB_AuSc->OnClick = [this](TObject* s) { CB_AuScChange(s); };
    CB_Chana->OnChange = [this](TObject* s) { CB_ChanaChange(s); };
    AD_SuperMode->OnChange = [this](TObject* s) { AD_SuperModeChange(s); };
    CB_SuModeRpt->OnChange = [this](TObject* s) { CB_SuModeRptChange(s); };
    CB_bgmode->OnChange = [this](TObject* s) { CB_bgmodeChange(s); };
    CB_AcntEnable->OnChange = [this](TObject* s) { CB_AcntEnableChange(s); };
    CB_SecAccountMode->OnChange = [this](TObject* s) { CB_SecAccountModeChange(s); };
    CB_SecRadiusMode->OnChange = [this](TObject* s) { CB_SecRadiusModeChange(s); };
    Ed_SSID->OnChange = [this](TObject* s) { Ed_SSIDChange(s); };
    Ed_SSIDa->OnChange = [this](TObject* s) { Ed_SSIDaChange(s); };
}

// --- groups ----------------------------------------------------------------------

// Time-outs are given in milliseconds; the request counts hundredths.
std::unique_ptr<QvSNMPRequest2Edits> TFM_Wirless::NewGroup(const QvSNMPVar* table, int kind,
                                                           int keys, int mode, int timeoutMs) {
    auto g = std::make_unique<QvSNMPRequest2Edits>(this);
    g->request.vars = QvSNMPVarList(table, static_cast<uint8_t>(kind), static_cast<uint32_t>(keys));
    g->mode = static_cast<uint8_t>(mode);
    if (timeoutMs > 0) g->request.Timeout = timeoutMs / 10;
    return g;
}

int TFM_Wirless::ModeOfEntry(const std::string& text) {
    if (text == "Access Point") return kModeAccessPoint;
    if (text == "WDS with AP" || text == "PtP Bridge") return kModeWdsWithAp;
    if (text == "WDS" || text == "PtMP Bridge") return kModeWds;
    if (Contains(text, "Repeater")) return kModeRepeater;
    if (Contains(text, "Client")) return kModeClient;
    return -1;
}

// The list holds only the modes the device offers, so an entry's place says
// nothing: the rules go by what the chosen entry stands for.
int TFM_Wirless::ShownMode() const { return ModeOfEntry(ED_APModeTempComboBox->Text()); }

bool TFM_Wirless::ComputeFullLayout() {
    const std::string model = g_ModelName;
    const std::string digits = model.size() >= 8 ? model.substr(4, 4) : std::string();
    const std::string fw = CapText(&TMainForm::Ed_FwVer);
    const std::string v = fw.size() > 1 ? fw.substr(1, 4) : std::string();
    return (digits == "7300" && (v == "2.10" || v >= "2.11")) ||
           CapText(&TMainForm::ifMultiSSID_Edit) == "1";
}

void TFM_Wirless::FormCreate(TObject*) {
    fullLayout = ComputeFullLayout();
    if (TS_11a->TabVisible()) TS_11a->SetCaption(g_BandCaption);
    if (TS_11g->TabVisible()) TS_11g->SetCaption(g_BandCaption);
    if (fullLayout)
        CreateFullLayoutGroups();
    else
        ShrinkLayout();

    // 1. SSID, channel and radio frequency of each visible band.
    req2SSID = NewGroup(mib::wlSsidTable, MVT_SV, 0, 0, 800);
    if (TS_11a->TabVisible()) {
        SetAccessRange(req2SSID.get(), 0, 2, kRW);
        SetAccessRange(req2SSID.get(), 3, 4, kRO);
        req2SSID->AssociateEdits(0, "%s", Ed_SSIDa);
        req2SSID->AssociateComboBox(1, CB_SSIDBcasta);
        req2SSID->AssociateEdits(2, "%s", Ed_Chana);
        req2SSID->AssociateEdits(3, "%s", Ed_ChanLista);
        req2SSID->AssociateEdits(4, "%s", Ed_RaFreqa);
    }
    if (TS_11g->TabVisible()) {
        SetAccessRange(req2SSID.get(), 5, 7, kRW);
        SetAccessRange(req2SSID.get(), 8, 9, kRO);
        req2SSID->AssociateEdits(5, "%s", Ed_SSIDg);
        req2SSID->AssociateComboBox(6, CB_SSIDBcastg);
        req2SSID->AssociateEdits(7, "%s", Ed_Chang);
        req2SSID->AssociateEdits(8, "%s", Ed_ChanListg);
        req2SSID->AssociateEdits(9, "%s", Ed_RaFreqg);
    }
    req2SSID->SetStatusBar(StatusBar);
    req2SSID->Read();
    SavedChannel = Ed_Chana->Text();

    // 2. Super G, its list by the device's turbo modes.
    req2SuperG = NewGroup(mib::wlSuperGTable, SVT_SV, 0, 0, 1000);
    const int turbo = Cap(&TMainForm::ED_Turbomode);
    req2SuperG->request.vars.Item(0)->OptionList =
        turbo == 0 ? &mib::wlSuperG2List : turbo == 2 ? &mib::wlSuperG3List : &mib::wlSuperG4List;
    req2SuperG->AssociateComboBox(0, AD_SuperMode);
    req2SuperG->Read();
    RepeaterSuperGRule();

    // 3. Turbo channel lists. Both are blank-separated lists, shown as text.
    req2DynCh = NewGroup(mib::wlDynamicChannelTable, SVT_SV, 0, 0, 1000);
    req2DynCh->AssociateEdits(0, "%s", Ed_DynChLista);
    if (!req2DynCh->Read()) Ed_DynChLista->SetText("6");
    req2StatCh = NewGroup(mib::wlStaticChannelTable, SVT_SV, 0, 0, 1000);
    req2StatCh->AssociateEdits(0, "%s", Ed_StatChLista);
    if (!req2StatCh->Read()) Ed_StatChLista->SetText("6");

    // 4. WDS consistency (optional) and the radio.
    req2WdsCons = NewGroup(mib::wlWdsConsistencyTable, MVT_SV, 0, 0, 5000);
    req2WdsCons->AssociateComboBox(0, CB_gmultioverwds);
    wdsConsistencyPresent = req2WdsCons->Read();
    req2Radio = NewGroup(mib::wlRadioTable, MVT_SV, 0, 1, 1000);
    req2Radio->AssociateComboBox(0, CbxRadio);
    req2Radio->Read();

    // 5.
    AD_SuperModeChange(nullptr);
    if (wifiModePresent) CB_bgmodeChange(nullptr);
    FillChannels(CB_Chana, Ed_ChanLista->Text(), Ed_Chana);
    FillChannels(CB_Chang, Ed_ChanListg->Text(), Ed_Chang);
    Ed_SSIDa->SetMaxLength(32);
    Ed_SSIDg->SetMaxLength(32);
    KeepUnreadGroupsGreyed();
    Relayout();
}

void TFM_Wirless::ShrinkLayout() {
    for (TControl* c : std::vector<TControl*>{CB_AuSc, GroupBox1, GroupBox2, GroupBox3,
                                              Authentication, Ed_SecAutha, Ed_SecAuthaTemp,
                                              GroupBox4, GroupBox5, GroupBox6, GroupBox7,
                                              ED_ApMode, ED_APModeTempComboBox})
        c->Hide();
}

void TFM_Wirless::CreateFullLayoutGroups() {
    CreateFirmwareAndAutoScanGroups();
    CreateModeGroups();
    CreateSecurityGroups();
    CreateMultiSsidGroups();
    CreateRadiusGroups();
    CreatePassphraseAndSurveyGroups();
    ApplyOpeningLayout();
}

// The firmware text and the optional auto-scan box.
void TFM_Wirless::CreateFirmwareAndAutoScanGroups() {
    req2Firmware = NewGroup(mib::wlFirmwareTable, SVT_SV, 0, 0, 0);
    req2Firmware->AssociateEdits(0, "%s", Ed_Firmware);
    req2Firmware->Read();

    // Optional: its answer decides whether the box shows.
    req2AutoScan = NewGroup(mib::wlAutoScanTable, MVT_SV, 0, 1, 0);
    req2AutoScan->AssociateControl(0, CB_AuSc);
    CB_AuSc->Hide();
    {
        std::shared_ptr<bool> first = std::make_shared<bool>(true);
        req2AutoScan->OnReadDone = [this, first](QvSNMPRequest2Controls*, QvSNMPError* e) {
            const bool ok = !e || e->Code == 0;
            if (*first) {
                *first = false;
                autoScanPresent = ok;
                CB_AuSc->SetVisible(ok);
                Relayout();
            }
            // Only the channel's state: the rule itself reads this group again.
            if (ok && ShownMode() == kModeAccessPoint) CB_AuScChange(nullptr);
        };
    }
    req2AutoScan->Read();
}

// The AP mode with the WDS peers, the b/g mode, the roots.
void TFM_Wirless::CreateModeGroups() {
    req2ApMode = NewGroup(mib::wlApModeTable, MVT_SV, 0, 0, 2000);
    req2ApMode->request.vars.Item(0)->OptionList = Cap(&TMainForm::ApmodeStringChangeSupport) == 1
                                                       ? &mib::wlApModeNewNamesList
                                                       : &mib::wlApModeList;
    req2ApMode->AssociateComboBox(0, ED_APModeComboBox);
    for (int k = 0; k < 8; ++k)
        req2ApMode->AssociateEdits(1 + k, "%h", Ed_ReMAddra[k]);
    req2ApMode->OnAfterWrite = [this] {
        for (TEdit* e : Ed_ReMAddra)
            if (e->Text() == kEmptyMac) e->Clear();
        if (Ed_RoMAddra0->Text() == kEmptyMac) Ed_RoMAddra0->Clear();
        if (Ed_CRoMAddra0->Text() == kEmptyMac) Ed_CRoMAddra0->Clear();
    };
    req2ApMode->Read();
    if (ED_APModeComboBox->ItemIndex() < 0 && ED_APModeComboBox->Items().Count() > 0)
        ED_APModeComboBox->SetItemIndex(0);

    req2WifiMode = NewGroup(mib::wlWifiModeTable, SVT_SV, 0, 0, 0);
    req2WifiMode->AssociateComboBox(0, CB_bgmode);
    wifiModePresent = req2WifiMode->Read();

    req2Repeater = NewGroup(mib::wlRepeaterTable, MVT_SV, 0, 0, 1000);
    req2Repeater->AssociateEdits(0, "%h", Ed_RoMAddra0);
    req2Repeater->AssociateEdits(1, "%s", Ed_SSID);
    req2Repeater->AssociateEdits(2, "%h", Ed_CRoMAddra0);
    req2Repeater->Read();
    savedRootMac = Ed_RoMAddra0->Text();
    savedClientRootMac = Ed_CRoMAddra0->Text();
    savedRepeaterSsid = Ed_SSID->Text();
}

// The primary SSID's security and the key type.
void TFM_Wirless::CreateSecurityGroups() {
    {
        auto g = std::make_unique<CompletedGroup>(this);
        g->request.vars = QvSNMPVarList(mib::wlSecurityTable, MVT_SV, 0);
        g->mode = 0;
        g->request.Timeout = 500;
        g->OnCollected = [this] {
            if (outgoingKey_ < 0) return;
            QvSNMPVar* v = req2Security->request.vars.Item(6 + outgoingKey_);
            *v->Value = outgoingKeyText_;
        };
        req2Security = std::move(g);
    }
    SetAccessRange(req2Security.get(), 0, 2, kRW);
    SetAccessRange(req2Security.get(), 6, 9, kRW);
    req2Security->AssociateComboBox(0, Ed_SecAutha);
    req2Security->AssociateComboBox(1, Ed_SecEncypa);
    req2Security->AssociateComboBox(2, Ed_SecValKeya);
    req2Security->OnAfterRead = [this] { ShowKeys(); };
    req2Security->Read();
    savedValidKey = Ed_SecValKeya->Text();

    if (Cap(&TMainForm::Ed_KeyTypeSup) == 1) {
        req2KeyType = NewGroup(mib::wlKeyTypeTable, SVT_SV, 0, 0, 1000);
        req2KeyType->AssociateComboBox(0, Ed_KeyType);
        keyTypePresent = req2KeyType->Read();
    }
}

// The Multi-SSID state the primary must respect, by generation.
void TFM_Wirless::CreateMultiSsidGroups() {
    const int newMulti = Cap(&TMainForm::NewMultiSupport);
    if (newMulti == 1) {
        req2MssidState = NewGroup(mib::wlMssidStateTable, SVT_SV, 0, 0, 1000);
        req2MssidState->AssociateComboBox(0, CB_MultEnable);
        req2MssidState->Read();
        multiSsidOn = CB_MultEnable->ItemIndex() > 0;
        req2MssidTable = NewGroup(mib::wlMssidTable, MVT_UMV, 2, 0, 1000);
        req2MssidTable->BindListView(LV_Multi2, true);
        req2MssidTable->Read();
        ValidKeyRestriction();
    } else if (newMulti == 0 && Cap(&TMainForm::Ed_DelFunction) != 1) {
        req2Vlan = NewGroup(mib::wlVlanTable, MVT_SV, 0, 0, 1000);
        req2Vlan->AssociateComboBox(0, Master_ComboBox);
        for (int k = 0; k < 3; ++k) {
            req2Vlan->AssociateComboBox(1 + k, Guest_ComboBox[k]);
            req2Vlan->AssociateComboBox(4 + k, GuestEncry_ComboBox[k]);
        }
        req2Vlan->Read();
        req2GuestKeyIndex = NewGroup(mib::wlGuestKeyIndexTable, MVT_SV, 0, 1, 1000);
        for (int k = 0; k < 3; ++k)
            req2GuestKeyIndex->AssociateComboBox(k, GuestKeyIndex_ComboBox[k]);
        req2GuestKeyIndex->Read();
    }
}

// The RADIUS server, accounting and the backup servers.
void TFM_Wirless::CreateRadiusGroups() {
    req2Radius = NewGroup(mib::wlRadiusTable, MVT_SV, 0, 0, 5000);
    req2Radius->AssociateComboBox(0, CiphertypeComboBox);
    req2Radius->AssociateEdits(1, "%u{n1x65535}", RadiusportEdit);
    req2Radius->AssociateEdits(2, "%u{n300x9999999}", GroupKeyEdit);
    req2Radius->AssociateEdits(3, "%s", RadiusServerEdit);
    req2Radius->AssociateEdits(4, "%s", RadiusSecretEdit);
    req2Radius->Read();
    savedGroupKey = GroupKeyEdit->Text();
    savedRadiusServer = RadiusServerEdit->Text();
    savedRadiusPort = RadiusportEdit->Text();
    savedRadiusSecret = RadiusSecretEdit->Text();
    savedCipher = CiphertypeComboBox->Text();

    req2Accounting = NewGroup(mib::wlAccountingTable, MVT_SV, 0, 0, 0);
    req2Accounting->AssociateComboBox(0, CB_AcntEnable);
    req2Accounting->AssociateEdits(1, "%s", Ed_AcntServer);
    req2Accounting->AssociateEdits(2, "%u{n1x65535}", Ed_AcntPort);
    accountingPresent = req2Accounting->Read();
    GroupBox5->SetCaption(accountingPresent ? "Primary Radius Server Settings"
                                            : "Radius Server Settings");
    for (TControl* c : std::vector<TControl*>{Label5, Ed_AcntServer, Label26, Ed_AcntPort, Label25,
                                              CB_AcntEnable})
        c->SetVisible(accountingPresent);
    GroupBox5->SetHeight(accountingPresent ? 182 : 130);

    req2BkRadiusSup = NewGroup(mib::wlBackupRadiusSupportTable, SVT_SV, 0, 0, 1000);
    req2BkRadiusSup->AssociateEdits(0, "%s", Ed_RaduisSupport);
    req2BkRadiusSup->Read();
    req2BkAccountSup = NewGroup(mib::wlBackupAccountSupportTable, SVT_SV, 0, 0, 1000);
    req2BkAccountSup->AssociateEdits(0, "%s", Ed_AccountSupport);
    req2BkAccountSup->Read();
    if (Ed_RaduisSupport->Text() == "1") {
        req2BkRadius = NewGroup(mib::wlBackupRadiusTable, SVT_SV, 0, 0, 1000);
        req2BkRadius->AssociateEdits(0, "%s", Ed_SecRadiusServer);
        req2BkRadius->AssociateEdits(1, "%u{n1x65535}", Ed_SecRadiusport);
        req2BkRadius->AssociateEdits(2, "%s", Ed_SecRadiusSecret);
        req2BkRadius->AssociateComboBox(3, CB_SecRadiusMode);
        req2BkRadius->Read();
        BackupRadiusRule();
    }
    if (Ed_AccountSupport->Text() == "1") {
        req2BkAccount = NewGroup(mib::wlBackupAccountTable, MVT_SV, 0, 0, 1000);
        req2BkAccount->AssociateComboBox(0, CB_SecAccountMode);
        req2BkAccount->AssociateEdits(1, "%s", Ed_SecAccountServer);
        req2BkAccount->AssociateEdits(2, "%u{n1x65535}", Ed_SecAccountPort);
        req2BkAccount->Read();
        AccountingRule();
    }
}

// The passphrase, the survey's two groups and the Multi-SSID
// security the primary's change may touch.
void TFM_Wirless::CreatePassphraseAndSurveyGroups() {
    req2Passphrase = NewGroup(mib::wlPassphraseTable, MVT_SV, 0, 0, 5000);
    req2Passphrase->AssociateComboBox(0, CipherforPSKBox);
    req2Passphrase->AssociateEdits(1, "%u{n300x9999999}", GroupKeyPSKEdit);
    req2Passphrase->AssociateEdits(2, "%s", PassPhrasePSKEdit);
    req2Passphrase->Read();

    req2Refresh = NewGroup(mib::wlRefreshTable, SVT_SV, 0, 1, 5000);
    req2Refresh->AssociateComboBox(0, SiteScanComboBox);
    req2Refresh->OnWriteDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
        RefreshDone(s, e);
    };
    req2Survey = NewGroup(mib::wlSurveyTable, MVT_UMV, 1, 1, 1000);
    req2Survey->BindListView(SiteServeyListView, true);
    req2Survey->OnReadDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) { SurveyDone(s, e); };
    SizeSurveyColumns();

    if (Cap(&TMainForm::NewMultiSupport) == 1) {
        req2MssidEnc = NewGroup(mib::wlMssidSecurityTable, MVT_SV, 0, 1, 5000);
        for (int k = 0; k < 7; ++k)
            req2MssidEnc->AssociateComboBox(k, CB_MultEncyt[k]);
        req2MssidEnc->Read();
        req2MssidAuth = NewGroup(mib::wlMssidSecurityTable, MVT_SV, 0, 1, 5000);
        for (int k = 0; k < 7; ++k)
            req2MssidAuth->AssociateComboBox(7 + k, CB_MultiAuth[k]);
    }
}

// The lists and display rules of what was read.
void TFM_Wirless::ApplyOpeningLayout() {
    FillKeyLists();
    KeyEditLengths();
    BuildApModeList();
    ApModeLayout();
    MacEditRule();
    FixedMaxLengths();
    SecurityLayout();
    KeyDisplayConversion();
}

// --- display rules -----------------------------------------------------------------

bool TFM_Wirless::FillChannels(TComboBox* combo, const std::string& list, TEdit* channel) {
    combo->Items().Clear();
    int selected = -1;
    std::string token;
    auto flush = [&] {
        if (token.empty()) return;
        const int k = combo->Items().Add(token);
        if (token == channel->Text()) selected = k;
        token.clear();
    };
    for (char ch : list) {
        if (ch == ' ')
            flush();
        else
            token += ch;
    }
    flush();
    combo->SetItemIndex(selected);
    return selected >= 0;
}

void TFM_Wirless::AD_SuperModeChange(TObject*) {
    const int turbo = Cap(&TMainForm::ED_Turbomode);
    const int s = AD_SuperMode->ItemIndex();
    bool selected = false;
    auto plain = [&] {
        Ed_Chana->SetText(SavedChannel);
        selected = FillChannels(CB_Chana, Ed_ChanLista->Text(), Ed_Chana);
    };
    if (turbo == 0) {
        plain();
    } else if (turbo == 1) {
        if (s == 1)
            selected = FillChannels(CB_Chana, Ed_StatChLista->Text(), Ed_Chana);
        else if (s == 2)
            selected = FillChannels(CB_Chana, Ed_DynChLista->Text(), Ed_Chana);
        else
            plain();
    } else if (turbo == 2) {
        if (s == 1)
            selected = FillChannels(CB_Chana, Ed_DynChLista->Text(), Ed_Chana);
        else
            plain();
    } else {
        plain();
    }
    if (!selected && CB_Chana->Items().Count() > 0) CB_Chana->SetItemIndex(0);
    ChannelStateRule();
    if (Cap(&TMainForm::NewMultiSupport) == 1 && AD_SuperMode->Text().rfind("Disable", 0) != 0 &&
        CB_MultEnable->ItemIndex() == 1)
        Warn("If Super G is not \"Disable\",\nThe Multi-SSID should be set to \"Disabled\".",
             "Warning");
}

void TFM_Wirless::CB_ChanaChange(TObject*) { SavedChannel = CB_Chana->Text(); }

void TFM_Wirless::CB_AuScChange(TObject*) {
    CB_Chana->SetEnabled(!CB_AuSc->Checked());
    KeepUnreadGroupsGreyed();
}

void TFM_Wirless::ChannelStateRule() {
    const int p = ShownMode();
    if (p == 0) {
        CB_AuSc->SetEnabled(true);
        if (autoScanPresent && req2AutoScan && !req2AutoScan->busy) req2AutoScan->Read();
        CB_Chana->SetEnabled(!CB_AuSc->Checked());
    } else if (p >= 1 && p <= 3) {
        CB_AuSc->SetChecked(false);
        CB_AuSc->SetEnabled(false);
        CB_Chana->SetEnabled(p != 3);
    } else if (p == 4) {
        CB_AuSc->SetChecked(false);
        CB_AuSc->SetEnabled(false);
        CB_Chana->SetEnabled(false);
    }
    const int turbo = Cap(&TMainForm::ED_Turbomode);
    const int s = AD_SuperMode->ItemIndex();
    if ((turbo == 1 && s == 2) || (turbo == 2 && s == 1)) CB_Chana->SetEnabled(false);
    KeepUnreadGroupsGreyed();
}

void TFM_Wirless::RepeaterSuperGRule() {
    const std::string raw = CapText(&TMainForm::Ed_RptModeToSuper);
    int rpt = 1;
    try {
        size_t used = 0;
        rpt = std::stoi(raw, &used);
        if (used != raw.size()) rpt = 1;
    } catch (...) {
        rpt = 1;
    }
    if (rpt == 0 && ShownMode() == kModeRepeater) {
        if (!SelectText(CB_SuModeRpt, AD_SuperMode->Text())) CB_SuModeRpt->SetItemIndex(1);
        CB_SuModeRpt->Show();
        AD_SuperMode->Hide();
    } else {
        CB_SuModeRpt->Hide();
        AD_SuperMode->Show();
    }
}

void TFM_Wirless::CB_SuModeRptChange(TObject*) {
    if (!SelectText(AD_SuperMode, CB_SuModeRpt->Text()) && AD_SuperMode->Items().Count() > 0)
        AD_SuperMode->SetItemIndex(0);
    AD_SuperModeChange(nullptr);
}

void TFM_Wirless::CB_bgmodeChange(TObject*) {
    const bool on = CB_bgmode->ItemIndex() != 1;
    AD_SuperMode->SetEnabled(on);
    CB_SuModeRpt->SetEnabled(on);
    KeepUnreadGroupsGreyed();
}

void TFM_Wirless::BuildApModeList() {
    const int bits = Cap(&TMainForm::APModeSupport);
    const bool newNames = Cap(&TMainForm::ApmodeStringChangeSupport) == 1;
    std::vector<std::string> items;
    if (bits & 16) items.push_back("Access Point");
    if (bits & (8 | 4)) items.push_back(bits > 31 ? "WDS with AP" : "PtP Bridge");
    if (bits & (64 | 32)) items.push_back(bits > 31 ? "WDS" : "PtMP Bridge");
    if (bits & 2) items.push_back(newNames ? "Universal Repeater" : "AP Repeater");
    if (bits & 1) items.push_back(newNames ? "Wireless Client" : "AP Client");
    SetItems(ED_APModeTempComboBox, items);
    const std::string bound = ED_APModeComboBox->Text();
    if (bound == "Access Point" || Contains(bound, "Repeater") || Contains(bound, "Client"))
        SelectText(ED_APModeTempComboBox, bound);
    else if (bound == "PtP Bridge" || bound == "PtMP Bridge")
        SelectText(ED_APModeTempComboBox, "WDS with AP");
    else if (bound == "PtP Without" || bound == "P2MP Without")
        SelectText(ED_APModeTempComboBox, "WDS");
    else
        ED_APModeTempComboBox->SetItemIndex(-1);
}

void TFM_Wirless::ApModeLayout() {
    const int p = ShownMode();
    const bool newNames = Cap(&TMainForm::ApmodeStringChangeSupport) == 1;
    if (p >= 0 && p <= 2) {
        Label1->Show();
        Ed_SSIDa->Show();
        GroupBox1->SetVisible(p != 0);
        GroupBox2->Hide();
        GroupBox3->Hide();
        if (p == 1) GroupBox1->SetCaption(" WDS with AP ");
        if (p == 2) GroupBox1->SetCaption(" WDS without AP ");
    } else if (p == 3 || p == 4) {
        Label1->Hide();
        Ed_SSIDa->Hide();
        GroupBox1->Hide();
        GroupBox2->Show();
        GroupBox3->Show();
        // Each mode shows its own root object in the same place.
        Ed_RoMAddra0->SetVisible(p == 3);
        Ed_CRoMAddra0->SetVisible(p == 4);
        if (p == 3) {
            GroupBox2->SetCaption(newNames ? " Universal Repeater " : " AP Repeater ");
            SetEditable(Ed_RoMAddra0, true);
            SetEditable(Ed_SSID, false);
        } else {
            GroupBox2->SetCaption(newNames ? " Wireless Client " : " AP Client ");
            SetEditable(Ed_CRoMAddra0, false);
            SetEditable(Ed_SSID, true);
        }
    }
    std::vector<std::string> auth;
    if (p == 0) {
        auth.assign(std::begin(kAuthNine), std::end(kAuthNine));
    } else if (p == 1 || p == 2) {
        auth = {"Open System", "Shared Key", "Open System / Shared Key", "WPA-PSK", "WPA2-PSK",
                "WPA-Auto-PSK"};
    } else if (p == 3) {
        auth = {"Open System", "Shared Key"};
        if (Cap(&TMainForm::repeaterWpasupport) == 1) {
            auth.push_back("WPA-PSK");
            auth.push_back("WPA2-PSK");
        }
    } else if (p == 4) {
        auth = {"Open System", "Shared Key", "WPA-PSK", "WPA2-PSK"};
    }
    if (p >= 0 && p <= 4) {
        SetItems(Ed_SecAuthaTemp, auth);
        if (!SelectText(Ed_SecAuthaTemp, Ed_SecAutha->Text())) Ed_SecAuthaTemp->SetItemIndex(0);
    }
    if (p != 3 && p != 4) {
        CB_SSIDBcasta->SetEnabled(true);
    } else if (Cap(&TMainForm::Ed_SSIDBroadDisable) != 1) {
        CB_SSIDBcasta->SetItemIndex(1);
        CB_SSIDBcasta->SetEnabled(false);
    } else {
        CB_SSIDBcasta->SetEnabled(p == 3);
    }
    ChannelStateRule();
    PskCipherList();
    RepeaterSuperGRule();
    Relayout();
}

void TFM_Wirless::PskCipherList() {
    const int p = ShownMode();
    const std::string mode = ED_APModeTempComboBox->Text();
    std::vector<std::string> items;
    if (p == 1)
        items = Contains(Ed_Firmware->Text(), "2.40") ? std::vector<std::string>{"AES"}
                                                       : std::vector<std::string>{"Auto", "AES"};
    else if (p == 2)
        items = {"AES"};
    else if (Contains(mode, "Client"))
        items = {"AES", "TKIP"};
    else
        items = {"Auto", "AES", "TKIP"};
    SetItems(CipherforPSKBox, items);
    if (!SelectText(CipherforPSKBox, savedCipher)) CipherforPSKBox->SetItemIndex(0);
}

void TFM_Wirless::SecurityLayout() {
    if (!TS_11a->TabVisible() || !fullLayout) return;
    const int a = Ed_SecAutha->Items().IndexOf(Ed_SecAuthaTemp->Text());
    const std::string mode = ED_APModeTempComboBox->Text();
    bool g4 = false, g5 = false, g6 = false, g7 = false;
    if (mode == "Access Point") {
        g4 = IsWep(a);
        g6 = IsPsk(a);
        g5 = IsEap(a);
        g7 = g5 && Ed_RaduisSupport->Text() == "1";
    } else if (mode == "WDS with AP" || mode == "WDS" || Contains(mode, "Repeater")) {
        g4 = a >= 0 && a < 3;
        g6 = IsPsk(a) && (mode.rfind("WDS", 0) == 0 || a != 7);
    } else if (Contains(mode, "Client")) {
        g4 = a >= 0 && a < 2;
        g6 = a == 3 || a == 5;
    }
    if (g4 || g5 || g6) {
        GroupBox4->SetVisible(g4);
        GroupBox5->SetVisible(g5);
        GroupBox6->SetVisible(g6);
        GroupBox7->SetVisible(g7);
    }
    if (g4) {
        const bool open = Ed_SecAuthaTemp->ItemIndex() == 0;
        if (!open) Ed_SecEncypa->SetItemIndex(1);
        Ed_SecEncypa->SetEnabled(open);
    } else if (g5 || g6) {
        Ed_SecEncypa->SetEnabled(true);
    }
    if (Ed_SecEncypa->Text() == "Enable") {
        KeyEditRule();
        Ed_KeyType->SetEnabled(true);
        Ed_KeySize->SetEnabled(true);
        Ed_SecValKeya->SetEnabled(true);
    } else {
        Ed_KeyType->SetEnabled(false);
        Ed_KeySize->SetEnabled(false);
        Ed_SecValKeya->SetEnabled(false);
        for (TEdit* e : Ed_Keya)
            SetEditable(e, false);
    }
    KeepUnreadGroupsGreyed();
    Relayout();
}

void TFM_Wirless::Ed_SecAuthaTempChange(TObject*) {
    SelectText(Ed_SecAutha, Ed_SecAuthaTemp->Text());
    SecurityLayout();
    PskCipherList();
}

void TFM_Wirless::Ed_SecAuthaChange(TObject*) { SecurityLayout(); }
void TFM_Wirless::Ed_SecEncypaChange(TObject*) { SecurityLayout(); }

void TFM_Wirless::FillKeyLists() {
    SetItems(Ed_KeySize, {"64 Bits", "128 Bits", "152 Bits"});
    Ed_KeySize->SetItemIndex(0);
    if (Cap(&TMainForm::Ed_KeyTypeSup) == 0) {
        SetItems(Ed_KeyType, {"HEX", "ASCII"});
        Ed_KeyType->SetItemIndex(0);
    }
    KeyEditRule();
}

void TFM_Wirless::KeyEditLengths() {
    const bool hex = Ed_KeyType->Text() != "ASCII";
    const int size = std::max(0, Ed_KeySize->ItemIndex());
    static const int hexLen[3] = {10, 26, 32};
    static const int asciiLen[3] = {5, 13, 16};
    for (TEdit* e : Ed_Keya)
        e->SetMaxLength(hex ? hexLen[size] : asciiLen[size]);
}

void TFM_Wirless::Ed_KeyTypeChange(TObject*) { KeyEditLengths(); }
void TFM_Wirless::Ed_KeySizeChange(TObject*) { KeyEditLengths(); }

int TFM_Wirless::SelectedKey() const {
    const int pos = Ed_SecValKeya->ItemIndex();
    if (Ed_SecValKeya->Items().Count() == 2) return pos == 1 ? 3 : 0;
    return pos >= 0 && pos < 4 ? pos : 0;
}

void TFM_Wirless::KeyEditRule() {
    const int k = SelectedKey();
    const size_t len = Ed_Keya[k]->Text().size();
    if (len == 10) Ed_KeySize->SetItemIndex(0);
    if (len == 26) Ed_KeySize->SetItemIndex(1);
    if (len == 32) Ed_KeySize->SetItemIndex(2);
    for (int j = 0; j < 4; ++j)
        SetEditable(Ed_Keya[j], j == k);
}

void TFM_Wirless::Ed_SecValKeyaChange(TObject*) {
    KeyEditRule();
    if (Cap(&TMainForm::NewMultiSupport) == 0) CheckGuestKeyIndex();
}

void TFM_Wirless::ValidKeyRestriction() {
    bool wepRow = false;
    if (CB_MultEnable->ItemIndex() > 0) {
        for (int i = 1; i < LV_Multi2->Items().Count(); ++i) {
            TListItem* row = LV_Multi2->Items()[i];
            const std::string auth = row->ColumnText(4);
            if (row->ColumnText(2) == "Enabled" && row->ColumnText(5) != "Disabled" &&
                (auth == "Open System" || auth == "Shared Key" ||
                 auth == "Open System / Shared Key"))
                wepRow = true;
        }
    }
    if (wepRow)
        SetItems(Ed_SecValKeya, {"First", "Fourth"});
    else
        SetItems(Ed_SecValKeya, {"First", "Second", "Third", "Fourth"});
    if (!SelectText(Ed_SecValKeya, savedValidKey)) Ed_SecValKeya->SetItemIndex(0);
}

// A masked key stays masked: only a real hexadecimal value is turned into text.
void TFM_Wirless::KeyDisplayConversion() {
    if (Cap(&TMainForm::Ed_KeyTypeSup) != 1 || Ed_KeyType->Text() != "ASCII") return;
    for (TEdit* e : Ed_Keya)
        if (KeyChanged(e->Text())) e->SetText(HexToAscii(e->Text()));
}

void TFM_Wirless::MacEditRule() {
    for (TEdit* e : Ed_ReMAddra)
        if (e->Text() == kEmptyMac) e->Clear();
    if (Ed_RoMAddra0->Text() == kEmptyMac) Ed_RoMAddra0->Clear();
    if (Ed_CRoMAddra0->Text() == kEmptyMac) Ed_CRoMAddra0->Clear();
    const int m = ED_APModeComboBox->ItemIndex();
    auto wds = [&](int from, bool on) {
        for (int k = from; k < 8; ++k)
            SetEditable(Ed_ReMAddra[k], on);
    };
    switch (m) {
    case 0:
        wds(0, false);
        SetEditable(Ed_RoMAddra0, false);
        SetEditable(Ed_CRoMAddra0, false);
        SetEditable(Ed_SSID, false);
        break;
    case 1:
    case 5:
        wds(0, false);
        SetEditable(Ed_ReMAddra[0], true);
        SetEditable(Ed_RoMAddra0, false);
        SetEditable(Ed_CRoMAddra0, false);
        SetEditable(Ed_SSID, false);
        break;
    case 2:
    case 6:
        wds(0, true);
        SetEditable(Ed_RoMAddra0, false);
        SetEditable(Ed_CRoMAddra0, false);
        SetEditable(Ed_SSID, false);
        break;
    case 3:
        wds(0, false);
        SetEditable(Ed_RoMAddra0, true);
        SetEditable(Ed_CRoMAddra0, false);
        SetEditable(Ed_SSID, false);
        break;
    case 4:
        // The client's root comes from a survey pick, as the layout shows.
        wds(0, false);
        SetEditable(Ed_RoMAddra0, false);
        SetEditable(Ed_CRoMAddra0, false);
        SetEditable(Ed_SSID, true);
        break;
    default:
        break;
    }
}

void TFM_Wirless::FixedMaxLengths() {
    Ed_SSIDa->SetMaxLength(32);
    for (TEdit* e : Ed_ReMAddra)
        e->SetMaxLength(12);
    Ed_RoMAddra0->SetMaxLength(12);
    Ed_SSID->SetMaxLength(32);
    GroupKeyEdit->SetMaxLength(7);
    GroupKeyPSKEdit->SetMaxLength(7);
    RadiusServerEdit->SetMaxLength(15);
    RadiusSecretEdit->SetMaxLength(64);
    PassPhrasePSKEdit->SetMaxLength(64);
    RadiusportEdit->SetMaxLength(5);
}

void TFM_Wirless::ED_APModeTempComboBoxtestChange(TObject*) {
    const std::string t = ED_APModeTempComboBox->Text();
    if (t == "WDS with AP")
        SelectText(ED_APModeComboBox, "PtMP Bridge");
    else if (t == "WDS")
        SelectText(ED_APModeComboBox, "P2MP Without");
    else
        SelectText(ED_APModeComboBox, t);
    Ed_RoMAddra0->SetText(savedRootMac);
    Ed_CRoMAddra0->SetText(savedClientRootMac);
    Ed_SSID->SetText(savedRepeaterSsid);
    // Super G off on a mode change, found by its name in every list.
    SelectText(AD_SuperMode, "Disable");
    ApModeLayout();
    MacEditRule();
    SecurityLayout();
    const int p = ShownMode();
    const int newMulti = Cap(&TMainForm::NewMultiSupport);
    const bool both = Cap(&TMainForm::mssidAndWdssupport) == 1;
    if (CB_MultEnable->ItemIndex() == 1) {
        if (((newMulti == 1 && !both) || newMulti == 0) && p > 0)
            Warn("If AP Mode is not \"Access Point\",\nThe Multi-SSID should be set to "
                 "\"Disabled\".",
                 "Warning");
        else if (newMulti == 1 && both && p > 1)
            Warn("If AP Mode is not \"Access Point,WDS with AP\",\nThe Multi-SSID should be set "
                 "to \"Disabled\".",
                 "Warning");
    }
}

void TFM_Wirless::AccountingRule() { CB_AcntEnableChange(nullptr); }

void TFM_Wirless::CB_AcntEnableChange(TObject*) {
    const bool on = CB_AcntEnable->ItemIndex() > 0;
    Ed_AcntServer->SetEnabled(on);
    Ed_AcntPort->SetEnabled(on);
    CB_SecAccountMode->SetEnabled(on);
    if (on) {
        CB_SecAccountModeChange(nullptr);
    } else {
        Ed_SecAccountServer->SetEnabled(false);
        Ed_SecAccountPort->SetEnabled(false);
    }
    KeepUnreadGroupsGreyed();
}

void TFM_Wirless::CB_SecAccountModeChange(TObject*) {
    const bool on = CB_SecAccountMode->ItemIndex() > 0;
    Ed_SecAccountServer->SetEnabled(on);
    Ed_SecAccountPort->SetEnabled(on);
    KeepUnreadGroupsGreyed();
}

void TFM_Wirless::BackupRadiusRule() { CB_SecRadiusModeChange(nullptr); }

void TFM_Wirless::CB_SecRadiusModeChange(TObject*) {
    const bool on = CB_SecRadiusMode->ItemIndex() > 0;
    Ed_SecRadiusServer->SetEnabled(on);
    Ed_SecRadiusport->SetEnabled(on);
    Ed_SecRadiusSecret->SetEnabled(on);
    KeepUnreadGroupsGreyed();
}

void TFM_Wirless::Ed_SSIDChange(TObject*) {
    if (Ed_SSIDa->Text() != Ed_SSID->Text()) Ed_SSIDa->SetText(Ed_SSID->Text());
}

void TFM_Wirless::Ed_SSIDaChange(TObject*) {
    if (Ed_SSID->Text() != Ed_SSIDa->Text()) Ed_SSID->SetText(Ed_SSIDa->Text());
}

// A group whose last read failed holds nothing of the device: its controls
// stay disabled whatever a display rule says, and the controls that stand in
// for its bound ones (the visible mode and authentication lists, the keys)
// follow its read.
void TFM_Wirless::KeepUnreadGroupsGreyed() {
    auto failed = [](const std::unique_ptr<QvSNMPRequest2Edits>& g) {
        return g && g->ReadFailed();
    };
    ED_APModeTempComboBox->SetEnabled(!failed(req2ApMode));
    Ed_SecAuthaTemp->SetEnabled(!failed(req2Security));
    for (TEdit* e : Ed_Keya)
        e->SetEnabled(!failed(req2Security));
    const std::vector<std::pair<const std::unique_ptr<QvSNMPRequest2Edits>*, std::vector<TControl*>>>
        ruled = {
            {&req2SSID, {CB_Chana, CB_SSIDBcasta}},
            {&req2SuperG, {AD_SuperMode, CB_SuModeRpt}},
            {&req2AutoScan, {CB_AuSc}},
            {&req2Security, {Ed_SecEncypa, Ed_KeyType, Ed_KeySize, Ed_SecValKeya}},
            {&req2KeyType, {Ed_KeyType}},
            {&req2Accounting, {CB_AcntEnable, Ed_AcntServer, Ed_AcntPort}},
            {&req2BkAccount, {CB_SecAccountMode, Ed_SecAccountServer, Ed_SecAccountPort}},
            {&req2BkRadius,
             {CB_SecRadiusMode, Ed_SecRadiusServer, Ed_SecRadiusport, Ed_SecRadiusSecret}},
        };
    for (const auto& [group, controls] : ruled)
        if (failed(*group))
            for (TControl* c : controls)
                c->SetEnabled(false);
}

void TFM_Wirless::SetEditable(TEdit* edit, bool editable) {
    edit->SetReadOnly(!editable);
    edit->SetColor(editable ? clWindow : clBtnFace);
}

void TFM_Wirless::SetButtonsEnabled(bool on) {
    SiteScan->SetEnabled(on);
    Bt_Apply->SetEnabled(on);
    Bt_Refresh->SetEnabled(on);
    Bt_Close->SetEnabled(on);
}

// Our own layout: the shown rows and groups one below the other.
void TFM_Wirless::Relayout() {
    int y = 10;
    auto row = std::vector<std::pair<TControl*, std::vector<TControl*>>>{};
    auto place = [&](TControl* lead, std::vector<TControl*> others, int h = 26) {
        if (!lead->Visible()) return;
        lead->SetTop(y + (dynamic_cast<TLabel*>(lead) ? 3 : 0));
        for (TControl* c : others)
            c->SetTop(y + (dynamic_cast<TLabel*>(c) ? 3 : 0));
        y += h;
    };
    place(Ed_SSIDa, {Label1});
    place(CB_SSIDBcasta, {LB_SSIDBcast});
    place(CB_Chana, {LB_Chan, Ed_RaFreqa, LB_GHz});
    place(CB_AuSc, {}, 22);
    place(Label24, {AD_SuperMode, CB_SuModeRpt});
    place(ED_APModeTempComboBox, {ED_ApMode});
    for (TControl* g : std::vector<TControl*>{GroupBox1, GroupBox2, GroupBox3}) {
        if (!g->Visible()) continue;
        g->SetTop(y);
        y += g->Height() + 4;
    }
    place(Ed_SecAuthaTemp, {Authentication});
    for (TControl* g : std::vector<TControl*>{GroupBox4, GroupBox5, GroupBox6, GroupBox7}) {
        if (!g->Visible()) continue;
        g->SetTop(y);
        y += g->Height() + 4;
    }
    PC_Wirless->SetHeight(y + 35);
    const int buttons = PC_Wirless->Top() + PC_Wirless->Height() + 10;
    Bt_Apply->SetTop(buttons);
    Bt_Refresh->SetTop(buttons);
    Bt_Close->SetTop(buttons);
    SetClientHeight(buttons + 25 + 10 + StatusBar->Height());
}

void TFM_Wirless::ShowKeys() {
    for (int k = 0; k < 4; ++k) {
        const QvSNMPVar* v = req2Security->request.vars.Item(6 + k);
        Ed_Keya[k]->SetText(v->Value ? *v->Value : std::string());
    }
}

// --- refresh -----------------------------------------------------------------------

void TFM_Wirless::Bt_RefreshClick(TObject*) {
    SetAccessRange(req2Passphrase.get(), 0, 2, kRW);
    SetAccessRange(req2Radius.get(), 0, 4, kRW);
    SetAccessRange(req2Security.get(), 0, 2, kRW);
    SetAccessRange(req2Security.get(), 6, 9, kRW);

    req2SSID->Read();
    SavedChannel = Ed_Chana->Text();
    if (Ed_ChanLista->Text().empty()) Ed_ChanLista->SetText("1 2 3 4 5 6 7 8 9 10 11");
    req2SuperG->Read();
    if (!req2DynCh->Read()) Ed_DynChLista->SetText("6");
    if (!req2StatCh->Read()) Ed_StatChLista->SetText("6");
    if (!req2Radio->busy) req2Radio->Read();
    FillChannels(CB_Chang, Ed_ChanListg->Text(), Ed_Chang);
    if (!fullLayout) {
        // The visible channel list follows every read.
        AD_SuperModeChange(nullptr);
        KeepUnreadGroupsGreyed();
        return;
    }

    if (req2AutoScan && autoScanPresent && !req2AutoScan->busy) req2AutoScan->Read();
    req2ApMode->Read();
    req2Repeater->Read();
    savedRootMac = Ed_RoMAddra0->Text();
    savedClientRootMac = Ed_CRoMAddra0->Text();
    savedRepeaterSsid = Ed_SSID->Text();
    req2Security->Read();
    if (Cap(&TMainForm::Ed_KeyTypeSup) == 0)
        SelectText(Ed_KeyType, "HEX");
    else if (req2KeyType)
        keyTypePresent = req2KeyType->Read();
    if (req2Vlan) req2Vlan->Read();
    if (req2GuestKeyIndex && !req2GuestKeyIndex->busy) req2GuestKeyIndex->Read();
    if (req2MssidTable) {
        req2MssidTable->Read();
        req2MssidState->Read();
        multiSsidOn = CB_MultEnable->ItemIndex() > 0;
        savedValidKey = Ed_SecValKeya->Text();
        ValidKeyRestriction();
    }
    if (accountingPresent) {
        req2Accounting->Read();
        AccountingRule();
    }
    if (req2BkRadius) {
        req2BkRadius->Read();
        BackupRadiusRule();
    }
    if (req2BkAccount) req2BkAccount->Read();
    req2Radius->Read();
    savedGroupKey = GroupKeyEdit->Text();
    savedRadiusServer = RadiusServerEdit->Text();
    savedRadiusPort = RadiusportEdit->Text();
    savedRadiusSecret = RadiusSecretEdit->Text();
    savedCipher = CiphertypeComboBox->Text();
    req2Passphrase->Read();

    const int m = ED_APModeComboBox->ItemIndex();
    if (surveyAllowed && (m == 3 || m == 4)) StartSurveyRead("Refresh...");

    AD_SuperModeChange(nullptr);
    MacEditRule();
    KeyEditRule();
    KeyEditLengths();
    BuildApModeList();
    ApModeLayout();
    FixedMaxLengths();
    SecurityLayout();
    KeyDisplayConversion();
    KeepUnreadGroupsGreyed();
}

// --- apply checks ------------------------------------------------------------------

bool TFM_Wirless::IsPlainAscii(const std::string& text) {
    for (unsigned char ch : text)
        if (ch >= 128) return false;
    return true;
}

bool TFM_Wirless::KeyChanged(const std::string& text) { return !formparts::IsKeyMask(text); }

std::string TFM_Wirless::AsciiToHex(const std::string& text) {
    return formparts::AsciiToHex(text, formparts::HexCase::Upper);
}

std::string TFM_Wirless::HexToAscii(const std::string& text) {
    return formparts::HexToAscii(text);
}

bool TFM_Wirless::CheckHexKey(TEdit* edit) {
    return formparts::OutgoingKey(edit, false, formparts::HexCase::Upper, nullptr) !=
           formparts::KeyUse::Refused;
}

bool TFM_Wirless::CheckKeyLengths() {
    const int k = SelectedKey();
    const std::string t = Ed_Keya[k]->Text();
    const bool hex = Ed_KeyType->Text() != "ASCII";
    const int size = std::max(0, Ed_KeySize->ItemIndex());
    static const int hexLen[3] = {10, 26, 32};
    static const int asciiLen[3] = {5, 13, 16};
    const int want = hex ? hexLen[size] : asciiLen[size];
    // A key left masked is the device's own and keeps its length.
    if (!KeyChanged(t)) return true;
    if (static_cast<int>(t.size()) != want) {
        static const char* ord[4] = {"1st", "2nd", "3rd", "4th"};
        const std::string word = (!hex && want == 16) ? "Lengh" : "Length";
        Warn("The " + word + " of the " + ord[k] + " key in IEEE802.11g must be " +
                 std::to_string(want) + "!",
             "Warning");
        return false;
    }
    return true;
}

bool TFM_Wirless::CheckPrimarySsidUnique() {
    if (CB_MultEnable->ItemIndex() != 1) return true;
    for (int i = 1; i < LV_Multi2->Items().Count(); ++i) {
        TListItem* row = LV_Multi2->Items()[i];
        if (Contains(row->ColumnText(2), "Enable") && row->ColumnText(3) == Ed_SSIDa->Text()) {
            Warn("The Primary SSID's SSID is same as Multi-SSID " + std::to_string(i), "Warning");
            return false;
        }
    }
    return true;
}

bool TFM_Wirless::CheckWdsDuplicates() {
    std::string t[8];
    for (int k = 0; k < 8; ++k)
        t[k] = UpperCase(Ed_ReMAddra[k]->Text());
    for (int i = 7; i >= 1; --i)
        for (int j = 0; j < i; ++j)
            if (t[i] == t[j] && !t[i].empty() && t[i] != kEmptyMac) {
                Warn("Exist same MAC address.", "Warning");
                FocusControl(Ed_ReMAddra[i]);
                return false;
            }
    return true;
}

bool TFM_Wirless::ValidateMacAddresses() {
    const int m = ED_APModeComboBox->ItemIndex();
    SetAccessRange(req2Repeater.get(), 0, 2, kInvalid);
    SetAccessRange(req2ApMode.get(), 1, 8, kInvalid);
    SetAccess(req2SSID.get(), 0, kInvalid);
    // Only the root of the chosen mode goes out: the repeater's and the
    // client's are different objects.
    if (m == 3 && !Ed_RoMAddra0->Text().empty()) SetAccess(req2Repeater.get(), 0, kRW);
    if (m == 4 && !Ed_CRoMAddra0->Text().empty()) SetAccess(req2Repeater.get(), 2, kRW);
    if (!Ed_SSID->Text().empty()) SetAccess(req2Repeater.get(), 1, kRW);
    if (m == 1 || m == 5) {
        if (Ed_ReMAddra[0]->Text().empty()) {
            Warn("Please input MAC address in first blank space!", "Warning");
            FocusControl(Ed_ReMAddra[0]);
            return false;
        }
        if (Ed_ReMAddra[0]->Text().size() != 12) {
            Warn("The length is 12 in IEEE802.11g Root AP MAC Address.", "Error");
            return false;
        }
        SetAccess(req2ApMode.get(), 1, kRW);
    } else if (m == 2 || m == 6) {
        if (Ed_ReMAddra[0]->Text().empty()) {
            Warn("Please input MAC address in first blank space!", "Warning");
            FocusControl(Ed_ReMAddra[0]);
            return false;
        }
        for (int k = 1; k < 8; ++k)
            if (Ed_ReMAddra[k]->Text().empty()) Ed_ReMAddra[k]->SetText(kEmptyMac);
        for (int k = 0; k < 8; ++k)
            if (Ed_ReMAddra[k]->Text().size() != 12) {
                Warn("The length is 12 in IEEE802.11g MAC address.", "Error");
                Ed_ReMAddra[k]->Clear();
                return false;
            }
        SetAccessRange(req2ApMode.get(), 1, 8, kRW);
    } else if (m == 3) {
        if (Ed_RoMAddra0->Text().empty()) {
            Warn("Please input MAC address in blank space!", "Error");
            FocusControl(Ed_RoMAddra0);
            return false;
        }
        if (Ed_RoMAddra0->Text().size() != 12) {
            Warn("The length is 12 in IEEE802.11g Root AP MAC Address.", "Error");
            return false;
        }
        return true;
    } else if (m == 4) {
        if (Ed_SSID->Text().empty()) {
            Warn("Please input the SSID.", "Warning");
            FocusControl(Ed_SSID);
            return false;
        }
        if (Ed_SSID->Text()[0] == ' ') {
            Warn("The first character can't be blank.", "Error");
            FocusControl(Ed_SSID);
            return false;
        }
        return true;
    } else if (m != 0) {
        return true;
    }
    SetAccess(req2SSID.get(), 0, kRW);
    return true;
}

bool TFM_Wirless::ValidateSecuritySettings() {
    outgoingKey_ = -1;
    SetAccessRange(req2Security.get(), 1, 2, kInvalid);
    SetAccessRange(req2Security.get(), 6, 9, kInvalid);
    SetAccessRange(req2Passphrase.get(), 0, 2, kInvalid);
    SetAccessRange(req2Radius.get(), 0, 4, kInvalid);
    const int a = Ed_SecAutha->ItemIndex();
    if (a > 8) return true;
    auto groupKey = [&](TEdit* e) {
        const std::string t = e->Text();
        long long v = -1;
        if (!t.empty() && t.find_first_not_of("0123456789") == std::string::npos &&
            t.size() < 12)
            v = std::stoll(t);
        if (v < 300 || v > 9999999) {
            Warn("Please input a number between 300 and 9999999.", "Error");
            e->Clear();
            FocusControl(e);
            return false;
        }
        return true;
    };
    if (IsWep(a)) {
        SetAccess(req2Security.get(), 1, kRW);
        if (Ed_SecEncypa->Text() == "Enable") {
            SetAccess(req2Security.get(), 2, kRW);
            if (!CheckKeyLengths()) return false;
            const int k = SelectedKey();
            TEdit* key = Ed_Keya[k];
            if (!KeyChanged(key->Text())) return true;
            const bool ascii = Ed_KeyType->Text() == "ASCII";
            if (!ascii && !CheckHexKey(key)) return false;
            SetOutgoingKey(k);
            SetAccess(req2Security.get(), 6 + k, kRW);
        }
        return true;
    }
    if (IsPsk(a)) {
        if (!groupKey(GroupKeyPSKEdit)) return false;
        const size_t n = PassPhrasePSKEdit->Text().size();
        if (n < 8 || n > 63) {
            Warn("The length of 802.11g PassPhrase is between 8 and 63.", "Error");
            FocusControl(PassPhrasePSKEdit);
            return false;
        }
        SetAccessRange(req2Passphrase.get(), 0, 2, kRW);
        return true;
    }
    if (IsEap(a)) {
        if (!groupKey(GroupKeyEdit)) return false;
        if (!TMainForm::IsValidIP(RadiusServerEdit->Text())) {
            Warn("The Radius server's IP is illegal.", "Error");
            FocusControl(RadiusServerEdit);
            return false;
        }
        if (RadiusportEdit->Text().empty()) {
            Warn("Please input a number between 1 and 65535.", "Error");
            FocusControl(RadiusportEdit);
            return false;
        }
        SetAccessRange(req2Radius.get(), 0, 4, kRW);
        auto serverAndPort = [&](TEdit* server, TEdit* port) {
            if (!TMainForm::IsValidIP(server->Text())) {
                Warn("The Accountings server's IP is illegal", "Warning");
                FocusControl(server);
                return false;
            }
            if (port->Text().empty()) {
                Warn("The range of Accounting Port is (1-65535)", "Warning");
                FocusControl(port);
                return false;
            }
            return true;
        };
        if (accountingPresent) {
            if (CB_AcntEnable->Text() == "Disable") {
                SetAccess(req2Accounting.get(), 0, kRW);
                SetAccessRange(req2Accounting.get(), 1, 2, kInvalid);
            } else {
                SetAccessRange(req2Accounting.get(), 0, 2, kRW);
                if (!serverAndPort(Ed_AcntServer, Ed_AcntPort)) return false;
            }
        }
        if (Ed_AccountSupport->Text() == "1" && CB_SecAccountMode->Text() == "Enable" &&
            !serverAndPort(Ed_SecAccountServer, Ed_SecAccountPort))
            return false;
    }
    return true;
}

// The edit keeps what was typed; only the value sent is hexadecimal.
void TFM_Wirless::SetOutgoingKey(int k) {
    const std::string t = Ed_Keya[k]->Text();
    outgoingKey_ = k;
    outgoingKeyText_ = Ed_KeyType->Text() == "ASCII" ? AsciiToHex(t) : t;
}

bool TFM_Wirless::CheckGuestKeyIndex() {
    if (!Ed_SecValKeya->Enabled()) return true;
    const int auth = Ed_SecAuthaTemp->ItemIndex();
    if (auth < 0 || auth > 2) return true;
    // With two entries the second one is the fourth key.
    const int key = SelectedKey();
    for (int n = 0; n < 3; ++n) {
        if (key == GuestKeyIndex_ComboBox[n]->ItemIndex() &&
            GuestEncry_ComboBox[n]->ItemIndex() == 1 && Guest_ComboBox[n]->ItemIndex() == 1) {
            Warn("The 11g master SSID's key index is same as Guest SSID" + std::to_string(n + 1),
                 "Warning");
            return false;
        }
    }
    return true;
}

// --- apply -------------------------------------------------------------------------

bool TFM_Wirless::PlanSecurityWrites(std::vector<QvSNMPRequest2Edits*>& out, int a) {
    const std::string mode = ED_APModeTempComboBox->Text();
    auto sec = [&] { out.push_back(req2Security.get()); };
    if (mode == "Access Point") {
        if (IsWep(a)) {
            sec();
        } else if (IsPsk(a)) {
            sec();
            out.push_back(req2Passphrase.get());
        } else if (IsEap(a)) {
            sec();
            out.push_back(req2Radius.get());
        } else {
            return false;
        }
        return true;
    }
    bool psk = false;
    bool wep = false;
    if (mode == "WDS with AP" || mode == "WDS") {
        wep = a >= 0 && a < 3;
        psk = IsPsk(a);
    } else if (Contains(mode, "Client")) {
        wep = a >= 0 && a < 2;
        psk = a == 3 || a == 5;
    } else if (Contains(mode, "Repeater")) {
        wep = a >= 0 && a < 3;
        psk = a == 3 || a == 5;
    }
    if (!wep && !psk) return false;
    sec();
    if (psk) out.push_back(req2Passphrase.get());
    return true;
}

// The new-generation secondary SSIDs the primary's security change affects.
// Returns false when the form must stop.
bool TFM_Wirless::MultiSsidStep(int a) {
    mssidSelectionsPending_ = false;
    if (!req2MssidEnc || !req2MssidAuth) return true;
    SetAccessRange(req2MssidEnc.get(), 0, 13, kInvalid);
    SetAccessRange(req2MssidAuth.get(), 0, 13, kInvalid);
    std::vector<int> encPick(7, -1), authPick(7, -1);
    bool changed = false;
    bool keyNote = false, intervalNote = false;
    const int rows = LV_Multi2->Items().Count();
    auto col = [&](int i, int c) { return LV_Multi2->Items()[i]->ColumnText(c); };
    auto on = [&](int i) { return col(i, 2) == "Enabled" && col(i, 5) == "Enabled"; };
    auto wepAuth = [](const std::string& s) {
        return s == "Open System" || s == "Shared Key" || s == "Open System / Shared Key";
    };
    if (!IsEap(a)) {
        for (int i = 1; i < rows && i <= 7; ++i) {
            const std::string auth = col(i, 4);
            if (on(i) && (Contains(auth, "EAP") || Contains(auth, "Enterprise"))) {
                encPick[i - 1] = 0;
                authPick[i - 1] = 0;
                SetAccess(req2MssidEnc.get(), i - 1, kRW);
                SetAccess(req2MssidAuth.get(), i + 6, kRW);
                changed = true;
            }
        }
    }
    if (IsWep(a)) {
        if (Ed_SecEncypa->Text() == "Enable")
            for (int i = 1; i < rows; ++i)
                if (col(i, 6) == Ed_SecValKeya->Text() && on(i) &&
                    (Contains(col(i, 4), "Open") || Contains(col(i, 4), "Shared")))
                    keyNote = true;
    } else {
        for (int i = 1; i < rows; ++i) {
            if (on(i) && wepAuth(col(i, 4)) && col(i, 6) != "First" && col(i, 6) != "Fourth") {
                // This form changes no such entry: the text says what happens.
                Warn("WPA or PSK will use key slot 2 and 3.\nOther Multiple SSID which uses WEP "
                     "key 2 and 3 keeps its settings; change its key slot to First or Fourth.",
                     "Warning");
                break;
            }
            TEdit* mine = IsEap(a) ? GroupKeyEdit : GroupKeyPSKEdit;
            TEdit* other = IsEap(a) ? GroupKeyPSKEdit : GroupKeyEdit;
            if (on(i) && !wepAuth(col(i, 4)) && mine->Text() != savedGroupKey &&
                !savedGroupKey.empty()) {
                intervalNote = true;
                savedGroupKey = mine->Text();
                other->SetText(mine->Text());
                break;
            }
        }
    }
    if (changed) {
        if (multiSsidOn) {
            Warn("To change authentication type of Primary SSID will change WPA-EAP of Secondary "
                 "SSID to non security.",
                 "Warning");
            multiSsidOn = false;
        }
        for (int k = 0; k < 7; ++k) {
            if (encPick[k] >= 0) CB_MultEncyt[k]->SetItemIndex(encPick[k]);
            if (authPick[k] >= 0) CB_MultiAuth[k]->SetItemIndex(authPick[k]);
        }
        mssidSelectionsPending_ = true;
    }
    if (multiSsidOn) {
        if (keyNote)
            Warn("Key value is used by SSID! \nTo change Key value affects other SSID settings.",
                 "Warning");
        if (intervalNote)
            Warn("Group Key Update Interval is used by SSID!\nTo change Group Key Update Interval "
                 "affects other SSID settings.",
                 "Warning");
    }
    return true;
}

// The SSIDs. False when the Apply stops.
bool TFM_Wirless::CheckSsids() {
    if (TS_11a->TabVisible()) SelectText(Ed_SecAutha, Ed_SecAuthaTemp->Text());
    if (Ed_SSIDa->Text().size() > 32 || Ed_SSIDg->Text().size() > 32) {
        Warn("The Max Length of SSID is 32.!", "Warning");
        MacEditRule();
        return false;
    }
    if (Ed_SSIDa->Text().empty()) {
        Warn("Please Input SSID.", "Warning");
        MacEditRule();
        return false;
    }
    if (Ed_SSIDa->Text()[0] == ' ') {
        Warn("The first character can't be blank.", "Error");
        FocusControl(Ed_SSIDa);
        MacEditRule();
        return false;
    }
    if (!IsPlainAscii(Ed_SSIDa->Text())) {
        Warn("Don't support chinese character !", "Error");
        FocusControl(Ed_SSIDa);
        MacEditRule();
        return false;
    }
    const std::string modeText = ED_APModeTempComboBox->Text();
    if (!fullLayout || (!Contains(modeText, "Client") && !Contains(modeText, "Repeater")))
        return true;
    // The repeater's or client's SSID: a refusal leaves the MAC edits as they are.
    const std::string t = Ed_SSID->Text();
    auto fail = [&](const char* text, const char* caption) {
        Warn(text, caption);
        SetEditable(Ed_SSID, true);
        FocusControl(Ed_SSID);
        return false;
    };
    if (t.size() > 32) return fail("The Max Length of SSID is 32.!", "Warning");
    if (t.empty()) return fail("Please Input SSID.", "Warning");
    if (t[0] == ' ') return fail("The first character can't be blank.", "Error");
    if (!IsPlainAscii(t)) return fail("Don't support chinese character !", "Error");
    return true;
}

// The checks of the full layout, and the old-generation guests'
// write when the mode or Super G takes them off. False when the Apply stops.
bool TFM_Wirless::CheckFullLayoutInput(std::vector<QvSNMPRequest2Edits*>& writes) {
    if (Cap(&TMainForm::NewMultiSupport) == 1 && !CheckPrimarySsidUnique()) {
        FocusControl(Ed_SSIDa);
        return false;
    }
    if (!CheckWdsDuplicates() || !ValidateMacAddresses() || !ValidateSecuritySettings())
        return false;
    if (!req2Vlan) return true;
    if (!CheckGuestKeyIndex()) return false;
    // Guests and the VLAN stay only in the plain access-point mode with
    // Super G off, found by its name in every Super G list.
    const bool superGOff = AD_SuperMode->Text() == "Disable";
    const bool wep =
        Ed_SecAuthaTemp->Text() == "Open System" || Ed_SecAuthaTemp->Text() == "Shared Key";
    if (ShownMode() == kModeAccessPoint && superGOff) {
        if (!wep) {
            for (TComboBox* c : GuestEncry_ComboBox)
                c->SetItemIndex(0);
            writes.push_back(req2Vlan.get());
        }
        return true;
    }
    Master_ComboBox->SetItemIndex(0);
    for (TComboBox* c : Guest_ComboBox)
        c->SetItemIndex(0);
    if (!wep || !superGOff)
        for (TComboBox* c : GuestEncry_ComboBox)
            c->SetItemIndex(0);
    writes.push_back(req2Vlan.get());
    return true;
}

// The short write path.
void TFM_Wirless::StartShortWrite() {
    sequence_.Add(req2SSID.get());
    sequence_.Add(req2SuperG.get());
    if (autoScanPresent && req2AutoScan) sequence_.Add(req2AutoScan.get());
    sequence_.Add(req2Radio.get());
    SetButtonsEnabled(false);
    sequence_.Start([this](bool ok, const QvSNMPError&) {
        SetButtonsEnabled(true);
        surveyAllowed = true;
        if (!ok) {
            StatusBar->SetSimpleText("Setting error!");
            return;
        }
        auto* w = new TFM_Waiting(Application);
        w->ShowModal();
        delete w;
        Bt_RefreshClick(nullptr);
    });
}

// The full write path, the essential writes first, every result counted.
void TFM_Wirless::StartFullWrite(std::vector<QvSNMPRequest2Edits*> writes) {
    const int a = Ed_SecAutha->Items().IndexOf(Ed_SecAuthaTemp->Text());
    std::vector<QvSNMPRequest2Edits*> security;
    if (!PlanSecurityWrites(security, a)) {
        Warn("SelectToset set faild.", "Warning");
        StatusBar->SetSimpleText("Setting error!");
        surveyAllowed = true;
        MacEditRule();
        return;
    }
    if (Cap(&TMainForm::NewMultiSupport) == 1 && CB_MultEnable->ItemIndex() == 1) {
        MultiSsidStep(a);
        if (mssidSelectionsPending_) {
            writes.push_back(req2MssidEnc.get());
            writes.push_back(req2MssidAuth.get());
        }
    }
    writes.push_back(req2ApMode.get());
    writes.push_back(req2SSID.get());
    writes.push_back(req2SuperG.get());
    writes.push_back(req2Repeater.get());
    writes.push_back(req2Radio.get());
    for (auto* g : security)
        writes.push_back(g);
    if (autoScanPresent) writes.push_back(req2AutoScan.get());
    if (keyTypePresent && req2KeyType) writes.push_back(req2KeyType.get());
    if (accountingPresent) writes.push_back(req2Accounting.get());
    if (IsEap(a)) {
        if (req2BkRadius) writes.push_back(req2BkRadius.get());
        if (req2BkAccount) writes.push_back(req2BkAccount.get());
    }
    if (wdsConsistencyPresent) {
        CB_gmultioverwds->SetItemIndex(1);
        writes.push_back(req2WdsCons.get());
    }
    for (auto* g : writes)
        sequence_.Add(g);
    const int p = ShownMode();
    const bool wdsMode = p == kModeWdsWithAp || p == kModeWds;
    SetButtonsEnabled(false);
    sequence_.Start([this, wdsMode](bool ok, const QvSNMPError&) { ApplyDone(ok, wdsMode); });
}

void TFM_Wirless::Bt_ApplyClick(TObject*) {
    if (sequence_.Running() || !surveyIdle) return;
    if (!CheckSsids()) return;
    std::vector<QvSNMPRequest2Edits*> writes;
    if (fullLayout && !CheckFullLayoutInput(writes)) return MacEditRule();
    // The channels chosen go out through their bound edits.
    Ed_Chana->SetText(CB_Chana->Text());
    if (TS_11g->TabVisible()) Ed_Chang->SetText(CB_Chang->Text());
    if (fullLayout)
        StartFullWrite(std::move(writes));
    else
        StartShortWrite();
}

void TFM_Wirless::ApplyDone(bool ok, bool wdsMode) {
    SetButtonsEnabled(true);
    if (!ok) {
        QvSNMPRequest2Controls* failed = sequence_.FailedGroup();
        if (failed && failed == req2ApMode.get()) Warn("req2ApMode set faild.", "Warning");
        if (failed && (failed == req2Security.get() || failed == req2Passphrase.get() ||
                       failed == req2Radius.get()))
            Warn("SelectToset set faild.", "Warning");
        StatusBar->SetSimpleText("Setting error!");
        surveyAllowed = true;
        MacEditRule();
        return;
    }
    auto* w = new TFM_Waiting(Application);
    if (wdsMode) w->Countdown = 45;
    w->ShowModal();
    delete w;
    StatusBar->SetSimpleText("Setting Success!");
    surveyAllowed = false;
    req2ApMode->Read();
    MacEditRule();
    surveyAllowed = true;
}

// --- site survey -------------------------------------------------------------------

void TFM_Wirless::SiteScanClick(TObject*) {
    if (!req2Refresh || !surveyIdle) return;
    StatusBar->Panels()[0]->SetText("Detecting...");
    SiteScanComboBox->SetItemIndex(1);
    surveyIdle = false;
    SetButtonsEnabled(false);
    req2Refresh->Write(true, true, "", nullptr);
}

void TFM_Wirless::RefreshDone(QvSNMPRequest2Controls*, QvSNMPError* e) {
    if (e && e->Code != 0) {
        SetButtonsEnabled(true);
        StatusBar->Panels()[0]->SetText(e->Message);
        surveyIdle = true;
        return;
    }
    req2Survey->Read();
    StatusBar->Panels()[0]->SetText("Refresh...!");
}

void TFM_Wirless::SurveyDone(QvSNMPRequest2Controls*, QvSNMPError* e) {
    surveyIdle = true;
    SetButtonsEnabled(true);
    StatusBar->Panels()[0]->SetText(e ? e->Message : std::string());
}

// The index column is hidden; the others share the list's width.
void TFM_Wirless::SizeSurveyColumns() {
    static const int widths[] = {0, 34, 56, 70, 104, 58, 90};
    TListColumns& columns = SiteServeyListView->Columns();
    for (int k = 0; k < columns.Count() && k < 7; ++k)
        columns[k]->SetWidth(widths[k]);
}

void TFM_Wirless::StartSurveyRead(const std::string& text) {
    if (!req2Survey || req2Survey->busy) return;
    surveyIdle = false;
    req2Survey->Read();
    SetButtonsEnabled(false);
    SizeSurveyColumns();
    StatusBar->Panels()[0]->SetText(text);
}

void TFM_Wirless::SiteServeyListViewClick(TObject*) {
    TListItem* item = SiteServeyListView->Selected();
    if (!item) return;
    TEdit* root = ED_APModeComboBox->ItemIndex() == 4 ? Ed_CRoMAddra0 : Ed_RoMAddra0;
    root->SetText(item->ColumnText(4));
    Ed_SSID->SetText(item->ColumnText(6));
}

// --- closing -----------------------------------------------------------------------

bool TFM_Wirless::AnyBusy() const {
    for (auto* g : {&req2Radio, &req2AutoScan, &req2GuestKeyIndex, &req2MssidEnc, &req2MssidAuth,
                    &req2Refresh, &req2Survey})
        if (*g && (*g)->busy) return true;
    return false;
}

void TFM_Wirless::Bt_CloseClick(TObject*) { Close(); }

void TFM_Wirless::FormCloseQuery(TObject*, bool& canClose) {
    // A scan or an Apply still waiting for the device keeps the form open.
    if (!surveyIdle || sequence_.Running()) {
        canClose = false;
        return;
    }
    canClose = true;
    // Reads of the asynchronous groups end within their reply bound.
    for (auto* g : {&req2Radio, &req2AutoScan, &req2GuestKeyIndex, &req2MssidEnc, &req2MssidAuth})
        if (*g && (*g)->busy) WaitWhileBusy(**g, QvReplyBoundMs((*g)->request));
    for (auto* g : {&req2SSID, &req2SuperG, &req2DynCh, &req2StatCh, &req2WdsCons, &req2Radio,
                    &req2Firmware, &req2AutoScan, &req2ApMode, &req2WifiMode, &req2Repeater,
                    &req2Security, &req2KeyType, &req2Radius, &req2Accounting, &req2BkRadiusSup,
                    &req2BkAccountSup, &req2BkRadius, &req2BkAccount, &req2Passphrase,
                    &req2MssidState, &req2MssidTable, &req2MssidEnc, &req2MssidAuth, &req2Vlan,
                    &req2GuestKeyIndex, &req2Refresh, &req2Survey})
        g->reset();
}

void TFM_Wirless::RegisterOpener() { TMainForm::RegisterFormOpener("TFM_Wirless", OpenWirelessForm); }

void OpenWirelessForm() {
    FM_Wirless = new TFM_Wirless(Application);
    FM_Wirless->DoCreate();
    FM_Wirless->ShowModal();
    delete FM_Wirless;
    FM_Wirless = nullptr;
}
