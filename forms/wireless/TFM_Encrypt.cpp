#include "forms/wireless/TFM_Encrypt.h"

#include "app/MainUnit.h"
#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/wireless/FormParts.h"
#include "mib/EncryptVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Graphics.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>

namespace {

using formparts::Fill;
using formparts::ReadNow;

const char* const kAuthNames[] = {"Open System", "Shared Key", "Open System / Shared Key",
                                  "WPA-PSK", "WPA-EAP"};
enum Auth { OpenSystem, SharedKey, OpenShared, WpaPsk, WpaEap, NoAuth };

Auth AuthOf(const std::string& text) {
    for (int i = 0; i < 5; ++i)
        if (text == kAuthNames[i]) return static_cast<Auth>(i);
    return NoAuth;
}

void Editable(TEdit* e, bool on) {
    e->SetReadOnly(!on);
    e->SetColor(on ? clWindow : clBtnFace);
}

const char* const kOrdinal[] = {"1st", "2nd", "3rd", "4th"};

// The security servers: a row of labels above a row of edits, per setting.
constexpr int kServerColumn[] = {8, 140, 296};
constexpr int kServerEditWidth = 120;
constexpr int kDnsLabelTop = 20;
constexpr int kRadiusLabelTop = 64;
constexpr int kEditBelowLabel = 18;
// How far the RADIUS rows move up when the DNS row is hidden.
constexpr int kDnsRowHeight = kRadiusLabelTop - kDnsLabelTop;

} // namespace

void TFM_Encrypt::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_Encrypt>("TFM_Encrypt");
}

TFM_Encrypt::TFM_Encrypt(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Encrypt", .caption = "Advanced \\ Encryption", .clientWidth = 460,
              .clientHeight = 584});

    const formparts::BandPages bands =
        formparts::MakeBandPages(this, "PC_Encryption", "TS_80211a", "TS_80211g", 8, 8, 444, 512);
    PC_Encryption = bands.pages;
    TS_80211a = bands.band1;
    TS_80211g = bands.band2;
    TWinControl* p = TS_80211a;

    NewLabel(this, p, "Authentication", 8, 12);
    CB_SecAutha = NewControl<TComboBox>(this, p, "CB_SecAutha", 130, 8, 200, 22);
    CB_SecAutha->SetStyle(csDropDownList);
    NewLabel(this, p, "Encryption", 8, 40);
    CB_SecEncypa = NewControl<TComboBox>(this, p, "CB_SecEncypa", 130, 36, 100, 22);
    CB_SecEncypa->SetStyle(csDropDownList);
    NewLabel(this, p, "Key Type", 8, 68);
    CB_KeyTypeA = NewControl<TComboBox>(this, p, "CB_KeyTypeA", 130, 64, 100, 22);
    CB_KeyTypeA->SetStyle(csDropDownList);
    NewLabel(this, p, "Key Size", 8, 96);
    CB_KeySizeA = NewControl<TComboBox>(this, p, "CB_KeySizeA", 130, 92, 100, 22);
    CB_KeySizeA->SetStyle(csDropDownList);
    NewLabel(this, p, "Valid Key", 8, 124);
    CB_SecValKeya = NewControl<TComboBox>(this, p, "CB_SecValKeya", 130, 120, 100, 22);
    CB_SecValKeya->SetStyle(csDropDownList);

    GB_KeyTable = NewControl<TGroupBox>(this, p, "GB_KeyTable", 8, 148, 424, 122, "Key Table ");
    const char* const hexNames[] = {"Ed_Key1a", "Ed_Key2a", "Ed_Key3a", "Ed_Key4a"};
    const char* const asciiNames[] = {"Ed_Key1t", "Ed_Key2t", "Ed_Key3t", "Ed_Key4t"};
    const char* const labels[] = {"First", "Second", "Third", "Fourth"};
    for (int i = 0; i < 4; ++i) {
        NewLabel(this, GB_KeyTable, labels[i], 12, 26 + 24 * i);
        Ed_Keya[i] = NewControl<TEdit>(this, GB_KeyTable, hexNames[i], 90, 24 + 24 * i, 320, 21);
        Ed_Keyt[i] = NewControl<TEdit>(this, GB_KeyTable, asciiNames[i], 90, 24 + 24 * i, 320, 21);
        Ed_Keyt[i]->Hide();
    }

    NewLabel(this, p, "PassPhrase", 8, 282);
    Ed_PassPha = NewControl<TEdit>(this, p, "Ed_PassPha", 130, 278, 250, 21);
    Ed_PassPha->SetMaxLength(63);
    // A secret like the keys: never shown.
    Ed_PassPha->SetPasswordChar('*');
    NewLabel(this, p, "Cipher Type", 8, 308);
    CB_CipherTypea = NewControl<TComboBox>(this, p, "CB_CipherTypea", 130, 304, 100, 22);
    NewLabel(this, p, "Group Key  Update ", 8, 330);
    NewLabel(this, p, "Interval [ 300 - 9999999 ]", 8, 348);
    Ed_GKUIa = NewControl<TEdit>(this, p, "Ed_GKUIa", 200, 338, 100, 21);

    // Each setting's label stands above its edit, so no caption runs into
    // the next one.
    GB_Server = NewControl<TGroupBox>(this, p, "GB_Server", 8, 368, 424, 112,
                                      "  Security Server Settings  ");
    const int* col = kServerColumn;
    const int dnsEdit = kDnsLabelTop + kEditBelowLabel;
    La_DNSIP = NewLabel(this, GB_Server, "Domain Name Server", col[0], kDnsLabelTop);
    La_DNSIP2 =
        NewLabel(this, GB_Server, "IP Address", col[0] + La_DNSIP->Width() + 4, kDnsLabelTop);
    Ed_DNSIP = NewControl<TEdit>(this, GB_Server, "Ed_DNSIP", col[0], dnsEdit, kServerEditWidth, 21,
                                 "0.0.0.0");
    La_DNS = NewLabel(this, GB_Server, "Domain Name Server", col[1] + 100, kDnsLabelTop);
    Ed_DNS = NewControl<TEdit>(this, GB_Server, "Ed_DNS", col[1] + 100, dnsEdit, 176, 21);
    Ed_DNS->SetMaxLength(32);
    const int radiusEdit = kRadiusLabelTop + kEditBelowLabel;
    La_Radius = NewLabel(this, GB_Server, "RADIUS Server", col[0], kRadiusLabelTop);
    Ed_RadiusSrv2 = NewControl<TEdit>(this, GB_Server, "Ed_RadiusSrv2", col[0], radiusEdit,
                                      kServerEditWidth, 21, "0.0.0.0");
    Ed_RadiusSrv = NewControl<TEdit>(this, GB_Server, "Ed_RadiusSrv", col[0], radiusEdit,
                                     kServerEditWidth, 21);
    Ed_RadiusSrv->Hide();
    La_RadiusPort = NewLabel(this, GB_Server, "RADIUS Port (1-65535)", col[1], kRadiusLabelTop);
    Ed_RadiusPort = NewControl<TEdit>(this, GB_Server, "Ed_RadiusPort", col[1], radiusEdit,
                                      kServerEditWidth, 21);
    La_RadiusSec = NewLabel(this, GB_Server, "RADIUS Secret ", col[2], kRadiusLabelTop);
    Ed_RadiusSec = NewControl<TEdit>(this, GB_Server, "Ed_RadiusSec", col[2], radiusEdit,
                                     kServerEditWidth, 21);
    Ed_RadiusSec->SetMaxLength(32);
    Ed_RadiusSec->SetPasswordChar('*');

    CB_11a_APM = NewControl<TComboBox>(this, p, "CB_11a_APM", 0, 0, 10, 10);
    CB_11a_APM->Hide();
    Codebase = NewControl<TEdit>(this, p, "Codebase", 0, 0, 10, 10);
    Codebase->Hide();

    Bt_Apply = NewControl<TButton>(this, this, "Bt_Apply", 200, 528, 80, 25, "Apply");
    Bt_Cancel = NewControl<TButton>(this, this, "Bt_Cancel", 286, 528, 80, 25, "Cancel");
    Bt_Ref = NewControl<TButton>(this, this, "Bt_Ref", 372, 528, 80, 25, "Refresh");
    Bt_Apply->OnClick = [this](TObject* s) { Bt_ApplyClick(s); };
    Bt_Cancel->OnClick = [this](TObject* s) { Bt_CancelClick(s); };
    Bt_Ref->OnClick = [this](TObject* s) { Bt_RefClick(s); };
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    Fill(CB_KeyTypeA, {"HEX", "ASCII"});
    CB_KeyTypeA->SetItemIndex(0);
    Fill(CB_KeySizeA, {"64 Bits", "128 Bits", "152 Bits"});
    CB_KeySizeA->SetItemIndex(0);

    // Set before the binding takes the combos over: it chains behind.
    CB_SecAutha->OnChange = [this](TObject*) { UpdateAuthControls(); };
    CB_SecEncypa->OnChange = [this](TObject*) { UpdateAuthControls(); };
    CB_KeyTypeA->OnChange = [this](TObject*) { ShowKeyTable(); };
    CB_KeySizeA->OnChange = [this](TObject*) { ShowKeyTable(); };
    CB_SecValKeya->OnChange = [this](TObject*) { ShowKeyTable(); };
    PC_Encryption->OnChange = [this](TObject*) { UpdateAuthControls(); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_Encrypt::~TFM_Encrypt() {
    ServerGroup.reset();
    AuthGroup.reset();
    PassPhraseA.reset();
    PassPhraseG.reset();
    ApModeGroup.reset();
    CodebaseGroup.reset();
}

void TFM_Encrypt::FormCreate(TObject*) {
    const bool bandA = TS_80211a->TabVisible();
    AuthGroup = std::make_unique<QvSNMPRequest2Edits>(this);
    AuthGroup->request.vars = QvSNMPVarList(mib::encryptAuthTable, MVT_SV, 0);
    AuthGroup->request.Timeout = 5000;
    AuthGroup->mode = 0;
    if (bandA) {
        TS_80211a->SetCaption(g_BandCaption);
        QvSNMPVarList& v = AuthGroup->request.vars;
        AuthGroup->AssociateComboBox(0, CB_SecAutha);
        AuthGroup->AssociateComboBox(1, CB_SecEncypa);
        AuthGroup->AssociateComboBox(2, CB_SecValKeya);
        for (int i = 0; i < 4; ++i) AuthGroup->AssociateEdits(6 + i, "%s", Ed_Keya[i]);
        for (int i : {0, 1, 2, 6, 7, 8, 9}) v.Item(i)->Access = QvAccess::ReadWrite;

        ApModeGroup = std::make_unique<QvSNMPRequest2Edits>(this);
        ApModeGroup->request.vars = QvSNMPVarList(mib::encryptApModeTable, MVT_SV, 0);
        ApModeGroup->mode = 0;
        ApModeGroup->AssociateComboBox(0, CB_11a_APM);
        CodebaseGroup = std::make_unique<QvSNMPRequest2Edits>(this);
        CodebaseGroup->request.vars = QvSNMPVarList(mib::encryptCodebaseTable, SVT_SV, 0);
        CodebaseGroup->mode = 0;
        CodebaseGroup->AssociateEdits(0, "%s", Codebase);
        ServerGroup = std::make_unique<QvSNMPRequest2Edits>(this);
        ServerGroup->request.vars = QvSNMPVarList(mib::encryptServerTable, SVT_SV, 0);
        ServerGroup->AssociateEdits(0, "%s", Ed_DNSIP);
        ServerGroup->AssociateEdits(1, "%s", Ed_DNS);
        ServerGroup->AssociateEdits(2, "%s", Ed_RadiusSrv);
        ServerGroup->AssociateEdits(3, "%u{n1x65535}", Ed_RadiusPort);
        ServerGroup->AssociateEdits(4, "%s", Ed_RadiusSec);
        ServerGroup->OnReadDone = [this](QvSNMPRequest2Controls*, QvSNMPError* e) {
            OnServerRead(e);
        };
    }
    AuthGroup->SetStatusBar(StatusBar);
    ReadNow(AuthGroup.get());
    if (ServerGroup) {
        ServerRead = false;
        ReadNow(ServerGroup.get());
    }
    if (ApModeGroup) ReadNow(ApModeGroup.get());
    if (CodebaseGroup && ReadNow(CodebaseGroup.get()) && Codebase->Text() == "3.3.0.156")
        HideSecurityRow();
    RememberedAuth = CB_SecAutha->Text();
    DetectKeySize();

    PassPhraseA = std::make_unique<QvSNMPRequest2Edits>(this);
    PassPhraseA->request.vars = QvSNMPVarList(mib::encryptPassPhraseTableA, MVT_SV, 0);
    PassPhraseG = std::make_unique<QvSNMPRequest2Edits>(this);
    PassPhraseG->request.vars = QvSNMPVarList(mib::encryptPassPhraseTableG, MVT_SV, 0);
    if (bandA) {
        PassPhraseA->request.Timeout = 5000;
        PassPhraseA->mode = 0;
        PassPhraseA->AssociateEdits(0, "%s", Ed_PassPha);
        PassPhraseA->AssociateComboBox(1, CB_CipherTypea);
        PassPhraseA->AssociateEdits(2, "%u", Ed_GKUIa);
        ReadNow(PassPhraseA.get());
    }
    ShowKeyTable();
    DetectKeySize();
    if (bandA) FillAuthenticationList();
    UpdateAuthControls();
    if (CB_SecAutha->Items().Count() == 9) {
        // The selection must stay on what the device holds, or on nothing.
        const std::string shown = CB_SecAutha->Text();
        for (const char* name : {"WPA2-EAP", "WPA2-PSK", "WPA-Auto-EAP", "WPA-Auto-PSK"}) {
            const int at = CB_SecAutha->Items().IndexOf(name);
            if (at >= 0) CB_SecAutha->Items().Delete(at);
        }
        CB_SecAutha->SetItemIndex(CB_SecAutha->Items().IndexOf(shown));
    }
}

void TFM_Encrypt::OnServerRead(QvSNMPError* error) {
    ServerRead = !error || error->Code == 0;
    Ed_RadiusSrv2->SetEnabled(ServerRead);
    if (ServerRead)
        Ed_RadiusSrv2->SetText(Ed_RadiusSrv->Text().empty() ? "0.0.0.0" : Ed_RadiusSrv->Text());
}

void TFM_Encrypt::HideSecurityRow() {
    for (TControl* c : std::initializer_list<TControl*>{La_DNSIP, La_DNSIP2, La_DNS, Ed_DNSIP, Ed_DNS})
        c->Hide();
    for (TControl* c : std::initializer_list<TControl*>{La_Radius, La_RadiusPort, La_RadiusSec,
                                                         Ed_RadiusSrv, Ed_RadiusSrv2,
                                                         Ed_RadiusPort, Ed_RadiusSec, Bt_Apply,
                                                         Bt_Cancel, Bt_Ref})
        c->SetTop(c->Top() - kDnsRowHeight);
    GB_Server->SetHeight(GB_Server->Height() - kDnsRowHeight);
    PC_Encryption->SetHeight(PC_Encryption->Height() - kDnsRowHeight);
    SetClientHeight(ClientHeight() - kDnsRowHeight);
}

void TFM_Encrypt::DetectKeySize() {
    const int k = CB_SecValKeya->ItemIndex();
    if (k < 0 || k > 3) return;
    const int size = formparts::KeySizeOfHexLength(Ed_Keya[k]->Text().size());
    if (size >= 0) CB_KeySizeA->SetItemIndex(size);
}

int TFM_Encrypt::KeyLength() const {
    return formparts::KeyLength(CB_KeyTypeA->Text() == "ASCII", CB_KeySizeA->ItemIndex());
}

void TFM_Encrypt::ShowKeyTable() {
    const bool ascii = CB_KeyTypeA->Text() == "ASCII";
    const int len = KeyLength();
    for (int i = 0; i < 4; ++i) {
        TEdit* shown = ascii ? Ed_Keyt[i] : Ed_Keya[i];
        Ed_Keyt[i]->SetVisible(ascii);
        Ed_Keya[i]->SetVisible(!ascii);
        shown->SetMaxLength(len);
        shown->SetText(formparts::KeyMask(len));
    }
}

void TFM_Encrypt::FillAuthenticationList() {
    const std::string fw = MainForm ? MainForm->Ed_FwVer->Text() : "";
    const bool d1 = fw.size() > 1 && fw[1] == '1';
    const int m = CB_11a_APM->ItemIndex();
    std::vector<const char*> list;
    if (!d1 && m == 4)
        list = {"Open System", "Shared Key", "WPA-PSK"};
    else if ((!d1 && m >= 1 && m <= 3) || (d1 && m != 0))
        list = {"Open System", "Shared Key", "Open System / Shared Key"};
    else
        return;
    const std::string shown = CB_SecAutha->Text();
    CB_SecAutha->Items().Clear();
    for (const char* s : list) CB_SecAutha->Items().Add(s);
    CB_SecAutha->SetItemIndex(CB_SecAutha->Items().IndexOf(shown));
}

void TFM_Encrypt::UpdateAuthControls() {
    Ed_RadiusSec->SetMaxLength(32);
    Ed_RadiusPort->SetMaxLength(5);
    Ed_DNSIP->SetMaxLength(15);
    Ed_DNS->SetMaxLength(32);
    Ed_RadiusSrv2->SetMaxLength(15);
    Ed_RadiusSrv2->SetText(Ed_RadiusSrv->Text().empty() ? "0.0.0.0" : Ed_RadiusSrv->Text());
    if (!TS_80211a->TabVisible()) return;
    const Auth auth = AuthOf(CB_SecAutha->Text());
    // A control whose group could not be read holds nothing of the device's
    // and stays greyed, whatever the authentication asks for.
    const bool authRead = !(AuthGroup && AuthGroup->ReadFailed());
    const bool passRead = !(PassPhraseA && PassPhraseA->ReadFailed());
    auto enable = [](TControl* c, bool readOk, bool on) { c->SetEnabled(on && readOk); };
    enable(CB_SecValKeya, authRead, true);
    enable(CB_SecEncypa, authRead, true);
    for (TEdit* e : Ed_Keya) Editable(e, true);
    for (TEdit* e : Ed_Keyt) Editable(e, true);
    for (TEdit* e : Ed_Keyt) e->SetEnabled(authRead);
    if (ServerGroup) Ed_RadiusSrv2->SetEnabled(!ServerGroup->ReadFailed());

    auto keys = [this, authRead, enable](bool on) {
        enable(CB_KeyTypeA, authRead, on);
        enable(CB_KeySizeA, authRead, on);
        enable(CB_SecValKeya, authRead, on);
        for (TEdit* e : Ed_Keya) Editable(e, on);
        for (TEdit* e : Ed_Keyt) Editable(e, on);
    };
    auto servers = [this](bool on) {
        for (TEdit* e : {Ed_DNSIP, Ed_DNS, Ed_RadiusSrv, Ed_RadiusSrv2, Ed_RadiusPort, Ed_RadiusSec})
            Editable(e, on);
    };
    auto forceEnable = [this] {
        CB_SecEncypa->SetItemIndex(CB_SecEncypa->Items().IndexOf("Enable"));
        CB_SecEncypa->SetEnabled(false);
    };
    auto cipher = [this, passRead, enable](bool on) { enable(CB_CipherTypea, passRead, on); };
    const bool client = CB_11a_APM->Text() == "Wireless Client";
    switch (auth) {
    case OpenSystem:
    case OpenShared:
        enable(CB_SecEncypa, authRead, true);
        keys(CB_SecEncypa->Text() == "Enable");
        Editable(Ed_PassPha, false);
        cipher(false);
        Editable(Ed_GKUIa, false);
        servers(false);
        break;
    case SharedKey:
        forceEnable();
        keys(true);
        Editable(Ed_PassPha, false);
        cipher(false);
        Editable(Ed_GKUIa, false);
        servers(false);
        break;
    case WpaPsk:
        forceEnable();
        keys(false);
        Editable(Ed_PassPha, true);
        Ed_PassPha->SetMaxLength(63);
        if (client) {
            CB_CipherTypea->SetItemIndex(CB_CipherTypea->Items().IndexOf("TKIP"));
            cipher(false);
        } else {
            cipher(true);
            CB_CipherTypea->SetColor(clWindow);
        }
        Editable(Ed_GKUIa, !client);
        servers(false);
        break;
    case WpaEap:
        forceEnable();
        keys(false);
        Editable(Ed_PassPha, false);
        cipher(true);
        Editable(Ed_GKUIa, true);
        servers(true);
        break;
    case NoAuth:
        break;
    }
    Ed_GKUIa->SetMaxLength(7);
}

bool TFM_Encrypt::IsKeyChanged(int i) const {
    return !formparts::IsKeyMask(Ed_Keyt[i]->Text());
}

std::string TFM_Encrypt::AsciiToHex(const std::string& text) {
    return formparts::AsciiToHex(text, formparts::HexCase::Lower);
}

bool TFM_Encrypt::CheckKeyLength() {
    const bool ascii = CB_KeyTypeA->Text() == "ASCII";
    const int len = KeyLength();
    for (int i = 0; i < 4; ++i) {
        TEdit* e = ascii ? Ed_Keyt[i] : Ed_Keya[i];
        if (static_cast<int>(e->Text().size()) != len) {
            const std::string word = len == 16 ? "Lengh" : "Length";
            MessageBox(this,
                       "The " + word + " of the " + kOrdinal[i] + " key in IEEE802.11g must be " +
                           std::to_string(len) + "!",
                       "Warning", MB_OK | MB_ICONWARNING);
            return false;
        }
    }
    // The hidden hexadecimal edits carry what goes out: a key the user
    // cannot see there (typed before ASCII was chosen) is not sent.
    if (ascii)
        for (int i = 0; i < 4; ++i)
            Ed_Keya[i]->SetText(IsKeyChanged(i) ? AsciiToHex(Ed_Keyt[i]->Text())
                                                : formparts::KeyMask(KeyLength()));
    return true;
}

int TFM_Encrypt::CheckHexKey(TEdit* edit) {
    switch (formparts::OutgoingKey(edit, false, formparts::HexCase::Lower, nullptr)) {
    case formparts::KeyUse::Keep:
        return 0;
    case formparts::KeyUse::Send:
        return 1;
    case formparts::KeyUse::Refused:
        break;
    }
    return -1;
}

bool TFM_Encrypt::CheckSecurityServer() {
    Ed_RadiusSrv->SetText(Ed_RadiusSrv2->Text());
    if (Ed_DNSIP->Visible() && Ed_DNSIP->Text() != "0.0.0.0" &&
        !TMainForm::IsValidIP(Ed_DNSIP->Text())) {
        MessageBox(this, "Please input valid IP Address", "Waring", MB_OK | MB_ICONWARNING);
        Ed_DNSIP->Clear();
        Ed_DNSIP->SetFocus();
        return false;
    }
    if (!TMainForm::IsValidIP(Ed_RadiusSrv2->Text())) {
        MessageBox(this, "The Radius server's IP is illegal.", "Error", MB_OK | MB_ICONERROR);
        Ed_RadiusSrv2->SetFocus();
        return false;
    }
    if (Ed_RadiusPort->Text().empty()) {
        MessageBox(this, "Please input a number between 1 and 65535.", "Error",
                   MB_OK | MB_ICONERROR);
        Ed_RadiusPort->SetFocus();
        return false;
    }
    return true;
}

void TFM_Encrypt::Bt_ApplyClick(TObject*) {
    if (writes_.Running()) return;
    const Auth auth = AuthOf(CB_SecAutha->Text());
    if (auth == NoAuth) {
        // Nothing known to send: say so instead of ending without a word.
        MessageBox(this, "Please select an Authentication.", "Error", MB_OK | MB_ICONERROR);
        return;
    }
    if (auth == WpaEap) {
        // Edits the device has not filled yet would send an empty server.
        if (!ServerRead) {
            StatusBar->SetSimpleText("Setting error!");
            return;
        }
        if (!CheckSecurityServer()) return;
    }
    std::string authVars = "0";
    std::string passVars;
    // A passphrase group that could not be read is not written, so its
    // greyed edits are not checked either.
    const bool passRead = PassPhraseA && !PassPhraseA->ReadFailed();
    if (TS_80211a->TabVisible()) {
        // The interval is checked only when it is sent: a device value the
        // user cannot edit must not block a WEP setting.
        if ((auth == WpaPsk || auth == WpaEap) && passRead) {
            long long gk = 0;
            try {
                gk = std::stoll(Ed_GKUIa->Text());
            } catch (const std::exception&) {
                gk = 0;
            }
            if (gk < 300 || gk > 9999999) {
                MessageBox(this, "Please input a number between 300 and 9999999.", "Error",
                           MB_OK | MB_ICONERROR);
                Ed_GKUIa->Clear();
                return;
            }
        }
        if (auth == OpenSystem || auth == SharedKey || auth == OpenShared) {
            authVars = "0,1,2";
            if (CB_SecEncypa->Text() == "Enable") {
                if (!CheckKeyLength()) return;
                for (int i = 0; i < 4; ++i) {
                    const int r = CheckHexKey(Ed_Keya[i]);
                    if (r < 0) return;
                    if (r > 0) authVars += "," + std::to_string(6 + i);
                }
            }
        } else if (auth == WpaPsk) {
            const size_t n = Ed_PassPha->Text().size();
            if (passRead && (n < 8 || n > 63)) {
                MessageBox(this, "The length of 802.11g PassPhrase is between 8 and 63.", "Error",
                           MB_OK | MB_ICONERROR);
                return;
            }
            passVars = "0,1,2";
        } else {
            passVars = "1,2";
        }
    }
    writes_.Add(AuthGroup.get(), true, authVars);
    if (!passVars.empty()) writes_.Add(PassPhraseA.get(), true, passVars);
    if (auth == WpaEap && ServerGroup) {
        writes_.Add(ServerGroup.get(), true, Ed_DNSIP->Visible() ? "" : "2,3,4");
    }
    writes_.Start([this](bool ok, const QvSNMPError&) {
        if (ok) {
            RememberedAuth = CB_SecAutha->Text();
            TFM_Waiting::Run([&](TFM_Waiting& w) {
                w.Countdown = 20;
                w.RebootDelayTicks = 5;
            });
        } else {
            StatusBar->SetSimpleText("Setting error!");
        }
        ShowKeyTable();
    });
}

void TFM_Encrypt::Bt_RefClick(TObject*) {
    ReadNow(AuthGroup.get());
    if (ServerGroup && !ServerGroup->busy) ReadNow(ServerGroup.get());
    CB_SecAutha->SetItemIndex(CB_SecAutha->Items().IndexOf(RememberedAuth));
    DetectKeySize();
    if (TS_80211a->TabVisible()) ReadNow(PassPhraseA.get());
    UpdateAuthControls();
    ShowKeyTable();
}

void TFM_Encrypt::Bt_CancelClick(TObject*) { Close(); }
