#pragma once
// Advanced \ Multi-SSID for devices with a primary and seven further SSIDs:
// one entry at a time is chosen, edited and saved (the entry's row and the
// shared settings it uses); Apply writes the Multi-SSID and VLAN states and
// restarts the device.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "snmp/QvErrors.h"
#include "ui/Form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TListItem;
class TListView;
class TStatusBar;
class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;

class TFM_MultiSSIDNewForm : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_MultiSSIDNewForm(TComponent* owner);
    ~TFM_MultiSSIDNewForm() override;

    // Hidden controls the groups fill.
    TEdit* Ed_RaduisSupport = nullptr;
    TComboBox* CB_ApMode = nullptr;
    TComboBox* CB_SuperMode = nullptr;
    TListView* MulSSIDListView = nullptr; // the device's table, every row
    TLabel* Lab_IfIdx = nullptr;
    TLabel* Lab_Idx = nullptr;
    TComboBox* CB_IdvState = nullptr;
    TComboBox* CB_Security = nullptr;
    TComboBox* CB_Encry = nullptr;
    TComboBox* CB_KeyIndex = nullptr;
    TEdit* Ed_Priority = nullptr;
    TCheckBox* CheckBox_EthernetTag = nullptr;
    TLabel* Label_VlanTag = nullptr;
    TLabel* Label_Priority = nullptr;
    TComboBox* Cb_Priority = nullptr;
    TComboBox* CB_DyVlan = nullptr;

    // Global settings.
    TGroupBox* GroupBox2 = nullptr;
    TCheckBox* IfEnabMuSSID = nullptr;
    TCheckBox* CB_VLanState = nullptr;
    TCheckBox* CheckBox_Priority = nullptr;
    TListView* LV_MultiSSID_User = nullptr; // the enabled entries

    // The chosen entry.
    TGroupBox* MultiGroupBox = nullptr;
    TComboBox* CB_Idx = nullptr;
    TEdit* Ed_SSID = nullptr;
    TComboBox* CB_Sec = nullptr;
    TComboBox* CB_SecShow = nullptr;
    TEdit* Ed_WLANID = nullptr;
    TLabel* Label_Broadcast = nullptr;
    TComboBox* CB_Broadcast = nullptr;
    TLabel* Label_WMM = nullptr;
    TComboBox* CB_WMM = nullptr;

    TGroupBox* GP_KeySetting = nullptr;
    TComboBox* CB_KeyType = nullptr;
    TComboBox* CB_KeySize = nullptr;
    TComboBox* CB_IdxTmp = nullptr;
    TEdit* Ed_KeyValue = nullptr;

    TGroupBox* GP_PSK = nullptr;
    TLabel* Label_Cipher = nullptr;
    TComboBox* CB_CipherType = nullptr;
    TLabel* Label_GrpKey = nullptr;
    TEdit* Ed_GrpKey = nullptr;
    TLabel* Label_PassPhrase = nullptr;
    TEdit* Ed_PassPhrase = nullptr;
    TLabel* Label_Radius = nullptr;
    TEdit* Ed_RiduisServ = nullptr;
    TLabel* Label_RadiusPort = nullptr;
    TEdit* Ed_RadiusPort = nullptr;
    TLabel* Label_RadiusSec = nullptr;
    TEdit* Ed_RadiusSec = nullptr;
    TLabel* Label_AcntMode = nullptr;
    TComboBox* CB_AcntMode = nullptr;
    TLabel* Label_AcntPort = nullptr;
    TEdit* Ed_AcntPort = nullptr;
    TLabel* Label_AcntServ = nullptr;
    TEdit* Ed_AcntServ = nullptr;

    TButton* SaveButton = nullptr;
    TButton* DelButton = nullptr;
    TButton* ApplyBtn = nullptr;
    TButton* CancelBtn = nullptr;
    TStatusBar* StatusBar1 = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> RadiusSupport;
    std::unique_ptr<QvSNMPRequest2Edits> ApMode;
    std::unique_ptr<QvSNMPRequest2Edits> MssidState;
    std::unique_ptr<QvSNMPRequest2Edits> VlanState;
    std::unique_ptr<QvSNMPRequest2Edits> Priority;
    std::unique_ptr<QvSNMPRequest2Edits> GroupKey;
    std::unique_ptr<QvSNMPRequest2Edits> Radius;
    std::unique_ptr<QvSNMPRequest2Edits> SsidTable;
    std::unique_ptr<QvSNMPRequest2Edits> Account;

    std::string KeptGroupKey;
    bool TableRead = false;
    bool WarnOnEnable = false;
    bool ListClickBusy = false;
    bool WpaInUse = false;
    bool SavePending = false;
    bool VlanStateOn = false;
    bool PrioritySupported = false;
    bool AccountSupported = false;

    void FormCreate(TObject* sender);
    void IfEnabMuSSIDClick(TObject* sender);
    void CB_VLanStateClick(TObject* sender);
    void CheckBox_PriorityClick(TObject* sender);
    void CB_IdxChange(TObject* sender);
    void CB_SecChange(TObject* sender);
    void CB_SecShowChange(TObject* sender);
    void CB_KeySizeChange(TObject* sender);
    void CB_IdxTmpChange(TObject* sender);
    void CB_DyVlanChange(TObject* sender);
    void LV_MultiSSID_UserClick(TObject* sender);
    void SaveButtonClick(TObject* sender);
    void DelButtonClick(TObject* sender);
    void ApplyBtnClick(TObject* sender);
    void CancelBtnClick(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);

    void TableReadDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void TableWriteDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void UpdateEnabledControls();
    void UpdateEnabledControlsWide();
    void RebuildWorkingList();
    void GroupVisibility();
    void SecurityDisplayRule();
    bool SelectColumnsToWrite();
    bool CheckKeyLength();
    // 0 the key stays as it is, 1 refused (message shown), 2 write it.
    int CheckHexKey();
    bool IsKeyChanged() const;
    static std::string HexToAscii(const std::string& text);
    static std::string AsciiToHex(const std::string& text);

    // Whether a table read or write, a save or an Apply is outstanding.
    bool Outstanding() const;
    bool Wide() const;
    // The device's row of an entry (0 the primary), or null.
    TListItem* HiddenRow(int entry) const;
    // The entry a row of the visible list names: 0 for "Primary", else the
    // Multi-SSID number in its caption.
    static int EntryOf(const TListItem* visibleRow);

private:
    void BuildControls();
    std::unique_ptr<QvSNMPRequest2Edits> NewGroup(const void* table, uint8_t kind, bool sync);
    void SetPanel(const std::string& text);
    void Warn(const std::string& text, const char* caption = "Warning");
    void SetColumns(int first, int last, int access);
    void AllColumnsWritable();
    // Starts the table's write; one that raises shows its text and gives
    // false. *sent (when given) tells whether it went out.
    bool StartTableWrite(bool* sent);
    void SetMaxLengths();
    void SetKeyMaxLength();
    void SelectByText(TComboBox* combo, const std::string& text);
    // The writes of a Multi-SSID entry's save once every check passed.
    void SaveEntry(bool serverShown, int sec);
    void WriteEntryRow();
    void AfterSharedWrites(bool serverShown, int sec);

    // Whether every bound, enabled edit of the table passes its constraint
    // (the message shown at the first that does not).
    bool TableEditsHold();
    void GreyUnreadTable();

    int savedAccess_[12] = {};
    // The key the entry's next row write sends (hexadecimal), when it sends one.
    bool sendKey_ = false;
    std::string outgoingKey_;
    QvWriteSequence writes_;
};
