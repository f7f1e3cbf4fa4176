#include "forms/wireless/TFM_MultiSSIDForm.h"

#include "app/MainUnit.h"
#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "forms/wireless/FormParts.h"
#include "mib/MultiSSIDVars.h"
#include "mib/WirelessVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>

TFM_MultiSSIDForm* FM_MultiSSIDForm = nullptr;

namespace {

using formparts::Fill;
using formparts::ReadNow;

// Variable numbers of a guest group.
enum GuestVar { kState, kSsid, kAuth, kEncryption, kKeyIndex, kKey, kTag };
// Of the master group.
enum MasterVar { kMasterSsid, kMasterAuth, kMasterEncryption, kMasterKeyIndex, kMasterTag };

TComboBox* List(TForm* form, TWinControl* parent, const std::string& name, int l, int t, int w) {
    TComboBox* c = NewControl<TComboBox>(form, parent, name, l, t, w, 22);
    c->SetStyle(csDropDownList);
    return c;
}

TComboBox* Hidden(TForm* form, TWinControl* parent, const std::string& name) {
    TComboBox* c = List(form, parent, name, 0, 0, 10);
    c->Hide();
    return c;
}

std::string Digit(int n) { return std::to_string(n + 1); }

bool Ascii(const TComboBox* keyType) { return keyType->Text() == "ASCII"; }

int KeyLengthFor(const TComboBox* keyType, const TComboBox* keySize) {
    return formparts::KeyLength(Ascii(keyType), keySize->ItemIndex());
}

// The highest VLAN ID; 4095 is reserved.
constexpr const char* kTagFormat = "%u{n1x4094}";

void Warn(TForm* form, const std::string& text, const char* caption = "Warning") {
    MessageBox(form, text, caption,
               MB_OK | (std::string(caption) == "Error" ? MB_ICONERROR : MB_ICONWARNING));
}

} // namespace

void TFM_MultiSSIDForm::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_MultiSSIDForm>("TFM_MultiSSIDForm");
}

TFM_MultiSSIDForm::TFM_MultiSSIDForm(TComponent* owner) : TForm(owner) {
    FM_MultiSSIDForm = this;
    SetFrame({.name = "FM_MultiSSIDForm", .caption = "Advanced\\Multi-SSID", .clientWidth = 600,
              .clientHeight = 540});

    PageControl1 = NewControl<TPageControl>(this, this, "PageControl1", 8, 8, 584, 460);
    TabSheet1 = new TTabSheet(PageControl1);
    TabSheet1->SetName("TabSheet1");
    TabSheet1->SetCaption(g_BandCaption);
    TWinControl* p = TabSheet1;

    CheckBox1 = NewControl<TCheckBox>(this, p, "CheckBox1", 12, 8, 200, 20, "Enable VLan State ");
    TGroupBox* master = NewControl<TGroupBox>(this, p, "GB_Master", 8, 32, 564, 72, "Master SSID");
    NewLabel(this, master, "Master SSID", 10, 22);
    MasterSSIDEdit = NewControl<TEdit>(this, master, "MasterSSIDEdit", 100, 18, 170, 21);
    MasterSSIDEdit->SetEnabled(false);
    NewLabel(this, master, "Security ", 290, 22);
    SecurityBox = List(this, master, "SecurityBox", 380, 18, 170);
    SecurityBox->SetEnabled(false);
    NewLabel(this, master, "Master Key", 10, 48);
    DefaultKey = List(this, master, "DefaultKey", 100, 44, 90);
    DefaultKey->SetEnabled(false);
    NewLabel(this, master, "VLan Group ID", 290, 48);
    GroupIDBox = NewControl<TEdit>(this, master, "GroupIDBox", 380, 44, 60, 21);
    GroupIDBox->SetEnabled(false);

    for (int n = 0; n < kGuests; ++n) {
        const std::string d = Digit(n);
        TGroupBox* g = NewControl<TGroupBox>(this, p, "GB_Guest" + d, 8, 110 + 108 * n, 564, 102,
                                             "Guest SSID" + d);
        GuestCheckBox[n] =
            NewControl<TCheckBox>(this, g, "Guest" + d + "CheckBox", 10, 18, 150, 20,
                                  n == 0 ? "Enable Guest SSID1" : "Enable Guest SSID" + d + " ");
        NewLabel(this, g, "SSID", 170, 21);
        GuestSSIDEdit[n] = NewControl<TEdit>(this, g, "GuestSSIDEdit" + d, 210, 18, 170, 21);
        NewLabel(this, g, "VLan Group ID", 390, 21);
        GuestGroupID[n] = NewControl<TEdit>(this, g, "GuestGroupID" + d, 480, 18, 60, 21);
        NewLabel(this, g, "Security ", 10, 48);
        TempComboBox[n] = List(this, g, "TempComboBox" + d, 70, 44, 110);
        NewLabel(this, g, "Key Type", 190, 48);
        GuestKeyType[n] = List(this, g, "GuestKeyType" + d, 250, 44, 70);
        NewLabel(this, g, "Key Size", 330, 48);
        GuestKeySize[n] = List(this, g, "GuestKeySize" + d, 390, 44, 90);
        NewLabel(this, g, "Key Index", 10, 76);
        GuestKey[n] = List(this, g, "GuestKey" + d, 70, 72, 110);
        NewLabel(this, g, "Key Value", 190, 76);
        GuestKeyvalueEdit[n] =
            NewControl<TEdit>(this, g, "GuestKeyvalueEdit" + d, 250, 72, 290, 21);
        GuestKeyvalueEdit[n]->SetPasswordChar('*');
        GuestSSID[n] = Hidden(this, g, "GuestSSID" + d);
        GuestSecurity[n] = Hidden(this, g, "GuestSecurity" + d);
        EnableEncryption[n] = Hidden(this, g, "EnableEncryption" + d);
    }
    VLan_State = Hidden(this, p, "VLan_State");
    AP_ModeComboBox = Hidden(this, p, "AP_ModeComboBox");
    Encryption_ComboBox = Hidden(this, p, "Encryption_ComboBox");
    Supermode_ComboBox = Hidden(this, p, "Supermode_ComboBox");

    Bt_Refresh = NewControl<TButton>(this, this, "Bt_Refresh", 336, 476, 80, 25, "Refresh");
    Bt_Apply = NewControl<TButton>(this, this, "Bt_Apply", 424, 476, 80, 25, "Apply");
    Bt_Close = NewControl<TButton>(this, this, "Bt_Close", 512, 476, 80, 25, "Close");
    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetSimplePanel(true);
    StatusBar1->SetAlign(alBottom);

    Bt_Refresh->OnClick = [this](TObject* s) { Bt_RefreshClick(s); };
    Bt_Apply->OnClick = [this](TObject* s) { Bt_ApplyClick(s); };
    Bt_Close->OnClick = [this](TObject* s) { Bt_CloseClick(s); };
    CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
    // Set before the bindings take the controls over: they chain behind.
    for (int n = 0; n < kGuests; ++n) {
        GuestCheckBox[n]->OnClick = [this, n](TObject*) { GuestCheckBoxClick(n); };
        TempComboBox[n]->OnChange = [this, n](TObject*) { GuestSecurityChange(n); };
        GuestKeyType[n]->OnChange = [this, n](TObject*) { GuestKeyTypeChange(n); };
        GuestKeySize[n]->OnChange = [this, n](TObject*) { GuestKeyTypeChange(n); };
        GuestKey[n]->OnChange = [this, n](TObject*) { GuestKeyChange(n); };
        GuestSSIDEdit[n]->OnExit = [this, n](TObject*) { GuestSSIDEditExit(n); };
        // Each ID edit checks its own guest.
        GuestGroupID[n]->OnExit = [this, n](TObject*) { GuestSSIDEditExit(n); };
    }
    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_MultiSSIDForm::~TFM_MultiSSIDForm() {
    // The groups go first: no completion may reach a half-destroyed form.
    ApSuperGGroup.reset();
    for (auto& g : GuestGroup) g.reset();
    MasterGroup.reset();
    VlanGroup.reset();
    if (FM_MultiSSIDForm == this) FM_MultiSSIDForm = nullptr;
}

void TFM_MultiSSIDForm::FormCreate(TObject*) {
    VlanGroup = std::make_unique<QvSNMPRequest2Edits>(this);
    VlanGroup->request.vars = QvSNMPVarList(mib::mssidVlanStateTable, SVT_SV, 0);
    VlanGroup->request.Timeout = 1000;
    VlanGroup->mode = 0;
    VlanGroup->SetStatusBar(StatusBar1);
    VlanGroup->AssociateComboBox(0, VLan_State);

    MasterGroup = std::make_unique<QvSNMPRequest2Edits>(this);
    MasterGroup->request.vars = QvSNMPVarList(mib::mssidMasterTable, MVT_SV, 0);
    MasterGroup->AssociateEdits(kMasterSsid, "%s", MasterSSIDEdit);
    MasterGroup->AssociateComboBox(kMasterAuth, SecurityBox);
    MasterGroup->AssociateComboBox(kMasterEncryption, Encryption_ComboBox);
    MasterGroup->AssociateComboBox(kMasterKeyIndex, DefaultKey);
    MasterGroup->AssociateEdits(kMasterTag, kTagFormat, GroupIDBox);
    MasterGroup->OnReadDone = [this](QvSNMPRequest2Controls*, QvSNMPError* e) {
        MasterReadDone(!e || e->Code == 0);
    };

    for (int n = 0; n < kGuests; ++n) {
        auto& g = GuestGroup[n];
        auto collecting = std::make_unique<formparts::CollectingGroup>(this);
        // The edit keeps what was typed; the device gets the key in hexadecimal.
        collecting->OnCollected = [this, n] {
            if (sendKey_[n])
                *GuestGroup[n]->request.vars.Item(kKey)->Value = outgoingKey_[n];
        };
        g = std::move(collecting);
        g->request.vars = QvSNMPVarList(mib::mssidGuestTables[n], MVT_SV, 0);
        g->mode = 0;
        g->AssociateComboBox(kState, GuestSSID[n]);
        g->AssociateEdits(kSsid, "%s", GuestSSIDEdit[n]);
        g->AssociateComboBox(kAuth, GuestSecurity[n]);
        g->AssociateComboBox(kEncryption, EnableEncryption[n]);
        g->AssociateComboBox(kKeyIndex, GuestKey[n]);
        g->AssociateEdits(kKey, "%s", GuestKeyvalueEdit[n]);
        g->AssociateEdits(kTag, kTagFormat, GuestGroupID[n]);
    }

    ApSuperGGroup = std::make_unique<QvSNMPRequest2Edits>(this);
    ApSuperGGroup->request.vars = QvSNMPVarList(mib::mssidApSuperGTable, MVT_SV, 0);
    const bool newNames =
        MainForm && TMainForm::FieldAsInt(MainForm->ApmodeStringChangeSupport) == 1;
    ApSuperGGroup->request.vars.Item(0)->OptionList =
        newNames ? &mib::wlApModeNewNamesList : &mib::wlApModeList;
    ApSuperGGroup->AssociateComboBox(0, AP_ModeComboBox);
    ApSuperGGroup->AssociateComboBox(1, Supermode_ComboBox);

    ReadNow(VlanGroup.get());
    StartMasterRead();
    ReadGuests();
    ReadNow(ApSuperGGroup.get());

    for (int n = 0; n < kGuests; ++n) {
        GuestSSIDEdit[n]->SetMaxLength(32);
        GuestGroupID[n]->SetMaxLength(4);
    }
    GroupIDBox->SetMaxLength(4);
    FillKeyLists();
    created_ = true;
    // The rules look at the master entry: they wait for its answer.
    if (masterAnswered_) ApplyDisplayRules();
}

bool TFM_MultiSSIDForm::MasterReading() const { return MasterGroup && MasterGroup->busy; }

void TFM_MultiSSIDForm::StartMasterRead() {
    if (MasterGroup->busy) return; // the answer on its way runs the rules
    masterAnswered_ = false;
    // An asynchronous read that cannot start has no completion to wait for.
    if (!ReadNow(MasterGroup.get()) && !MasterGroup->busy) MasterReadDone(false);
}

void TFM_MultiSSIDForm::MasterReadDone(bool ok) {
    if (ok) MasterRead = true;
    masterAnswered_ = true;
    if (created_) ApplyDisplayRules();
}

void TFM_MultiSSIDForm::ReadGuests() {
    for (int n = 0; n < kGuests; ++n)
        if (ReadNow(GuestGroup[n].get())) KeyRead[n] = GuestKeyvalueEdit[n]->Text();
}

// --- display rules ----------------------------------------------------------

void TFM_MultiSSIDForm::ApplyDisplayRules() {
    FillSecurityLists();
    VlanRule();
    for (int n = 0; n < kGuests; ++n) GuestRule(n);
}

bool TFM_MultiSSIDForm::Unread(const QvSNMPRequest2Edits* group) {
    return group && group->ReadFailed();
}

void TFM_MultiSSIDForm::VlanRule() {
    // Only a state the device gave as enabled ticks the box; a state it did
    // not give cannot be changed, and is not written.
    CheckBox1->SetChecked(VLan_State->ItemIndex() > 0);
    CheckBox1->SetEnabled(!Unread(VlanGroup.get()));
    CheckBox1Click(CheckBox1);
}

void TFM_MultiSSIDForm::CheckBox1Click(TObject*) {
    const bool on = CheckBox1->Checked();
    GroupIDBox->SetEnabled(on && !Unread(MasterGroup.get()));
    for (int n = 0; n < kGuests; ++n)
        GuestGroupID[n]->SetEnabled(on && !Unread(GuestGroup[n].get()));
    VLan_State->SetItemIndex(on ? 1 : 0);
}

void TFM_MultiSSIDForm::GuestCheckBoxClick(int n) {
    GuestSSID[n]->SetItemIndex(GuestCheckBox[n]->Checked() ? 1 : 0);
    GuestRule(n);
}

void TFM_MultiSSIDForm::GuestRule(int n) {
    const bool on = GuestSSID[n]->ItemIndex() > 0;
    GuestCheckBox[n]->SetChecked(on);
    GuestCheckBox[n]->SetEnabled(!Unread(GuestGroup[n].get()));
    if (!on) {
        for (TControl* c : std::initializer_list<TControl*>{GuestSSIDEdit[n], TempComboBox[n],
                                                             GuestKey[n], GuestKeyType[n],
                                                             GuestKeySize[n], GuestKeyvalueEdit[n]})
            c->SetEnabled(false);
        return;
    }
    GuestSSIDEdit[n]->SetEnabled(true);
    const int sec = SecurityBox->ItemIndex();
    const bool masterWpa =
        sec == 3 || sec == 4 || (sec == 2 && Encryption_ComboBox->ItemIndex() == 1);
    TempComboBox[n]->SetEnabled(!masterWpa);
    GuestKeyRule(n);
}

void TFM_MultiSSIDForm::GuestKeyRule(int n) {
    const bool on = EnableEncryption[n]->ItemIndex() > 0;
    for (TControl* c : std::initializer_list<TControl*>{GuestKey[n], GuestKeyType[n],
                                                         GuestKeySize[n], GuestKeyvalueEdit[n]})
        c->SetEnabled(on);
}

void TFM_MultiSSIDForm::EncryptionMirror(int n) {
    const std::string choice = TempComboBox[n]->Text();
    EnableEncryption[n]->SetItemIndex(choice == "Open System" || choice == "Shared Key" ? 1 : 0);
}

void TFM_MultiSSIDForm::GuestSecurityChange(int n) {
    const std::string choice = TempComboBox[n]->Text();
    if (choice != "None") GuestSecurity[n]->SetItemIndex(GuestSecurity[n]->Items().IndexOf(choice));
    EncryptionMirror(n);
    GuestKeyRule(n);
}

void TFM_MultiSSIDForm::FillSecurityLists() {
    for (int n = 0; n < kGuests; ++n) {
        Fill(TempComboBox[n], {"None", "Open System", "Shared Key"});
        if (EnableEncryption[n]->ItemIndex() != 1) {
            TempComboBox[n]->SetItemIndex(0);
        } else {
            const int auth = GuestSecurity[n]->ItemIndex();
            TempComboBox[n]->SetItemIndex(auth >= 0 && auth + 1 < 3 ? auth + 1 : -1);
        }
    }
}

void TFM_MultiSSIDForm::FillKeyLists() {
    for (int n = 0; n < kGuests; ++n) {
        Fill(GuestKeySize[n], {"64 Bits", "128 Bits", "152 Bits"});
        GuestKeySize[n]->SetItemIndex(0);
        Fill(GuestKeyType[n], {"HEX", "ASCII"});
        GuestKeyType[n]->SetItemIndex(0);
        KeySizeFromKey(n);
    }
}

void TFM_MultiSSIDForm::KeySizeFromKey(int n) {
    const int size = formparts::KeySizeOfHexLength(GuestKeyvalueEdit[n]->Text().size());
    if (size >= 0) GuestKeySize[n]->SetItemIndex(size);
    KeyLengthRule(n);
}

void TFM_MultiSSIDForm::KeyLengthRule(int n) {
    GuestKeyvalueEdit[n]->SetMaxLength(KeyLengthFor(GuestKeyType[n], GuestKeySize[n]));
}

void TFM_MultiSSIDForm::GuestKeyTypeChange(int n) { KeyLengthRule(n); }

void TFM_MultiSSIDForm::GuestKeyChange(int n) { CheckKeyIndex(n); }

void TFM_MultiSSIDForm::GuestSSIDEditExit(int n) { CheckSSID(n); }

// --- checks -----------------------------------------------------------------

bool TFM_MultiSSIDForm::CheckGuestSSIDText(int n) {
    // A guest that is off sends no SSID: what its edit holds does not matter.
    if (!GuestSSIDEdit[n]->Enabled()) return true;
    const std::string text = GuestSSIDEdit[n]->Text();
    const std::string d = Digit(n);
    if (text.size() > 32) {
        Warn(this, "The Max Length of Guest SSID" + d + "'s SSID is 32.!");
        return false;
    }
    if (text.empty()) {
        Warn(this, "Please Input SSID in Guest SSID" + d + ".");
        return false;
    }
    if (text[0] == ' ') {
        Warn(this, "The first character can't be blank in Guest SSID" + d + ".", "Error");
        GuestSSIDEdit[n]->SetFocus();
        return false;
    }
    return true;
}

bool TFM_MultiSSIDForm::CheckGroupIDs() {
    // The IDs are sent only with the VLAN state on; greyed ones cannot be fixed.
    if (VLan_State->ItemIndex() != 1) return true;
    if (GroupIDBox->Text().empty()) {
        Warn(this, "The 11g master SSID's ID is invalid.The range of ID is 1 to 4094.");
        GroupIDBox->SetFocus();
        return false;
    }
    for (int n = 0; n < kGuests; ++n) {
        if (!GuestGroupID[n]->Text().empty()) continue;
        Warn(this, "The 11g guest SSID" + Digit(n) +
                       "'s ID is invalid.The range of ID is 1 to 4094.");
        GuestGroupID[n]->SetFocus();
        return false;
    }
    return true;
}

bool TFM_MultiSSIDForm::CheckKeyIndex(int n) {
    if (!GuestKey[n]->Enabled()) return true;
    const int k = GuestKey[n]->ItemIndex();
    if (k < 0) return true;
    const std::string head = "The 11g Guest SSID" + Digit(n) + "'s key index is same as ";
    if (k == DefaultKey->ItemIndex()) {
        Warn(this, head + "master SSID");
        return false;
    }
    for (int m = 0; m < kGuests; ++m) {
        if (m == n || !GuestKey[m]->Enabled() || GuestKey[m]->ItemIndex() != k) continue;
        Warn(this, head + "Guest SSID" + Digit(m));
        return false;
    }
    return true;
}

bool TFM_MultiSSIDForm::CheckSSID(int n) {
    if (!GuestSSIDEdit[n]->Enabled()) return true;
    const std::string text = GuestSSIDEdit[n]->Text();
    const std::string head = "The 11g Guest SSID" + Digit(n) + "'s SSID is same as ";
    std::string message;
    if (text == MasterSSIDEdit->Text()) {
        message = head + "master SSID";
    } else {
        for (int m = 0; m < kGuests && message.empty(); ++m)
            if (m != n && GuestSSIDEdit[m]->Enabled() && GuestSSIDEdit[m]->Text() == text)
                message = head + "SSID" + Digit(m) + "'s SSID";
    }
    if (message.empty()) return true;
    Warn(this, message);
    GuestSSIDEdit[n]->SetFocus();
    return false;
}

bool TFM_MultiSSIDForm::CheckKeyLength(int n) {
    const int len = KeyLengthFor(GuestKeyType[n], GuestKeySize[n]);
    if (static_cast<int>(GuestKeyvalueEdit[n]->Text().size()) == len) return true;
    const std::string word = len == 16 ? "Lengh" : "Length";
    Warn(this, "The " + word + " of Guest SSID" + Digit(n) + "'s key in IEEE802.11g must be " +
                   std::to_string(len) + "!");
    return false;
}

bool TFM_MultiSSIDForm::IsKeyChanged(int n) const {
    const std::string text = GuestKeyvalueEdit[n]->Text();
    return !formparts::IsKeyMask(text) && text != KeyRead[n];
}

bool TFM_MultiSSIDForm::SelectVariables() {
    auto setAll = [](QvSNMPRequest2Edits* g, int access) {
        QvSNMPVarList& v = g->request.vars;
        for (int i = 0; i < v.Count(); ++i) v.Item(i)->Access = access;
    };
    auto rw = [](QvSNMPRequest2Edits* g, int i) {
        g->request.vars.Item(i)->Access = QvAccess::ReadWrite;
    };
    // Keys first. An ASCII key stays in its edit as typed: only the value
    // sent is hexadecimal, so a refused write leaves the input as it was.
    bool sendKey[kGuests] = {};
    std::string hexKey[kGuests];
    for (int n = 0; n < kGuests; ++n) {
        if (!GuestKeyvalueEdit[n]->Enabled()) continue;
        if (!CheckKeyLength(n)) return false;
        if (!IsKeyChanged(n)) continue;
        const formparts::KeyUse use =
            formparts::OutgoingKey(GuestKeyvalueEdit[n], Ascii(GuestKeyType[n]),
                                   formparts::HexCase::Lower, &hexKey[n]);
        if (use == formparts::KeyUse::Refused) return false;
        sendKey[n] = use == formparts::KeyUse::Send;
    }
    for (int n = 0; n < kGuests; ++n) {
        sendKey_[n] = sendKey[n];
        outgoingKey_[n] = hexKey[n];
    }

    setAll(MasterGroup.get(), QvAccess::Invalid);
    for (auto& g : GuestGroup) setAll(g.get(), QvAccess::Invalid);
    // Until the master entry answered, its edit holds nothing of the device's.
    if (MasterRead) rw(MasterGroup.get(), kMasterSsid);
    const bool vlan = VLan_State->ItemIndex() == 1;
    if (vlan) rw(MasterGroup.get(), kMasterTag);
    for (int n = 0; n < kGuests; ++n) {
        QvSNMPRequest2Edits* g = GuestGroup[n].get();
        rw(g, kState);
        if (vlan) rw(g, kTag);
        if (GuestSSID[n]->ItemIndex() != 1) continue;
        rw(g, kSsid);
        rw(g, kEncryption);
        if (EnableEncryption[n]->ItemIndex() != 1) continue;
        rw(g, kAuth);
        rw(g, kKeyIndex);
        if (sendKey[n]) rw(g, kKey);
    }
    return true;
}

// --- buttons ----------------------------------------------------------------

void TFM_MultiSSIDForm::Bt_ApplyClick(TObject*) {
    if (writes_.Running()) return;
    for (int n = 0; n < kGuests; ++n)
        if (!CheckGuestSSIDText(n)) return;
    if (!CheckGroupIDs()) return;
    for (int n = 0; n < kGuests; ++n)
        if (!CheckKeyIndex(n)) return;
    for (int n = 0; n < kGuests; ++n)
        if (!CheckSSID(n)) return;
    if (!SelectVariables()) return;

    bool anyGuest = false;
    for (TComboBox* s : GuestSSID) anyGuest = anyGuest || s->ItemIndex() == 1;
    if (VLan_State->ItemIndex() == 1 || anyGuest) {
        AP_ModeComboBox->SetItemIndex(0);
        Supermode_ComboBox->SetItemIndex(3);
        // Both values are the form's own: written even when their read failed.
        writes_.AddCommand(ApSuperGGroup.get());
    }
    writes_.Add(VlanGroup.get());
    // A group with nothing to send stays out of the set.
    bool masterSends = false;
    const QvSNMPVarList& mv = MasterGroup->request.vars;
    for (int i = 0; i < mv.Count(); ++i)
        masterSends = masterSends || mv.Item(i)->Access == QvAccess::ReadWrite;
    if (masterSends) writes_.Add(MasterGroup.get());
    for (auto& g : GuestGroup) writes_.Add(g.get());
    writes_.Start([this](bool ok, const QvSNMPError&) { WriteDone(ok); });
}

void TFM_MultiSSIDForm::WriteDone(bool ok) {
    // Every variable is read again by the next Refresh.
    for (QvSNMPRequest2Edits* g : {MasterGroup.get(), GuestGroup[0].get(), GuestGroup[1].get(),
                                   GuestGroup[2].get()}) {
        QvSNMPVarList& v = g->request.vars;
        for (int i = 0; i < v.Count(); ++i) v.Item(i)->Access = QvAccess::ReadWrite;
    }
    if (!ok) {
        StatusBar1->SetSimpleText("Set Error.");
        return;
    }
    // The device holds the keys as sent: the edits show them so, as a read
    // would, under the key type HEX the lists start from again.
    for (int n = 0; n < kGuests; ++n) {
        if (sendKey_[n]) GuestKeyvalueEdit[n]->SetText(outgoingKey_[n]);
        KeyRead[n] = GuestKeyvalueEdit[n]->Text();
        sendKey_[n] = false;
    }
    {
        TFM_Waiting::Run();
    }
    StatusBar1->SetSimpleText("Set Success!");
    FillKeyLists();
}

void TFM_MultiSSIDForm::Bt_RefreshClick(TObject*) {
    // Reading the groups under a running write would show half of it.
    if (writes_.Running()) return;
    ReadNow(VlanGroup.get());
    StartMasterRead();
    ReadGuests();
    if (!ApSuperGGroup->busy) ReadNow(ApSuperGGroup.get());
    for (int n = 0; n < kGuests; ++n) KeySizeFromKey(n);
    if (masterAnswered_) ApplyDisplayRules();
}

void TFM_MultiSSIDForm::Bt_CloseClick(TObject*) { Close(); }
