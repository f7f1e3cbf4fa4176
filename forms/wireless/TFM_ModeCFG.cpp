#include "forms/wireless/TFM_ModeCFG.h"

#include "app/MainUnit.h"
#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "base/SysUtils.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/wireless/FormParts.h"
#include "mib/ModeCFGVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Graphics.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <cctype>
#include <exception>

namespace {

using formparts::ReadNow;

const std::string kNoMac = "000000000000";
const char* const kMacLength = "The length is 12 in IEEE802.11g MAC address.";
const char* const kRootMacLength = "The length is 12 in IEEE802.11g Root AP MAC Address.";

enum Mode { AccessPoint, PtPBridge, PtMPBridge, Repeater, Client };

void Editable(TEdit* e, bool on) {
    e->SetReadOnly(!on);
    e->SetColor(on ? clWindow : clBtnFace);
}

// The major version digit of the firmware (the second character).
std::string FirmwareDigit() {
    const std::string fw = MainForm ? MainForm->Ed_FwVer->Text() : "";
    return fw.size() > 1 ? fw.substr(1, 1) : "";
}

// Characters 5 to 8 of the model name.
std::string ModelNumber() {
    const std::string name = g_ModelName;
    return name.size() >= 8 ? name.substr(4, 4) : "";
}

bool ModeNamesChanged() {
    if (!MainForm) return false;
    try {
        return std::stoi(MainForm->ApmodeStringChangeSupport->Text()) == 1;
    } catch (const std::exception&) {
        return false;
    }
}

bool ClientRootShown() { return FirmwareDigit() == "1" && ModelNumber() == "7300"; }

} // namespace

void TFM_ModeCFG::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_ModeCFG>("TFM_ModeCFG");
}

TFM_ModeCFG::TFM_ModeCFG(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_ModeCFG", .caption = "Advanced \\ Mode", .clientWidth = 313,
              .clientHeight = 399});

    const formparts::BandPages bands =
        formparts::MakeBandPages(this, "PC_Mode", "TS_80211a", "TS_80211g", 8, 8, 297, 320);
    PC_Mode = bands.pages;
    TS_80211a = bands.band1;
    TS_80211g = bands.band2;

    // Band 1.
    TWinControl* p = TS_80211a;
    NewLabel(this, p, "AP Mode", 8, 14);
    CB_11a_APM = NewControl<TComboBox>(this, p, "CB_11a_APM", 110, 10, 170, 22);
    CB_11a_APM->SetStyle(csDropDownList);
    CB_11a_APMTemp = NewControl<TComboBox>(this, p, "CB_11a_APMTemp", 110, 10, 170, 22);
    CB_11a_APMTemp->SetStyle(csDropDownList);
    CB_11a_APMTemp->Hide();
    NewLabel(this, p, "Remote AP MAC Address", 8, 44);
    const char* const remoteA[] = {"Ed_ReMAddra0", "Ed_ReMAddra1", "Ed_ReMAddra2",
                                   "Ed_ReMAddra3", "Ed_ReMAddra4", "Ed_ReMAddra5",
                                   "Ed_ReMAddra6", "Ed_ReMAddra7"};
    for (int i = 0; i < 8; ++i)
        Ed_ReMAddra[i] =
            NewControl<TEdit>(this, p, remoteA[i], 8 + 140 * (i % 2), 64 + 28 * (i / 2), 130, 21);
    La_RoMAddra = NewLabel(this, p, "Root AP MAC Address", 8, 186);
    Ed_RoMAddra0 = NewControl<TEdit>(this, p, "Ed_RoMAddra0", 148, 182, 130, 21);
    Ed_CRoMAddra0 = NewControl<TEdit>(this, p, "Ed_CRoMAddra0", 148, 182, 130, 21);
    Ed_CRoMAddra0->Hide();
    La_SSID = NewLabel(this, p, "SSID", 8, 216);
    Ed_SSID = NewControl<TEdit>(this, p, "Ed_SSID", 148, 212, 130, 21);
    Ed_SSID->SetMaxLength(32);
    CB_SecAutha = NewControl<TComboBox>(this, p, "CB_SecAutha", 0, 0, 10, 10);
    CB_SecAutha->Hide();

    // Band 2.
    TWinControl* g = TS_80211g;
    NewLabel(this, g, "AP Mode", 8, 14);
    CB_11g_APM = NewControl<TComboBox>(this, g, "CB_11g_APM", 110, 10, 170, 22);
    CB_11g_APM->SetStyle(csDropDownList);
    NewLabel(this, g, "Remote AP MAC Address", 8, 44);
    const char* const remoteG[] = {"Ed_ReMAddrg0", "Ed_ReMAddrg1", "Ed_ReMAddrg2",
                                   "Ed_ReMAddrg3", "Ed_ReMAddrg4", "Ed_ReMAddrg5",
                                   "Ed_ReMAddrg6", "Ed_ReMAddrg7"};
    for (int i = 0; i < 8; ++i)
        Ed_ReMAddrg[i] =
            NewControl<TEdit>(this, g, remoteG[i], 8 + 140 * (i % 2), 64 + 28 * (i / 2), 130, 21);
    NewLabel(this, g, "Root AP MAC Address", 8, 186);
    Ed_RoMAddrg0 = NewControl<TEdit>(this, g, "Ed_RoMAddrg0", 148, 182, 130, 21);

    Bt_Apply = NewControl<TButton>(this, this, "Bt_Apply", 57, 340, 80, 25, "Apply");
    Bt_Refresh = NewControl<TButton>(this, this, "Bt_Refresh", 143, 340, 80, 25, "Refresh");
    Bt_Close = NewControl<TButton>(this, this, "Bt_Close", 229, 340, 80, 25, "Close");
    Bt_Apply->OnClick = [this](TObject* s) { Bt_ApplyClick(s); };
    Bt_Refresh->OnClick = [this](TObject* s) { Bt_RefreshClick(s); };
    Bt_Close->OnClick = [this](TObject* s) { Bt_CloseClick(s); };
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    // Set before the binding takes the combos over: it chains behind.
    CB_11a_APM->OnChange = [this](TObject* s) { CB_11a_APMChange(s); };
    CB_11g_APM->OnChange = [this](TObject* s) { CB_11g_APMChange(s); };
    CB_11a_APMTemp->OnChange = [this](TObject* s) { CB_11a_APMTempChange(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TFM_ModeCFG::~TFM_ModeCFG() {
    ModeGroupA.reset();
    ModeGroupG.reset();
    AuthGroup.reset();
}

std::vector<TEdit*> TFM_ModeCFG::MacEdits(int band) const {
    std::vector<TEdit*> out;
    TEdit* const* remote = band == 1 ? Ed_ReMAddra : Ed_ReMAddrg;
    out.assign(remote, remote + 8);
    if (band == 1) {
        out.push_back(Ed_RoMAddra0);
        out.push_back(Ed_CRoMAddra0);
    } else {
        out.push_back(Ed_RoMAddrg0);
    }
    return out;
}

void TFM_ModeCFG::EmptyUnsetMacs(int band) {
    for (TEdit* e : MacEdits(band))
        if (e->Text() == kNoMac) e->Clear();
}

void TFM_ModeCFG::FormCreate(TObject*) {
    if (TS_80211a->TabVisible()) {
        TS_80211a->SetCaption(g_BandCaption);
        if (FirmwareDigit() == "1") {
            La_SSID->Hide();
            Ed_SSID->Hide();
        }
        ModeGroupA = std::make_unique<QvSNMPRequest2Edits>(this);
        ModeGroupA->request.vars = QvSNMPVarList(mib::modeCfgTableA, MVT_SV, 0);
        ModeGroupA->mode = 0;
        ModeGroupA->SetStatusBar(StatusBar);
        ModeGroupA->AssociateComboBox(0, CB_11a_APM);
        for (int i = 0; i < 8; ++i) ModeGroupA->AssociateEdits(1 + i, "%h", Ed_ReMAddra[i]);
        ModeGroupA->AssociateEdits(9, "%h", Ed_RoMAddra0);
        ModeGroupA->AssociateEdits(10, "%h", Ed_CRoMAddra0);
        ModeGroupA->AssociateEdits(11, "%s", Ed_SSID);
        ReadNow(ModeGroupA.get());
        ExchangeRootEdits();
        ShowModeFields(1);
        for (TEdit* e : MacEdits(1)) e->SetMaxLength(12);
    }
    if (TS_80211g->TabVisible()) {
        TS_80211g->SetCaption(g_BandCaption);
        ModeGroupG = std::make_unique<QvSNMPRequest2Edits>(this);
        ModeGroupG->request.vars = QvSNMPVarList(mib::modeCfgTableG, MVT_SV, 0);
        ModeGroupG->mode = 0;
        ModeGroupG->SetStatusBar(StatusBar);
        ModeGroupG->AssociateComboBox(0, CB_11g_APM);
        for (int i = 0; i < 8; ++i) ModeGroupG->AssociateEdits(1 + i, "%h", Ed_ReMAddrg[i]);
        ModeGroupG->AssociateEdits(9, "%h", Ed_RoMAddrg0);
        ReadNow(ModeGroupG.get());
        ShowModeFields(2);
        for (TEdit* e : MacEdits(2)) e->SetMaxLength(12);
    }
    AuthGroup = std::make_unique<QvSNMPRequest2Edits>(this);
    AuthGroup->request.vars = QvSNMPVarList(mib::modeCfgAuthTable, MVT_SV, 0);
    AuthGroup->mode = 0;
    AuthGroup->SetStatusBar(StatusBar);
    if (TS_80211a->TabVisible()) AuthGroup->AssociateComboBox(0, CB_SecAutha);
    ReadNow(AuthGroup.get());
    ApplyModeList();
}

int TFM_ModeCFG::ModeOfText(const std::string& text) {
    if (text == "Access Point") return AccessPoint;
    if (text == "PtP Bridge") return PtPBridge;
    if (text == "PtMP Bridge") return PtMPBridge;
    if (text.find("Repeater") != std::string::npos || text == "AP Reperter") return Repeater;
    if (text.find("Client") != std::string::npos) return Client;
    return -1;
}

bool TFM_ModeCFG::UseRestrictedModeList() {
    const bool d1 = FirmwareDigit() == "1";
    const int a = CB_SecAutha->ItemIndex();
    const bool names = ModeNamesChanged();
    std::vector<std::string> list;
    if (d1) {
        if (a == 3 || a == 4) list = {"Access Point"};
    } else if (a == 2) {
        list = {"Access Point", "PtP Bridge", "PtMP Bridge",
                names ? "Universal Repeater" : "AP Reperter"};
    } else if (a == 3) {
        list = {"Access Point", names ? "Wireless Client" : "AP Client"};
    } else if (a == 4) {
        list = {"Access Point"};
    }
    if (list.empty()) return false;
    CB_11a_APMTemp->Items().Clear();
    for (const auto& s : list) CB_11a_APMTemp->Items().Add(s);
    int selected = -1;
    if (d1) {
        selected = 0;
    } else {
        const int shown = ModeOfText(CB_11a_APM->Text());
        for (int i = 0; shown >= 0 && i < CB_11a_APMTemp->Items().Count(); ++i)
            if (ModeOfText(CB_11a_APMTemp->Items()[i]) == shown) selected = i;
    }
    CB_11a_APMTemp->SetItemIndex(selected);
    return true;
}

void TFM_ModeCFG::ApplyModeList() {
    const bool used = TS_80211a->TabVisible() && UseRestrictedModeList();
    CB_11a_APMTemp->SetVisible(used);
    CB_11a_APM->SetVisible(!used);
    ReplacementUsed = used;
    FollowModeRead();
    if (ModelNumber() == "8400") {
        Ed_CRoMAddra0->Hide();
        La_RoMAddra->Hide();
        La_SSID->Hide();
        Ed_SSID->Hide();
        for (TButton* b : {Bt_Apply, Bt_Refresh, Bt_Close}) b->SetTop(b->Top() - 60);
        PC_Mode->SetHeight(PC_Mode->Height() - 70);
        SetClientHeight(ClientHeight() - 60);
    }
}

// The replacement list stands in for the bound mode combo: without a mode
// read it offers nothing to choose either.
void TFM_ModeCFG::FollowModeRead() {
    CB_11a_APMTemp->SetEnabled(!(ModeGroupA && ModeGroupA->ReadFailed()));
}

void TFM_ModeCFG::SelectModeFromReplacement() {
    // Nothing chosen in the list leaves the mode as the device has it.
    const int mode = ModeOfText(CB_11a_APMTemp->Text());
    if (CB_11a_APMTemp->ItemIndex() >= 0 && mode >= 0) CB_11a_APM->SetItemIndex(mode);
}

void TFM_ModeCFG::CB_11a_APMTempChange(TObject*) {
    SelectModeFromReplacement();
    ShowModeFields(1);
}

void TFM_ModeCFG::ExchangeRootEdits() {
    if (!ClientRootShown()) return;
    const bool repeater = CB_11a_APM->ItemIndex() == Repeater;
    Ed_CRoMAddra0->SetVisible(!repeater);
    Ed_RoMAddra0->SetVisible(repeater);
}

void TFM_ModeCFG::CB_11a_APMChange(TObject*) {
    ExchangeRootEdits();
    ShowModeFields(1);
}

void TFM_ModeCFG::CB_11g_APMChange(TObject*) { ShowModeFields(2); }

void TFM_ModeCFG::ShowModeFields(int band) {
    EmptyUnsetMacs(band);
    if (band == 2) {
        const int m = CB_11g_APM->ItemIndex();
        Editable(Ed_ReMAddrg[0], m == PtPBridge || m == PtMPBridge);
        for (int i = 1; i < 8; ++i) Editable(Ed_ReMAddrg[i], m == PtMPBridge);
        Editable(Ed_RoMAddrg0, false);
        return;
    }
    const int m = CB_11a_APM->ItemIndex();
    Editable(Ed_ReMAddra[0], m == PtPBridge || m == PtMPBridge);
    for (int i = 1; i < 8; ++i) Editable(Ed_ReMAddra[i], m == PtMPBridge);
    Editable(Ed_RoMAddra0, m == Repeater);
    Editable(Ed_CRoMAddra0, m == Client);
    Editable(Ed_SSID, m == Client);
    // A mode this form does not know shows what the device holds, greyed.
    if (m < 0) return;
    if (m != Repeater) Ed_RoMAddra0->Clear();
    if (m != Client) Ed_CRoMAddra0->Clear();
    if (m != Repeater && m != Client) Ed_SSID->Clear();
}

bool TFM_ModeCFG::HasDuplicateMac() {
    // Only the bridge peers of the multipoint mode are written together; a
    // greyed pair the device holds must not block another mode.
    if (CB_11a_APM->ItemIndex() != PtMPBridge) return true;
    for (int i = 7; i >= 1; --i) {
        const std::string a = UpperCase(Ed_ReMAddra[i]->Text());
        if (a.empty()) continue;
        for (int j = 0; j < i; ++j) {
            // The device holds hexadecimal digits, so case does not count.
            if (a == UpperCase(Ed_ReMAddra[j]->Text())) {
                MessageBox(this, "Exist same MAC address.", "Warning", MB_OK | MB_ICONWARNING);
                Ed_ReMAddra[i]->SetFocus();
                return false;
            }
        }
    }
    return true;
}

bool TFM_ModeCFG::CheckMacFields(int band) {
    QvSNMPRequest2Edits* group = band == 1 ? ModeGroupA.get() : ModeGroupG.get();
    if (!group) return false;
    QvSNMPVarList& v = group->request.vars;
    for (int i = 1; i < v.Count(); ++i) v.Item(i)->Access = QvAccess::Invalid;
    TEdit* const* remote = band == 1 ? Ed_ReMAddra : Ed_ReMAddrg;
    TEdit* root = band == 1 ? Ed_RoMAddra0 : Ed_RoMAddrg0;
    const int m = (band == 1 ? CB_11a_APM : CB_11g_APM)->ItemIndex();

    auto twelve = [this](TEdit* e, const char* message, bool emptyOnFailure) {
        if (e->Text().empty()) e->SetText(kNoMac);
        if (e->Text().size() == 12) return true;
        MessageBox(this, message, "Error", MB_OK | MB_ICONERROR);
        if (emptyOnFailure) e->Clear();
        return false;
    };
    switch (m) {
    case PtPBridge:
        if (!twelve(remote[0], kMacLength, false)) return false;
        v.Item(1)->Access = QvAccess::ReadWrite;
        break;
    case PtMPBridge:
        for (int i = 0; i < 8; ++i)
            if (remote[i]->Text().empty()) remote[i]->SetText(kNoMac);
        for (int i = 0; i < 8; ++i)
            if (!twelve(remote[i], kMacLength, i == 0)) return false;
        for (int i = 1; i <= 8; ++i) v.Item(i)->Access = QvAccess::ReadWrite;
        break;
    case Repeater:
        if (!twelve(root, kRootMacLength, false)) return false;
        v.Item(9)->Access = QvAccess::ReadWrite;
        break;
    case Client:
        if (band != 1) break;
        if (ClientRootShown()) {
            if (!twelve(Ed_CRoMAddra0, kRootMacLength, false)) return false;
            v.Item(10)->Access = QvAccess::ReadWrite;
            break;
        }
        if (Ed_SSID->Text().empty()) {
            MessageBox(this, "Please input the SSID.", "Warning", MB_OK | MB_ICONWARNING);
            Ed_SSID->SetFocus();
            return false;
        }
        if (std::isspace(static_cast<unsigned char>(Ed_SSID->Text()[0]))) {
            MessageBox(this, "The first character can't be blank.", "Error",
                       MB_OK | MB_ICONERROR);
            Ed_SSID->SetFocus();
            return false;
        }
        v.Item(11)->Access = QvAccess::ReadWrite;
        break;
    default:
        break;
    }
    return true;
}

void TFM_ModeCFG::Bt_ApplyClick(TObject*) {
    if (writes_.Running()) return;
    const bool bandA = TS_80211a->TabVisible() && ModeGroupA;
    const bool bandG = TS_80211g->TabVisible() && ModeGroupG;
    auto refused = [this] {
        StatusBar->SetSimpleText(g_Setting11gError);
        // The zeros put in for the check are not the user's input.
        EmptyUnsetMacs(1);
        EmptyUnsetMacs(2);
    };
    if (bandA) {
        if (!HasDuplicateMac()) return;
        if (!CheckMacFields(1)) return refused();
        if (ReplacementUsed) SelectModeFromReplacement();
    }
    if (bandG && !CheckMacFields(2)) return refused();

    // A mode the list does not name has no text to send: the band is left
    // out and the device keeps its mode (writing the empty text would send 0).
    bool any = false;
    if (bandA && CB_11a_APM->ItemIndex() >= 0) {
        writes_.Add(ModeGroupA.get(), true, "");
        any = true;
    }
    if (bandG && CB_11g_APM->ItemIndex() >= 0) {
        writes_.Add(ModeGroupG.get(), true, "");
        any = true;
    }
    if (!any) {
        EmptyUnsetMacs(1);
        EmptyUnsetMacs(2);
        return;
    }
    writes_.Start([this](bool ok, const QvSNMPError&) {
        EmptyUnsetMacs(1);
        EmptyUnsetMacs(2);
        if (!ok) {
            StatusBar->SetSimpleText(g_Setting11gError);
            return;
        }
        StatusBar->SetSimpleText(g_Setting11gSuccess);
        // With its defaults the dialog tells the device to restart.
        TFM_Waiting::Run();
    });
}

void TFM_ModeCFG::Bt_RefreshClick(TObject*) {
    if (writes_.Running()) return;
    if (TS_80211a->TabVisible() && ModeGroupA) {
        ReadNow(ModeGroupA.get());
        ExchangeRootEdits();
        ShowModeFields(1);
        FollowModeRead();
    }
    if (TS_80211g->TabVisible() && ModeGroupG) {
        ReadNow(ModeGroupG.get());
        ShowModeFields(2);
    }
}

void TFM_ModeCFG::Bt_CloseClick(TObject*) { Close(); }

void TFM_ModeCFG::FormClose(TObject*, TCloseAction&) {}
