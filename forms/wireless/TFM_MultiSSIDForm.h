#pragma once
// Advanced \ Multi-SSID for devices of the first generation: the master SSID
// (shown, not edited) and three guest SSIDs with their WEP security and VLAN
// group IDs. Enabling a guest or the VLAN state puts the device into Access
// Point mode with Super G off.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TPageControl;
class TStatusBar;
class TTabSheet;
class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;

class TFM_MultiSSIDForm : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_MultiSSIDForm(TComponent* owner);
    ~TFM_MultiSSIDForm() override;

    static constexpr int kGuests = 3;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TCheckBox* CheckBox1 = nullptr;
    TEdit* MasterSSIDEdit = nullptr;
    TComboBox* SecurityBox = nullptr;
    TComboBox* DefaultKey = nullptr;
    TEdit* GroupIDBox = nullptr;
    // One of each per guest, guest 1 first.
    TCheckBox* GuestCheckBox[kGuests] = {};
    TComboBox* GuestSSID[kGuests] = {}; // hidden state boxes
    TEdit* GuestSSIDEdit[kGuests] = {};
    TComboBox* TempComboBox[kGuests] = {}; // security choice
    TComboBox* GuestSecurity[kGuests] = {}; // hidden authentication boxes
    TComboBox* EnableEncryption[kGuests] = {}; // hidden encryption boxes
    TComboBox* GuestKeyType[kGuests] = {};
    TComboBox* GuestKeySize[kGuests] = {};
    TComboBox* GuestKey[kGuests] = {}; // key index
    TEdit* GuestKeyvalueEdit[kGuests] = {};
    TEdit* GuestGroupID[kGuests] = {};
    TComboBox* VLan_State = nullptr;
    TComboBox* AP_ModeComboBox = nullptr;
    TComboBox* Encryption_ComboBox = nullptr;
    TComboBox* Supermode_ComboBox = nullptr;
    TButton* Bt_Refresh = nullptr;
    TButton* Bt_Apply = nullptr;
    TButton* Bt_Close = nullptr;
    TStatusBar* StatusBar1 = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> VlanGroup;
    std::unique_ptr<QvSNMPRequest2Edits> MasterGroup;
    std::unique_ptr<QvSNMPRequest2Edits> GuestGroup[kGuests];
    std::unique_ptr<QvSNMPRequest2Edits> ApSuperGGroup;

    // The master entry answered once: only then does its SSID edit hold the
    // device's value and may be written back.
    bool MasterRead = false;
    // Each guest's key text as the device last gave it (or took it): an edit
    // that still holds it is not a new key.
    std::string KeyRead[kGuests];

    void FormCreate(TObject* sender);
    void Bt_RefreshClick(TObject* sender);
    void Bt_ApplyClick(TObject* sender);
    void Bt_CloseClick(TObject* sender);
    void CheckBox1Click(TObject* sender);
    void GuestCheckBoxClick(int n);
    void GuestSecurityChange(int n);
    void GuestKeyTypeChange(int n);
    void GuestKeyChange(int n);
    void GuestSSIDEditExit(int n);

    // The display rules, run once the master entry has answered.
    void ApplyDisplayRules();
    void VlanRule();
    void GuestRule(int n);
    void GuestKeyRule(int n);
    void EncryptionMirror(int n);
    void FillSecurityLists();
    void FillKeyLists();
    void KeySizeFromKey(int n);
    void KeyLengthRule(int n);

    // Apply's checks; each shows its message and returns false on the first.
    bool CheckGuestSSIDText(int n);
    bool CheckGroupIDs();
    bool CheckKeyIndex(int n);
    bool CheckSSID(int n);
    bool CheckKeyLength(int n);
    bool SelectVariables();
    // Whether the key edit holds a key of the user's (not the mask, not what
    // was read).
    bool IsKeyChanged(int n) const;

    bool ApplyRunning() const { return writes_.Running(); }
    // A read of the master entry is under way.
    bool MasterReading() const;

private:
    // The group's last read failed: its controls hold nothing of the device's.
    static bool Unread(const QvSNMPRequest2Edits* group);
    void StartMasterRead();
    void MasterReadDone(bool ok);
    void ReadGuests();
    void WriteDone(bool ok);
    bool created_ = false;
    // The key each guest's next write sends (hexadecimal), when it sends one.
    bool sendKey_[kGuests] = {};
    std::string outgoingKey_[kGuests];
    bool masterAnswered_ = false;
    QvWriteSequence writes_;
};

// The form while it is shown (null otherwise).
extern TFM_MultiSSIDForm* FM_MultiSSIDForm;
