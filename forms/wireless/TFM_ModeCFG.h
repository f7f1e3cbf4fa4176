#pragma once
// Advanced \ Mode: the operating mode of the access point (access point,
// bridges, repeater, wireless client) with the MAC addresses and the SSID the
// chosen mode needs. The modes offered depend on the device's authentication.
#include <memory>
#include <string>
#include <vector>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TEdit;
class TLabel;
class TPageControl;
class TStatusBar;
class TTabSheet;
class QvSNMPRequest2Edits;

class TFM_ModeCFG : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_ModeCFG(TComponent* owner);
    ~TFM_ModeCFG() override;

    TPageControl* PC_Mode = nullptr;
    TTabSheet* TS_80211a = nullptr;
    TTabSheet* TS_80211g = nullptr;

    // Band 1.
    TComboBox* CB_11a_APM = nullptr;
    TComboBox* CB_11a_APMTemp = nullptr; // the mode list an authentication allows
    TEdit* Ed_ReMAddra[8] = {};          // Ed_ReMAddra0..Ed_ReMAddra7
    TLabel* La_RoMAddra = nullptr;
    TEdit* Ed_RoMAddra0 = nullptr;       // repeater's root AP
    TEdit* Ed_CRoMAddra0 = nullptr;      // wireless client's root AP
    TLabel* La_SSID = nullptr;
    TEdit* Ed_SSID = nullptr;
    TComboBox* CB_SecAutha = nullptr;

    // Band 2.
    TComboBox* CB_11g_APM = nullptr;
    TEdit* Ed_ReMAddrg[8] = {};
    TEdit* Ed_RoMAddrg0 = nullptr;

    TButton* Bt_Apply = nullptr;
    TButton* Bt_Refresh = nullptr;
    TButton* Bt_Close = nullptr;
    TStatusBar* StatusBar = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> ModeGroupA;
    std::unique_ptr<QvSNMPRequest2Edits> ModeGroupG;
    std::unique_ptr<QvSNMPRequest2Edits> AuthGroup;

    // The replacement list stands in for the mode combo.
    bool ReplacementUsed = false;

    void FormCreate(TObject* sender);
    void Bt_ApplyClick(TObject* sender);
    void Bt_RefreshClick(TObject* sender);
    void Bt_CloseClick(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void CB_11a_APMChange(TObject* sender);
    void CB_11g_APMChange(TObject* sender);
    void CB_11a_APMTempChange(TObject* sender);

    // band 1 or 2.
    void ShowModeFields(int band);
    bool UseRestrictedModeList();
    void ApplyModeList();
    bool HasDuplicateMac();
    bool CheckMacFields(int band);

    // The mode index a mode text stands for (-1 for none).
    static int ModeOfText(const std::string& text);

private:
    // The MAC edits of a band that are bound to the device.
    std::vector<TEdit*> MacEdits(int band) const;
    void EmptyUnsetMacs(int band);
    void ExchangeRootEdits();
    void SelectModeFromReplacement();
    void FollowModeRead();
    QvWriteSequence writes_;
};
