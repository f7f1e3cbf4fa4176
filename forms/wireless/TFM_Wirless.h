#pragma once
// Home > Wireless: SSID, channel, Super G, radio, AP mode with its WDS and
// repeater addresses, the primary SSID's security with the RADIUS and
// accounting servers, and the site survey of the repeater and client modes.
#include <memory>
#include <string>
#include <vector>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TListItem;
class TListView;
class TPageControl;
class TStatusBar;
class TTabSheet;
class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;
struct QvSNMPError;
struct QvSNMPVar;

class TFM_Wirless : public TForm {
public:
    explicit TFM_Wirless(TComponent* owner);
    ~TFM_Wirless() override;

    // Makes Home > Wireless open this form.
    static void RegisterOpener();

    TPageControl* PC_Wirless = nullptr;
    TTabSheet* TS_11a = nullptr;
    TTabSheet* TS_11g = nullptr;

    // Band 1.
    TLabel* Label1 = nullptr;
    TEdit* Ed_SSIDa = nullptr;
    TLabel* LB_SSIDBcast = nullptr;
    TComboBox* CB_SSIDBcasta = nullptr;
    TLabel* LB_Chan = nullptr;
    TComboBox* CB_Chana = nullptr;
    TLabel* LB_GHz = nullptr;
    TEdit* Ed_Chana = nullptr;
    TEdit* Ed_ChanLista = nullptr;
    TEdit* Ed_RaFreqa = nullptr;
    TCheckBox* CB_AuSc = nullptr;
    TLabel* Label24 = nullptr;
    TComboBox* AD_SuperMode = nullptr;
    TComboBox* CB_SuModeRpt = nullptr;
    TEdit* Ed_DynChLista = nullptr;
    TEdit* Ed_StatChLista = nullptr;
    TComboBox* ED_APModeComboBox = nullptr;
    TLabel* ED_ApMode = nullptr;
    TComboBox* ED_APModeTempComboBox = nullptr;
    TGroupBox* GroupBox1 = nullptr;
    TEdit* Ed_ReMAddra[8] = {};
    TGroupBox* GroupBox2 = nullptr;
    TEdit* Ed_RoMAddra0 = nullptr;
    TEdit* Ed_SSID = nullptr;
    TEdit* Ed_CRoMAddra0 = nullptr;
    TGroupBox* GroupBox3 = nullptr;
    TListView* SiteServeyListView = nullptr;
    TButton* SiteScan = nullptr;
    TComboBox* SiteScanComboBox = nullptr;
    TLabel* Authentication = nullptr;
    TComboBox* Ed_SecAutha = nullptr;
    TComboBox* Ed_SecAuthaTemp = nullptr;
    TGroupBox* GroupBox4 = nullptr;
    TComboBox* Ed_SecEncypa = nullptr;
    TComboBox* Ed_KeyType = nullptr;
    TComboBox* Ed_KeySize = nullptr;
    TComboBox* Ed_SecValKeya = nullptr;
    TEdit* Ed_Keya[4] = {}; // Ed_Key1a .. Ed_Key4a
    TGroupBox* GroupBox5 = nullptr;
    TComboBox* CiphertypeComboBox = nullptr;
    TEdit* GroupKeyEdit = nullptr;
    TEdit* RadiusServerEdit = nullptr;
    TEdit* RadiusportEdit = nullptr;
    TEdit* RadiusSecretEdit = nullptr;
    TLabel* Label5 = nullptr;
    TEdit* Ed_AcntServer = nullptr;
    TLabel* Label26 = nullptr;
    TEdit* Ed_AcntPort = nullptr;
    TLabel* Label25 = nullptr;
    TComboBox* CB_AcntEnable = nullptr;
    TGroupBox* GroupBox6 = nullptr;
    TComboBox* CipherforPSKBox = nullptr;
    TEdit* GroupKeyPSKEdit = nullptr;
    TEdit* PassPhrasePSKEdit = nullptr;
    TGroupBox* GroupBox7 = nullptr;
    TEdit* Ed_SecRadiusServer = nullptr;
    TEdit* Ed_SecRadiusport = nullptr;
    TEdit* Ed_SecRadiusSecret = nullptr;
    TComboBox* CB_SecRadiusMode = nullptr;
    TEdit* Ed_SecAccountServer = nullptr;
    TEdit* Ed_SecAccountPort = nullptr;
    TComboBox* CB_SecAccountMode = nullptr;
    TEdit* Ed_RaduisSupport = nullptr;
    TEdit* Ed_AccountSupport = nullptr;
    TComboBox* CbxRadio = nullptr;
    TComboBox* CB_bgmode = nullptr;
    TComboBox* CB_gmultioverwds = nullptr;
    TEdit* Ed_Firmware = nullptr;
    TComboBox* CB_MultEnable = nullptr;
    TComboBox* CB_MultEncyt[7] = {}; // CB_MultEncyt1 .. 7
    TComboBox* CB_MultiAuth[7] = {}; // CB_MultiAuth1 .. 7
    TListView* LV_Multi2 = nullptr;
    TComboBox* Master_ComboBox = nullptr;
    TComboBox* Guest_ComboBox[3] = {};
    TComboBox* GuestEncry_ComboBox[3] = {};
    TComboBox* GuestKeyIndex_ComboBox[3] = {};

    // Band 2 (its tab stays hidden).
    TEdit* Ed_SSIDg = nullptr;
    TComboBox* CB_SSIDBcastg = nullptr;
    TComboBox* CB_Chang = nullptr;
    TEdit* Ed_RaFreqg = nullptr;
    TEdit* Ed_ChanListg = nullptr;
    TEdit* Ed_Chang = nullptr;

    TButton* Bt_Apply = nullptr;
    TButton* Bt_Refresh = nullptr;
    TButton* Bt_Close = nullptr;
    TStatusBar* StatusBar = nullptr;

    // Groups (null until created; the full layout creates most of them).
    std::unique_ptr<QvSNMPRequest2Edits> req2SSID, req2SuperG, req2DynCh, req2StatCh, req2WdsCons,
        req2Radio, req2Firmware, req2AutoScan, req2ApMode, req2WifiMode, req2Repeater,
        req2Security, req2KeyType, req2Radius, req2Accounting, req2BkRadiusSup, req2BkAccountSup,
        req2BkRadius, req2BkAccount, req2Passphrase, req2MssidState, req2MssidTable, req2MssidEnc,
        req2MssidAuth, req2Vlan, req2GuestKeyIndex, req2Refresh, req2Survey;

    // Flags of the optional groups and the survey.
    bool autoScanPresent = false;
    bool keyTypePresent = false;
    bool accountingPresent = false;
    bool wifiModePresent = false;
    bool wdsConsistencyPresent = false;
    bool multiSsidOn = false;
    bool surveyAllowed = true;
    bool surveyIdle = true;
    bool fullLayout = false;

    std::string savedRootMac, savedClientRootMac, savedRepeaterSsid, savedValidKey, savedCipher,
        savedGroupKey, savedRadiusServer, savedRadiusPort, savedRadiusSecret;

    // The channel of band 1 as last read or chosen; kept for the whole run.
    static std::string SavedChannel;

    void FormCreate(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void Bt_RefreshClick(TObject* sender);
    void Bt_ApplyClick(TObject* sender);
    void Bt_CloseClick(TObject* sender);
    void SiteScanClick(TObject* sender);
    void SiteServeyListViewClick(TObject* sender);

    void ED_APModeTempComboBoxtestChange(TObject* sender);
    void Ed_SecAuthaTempChange(TObject* sender);
    void Ed_SecAuthaChange(TObject* sender);
    void Ed_SecEncypaChange(TObject* sender);
    void Ed_SecValKeyaChange(TObject* sender);
    void Ed_KeyTypeChange(TObject* sender);
    void Ed_KeySizeChange(TObject* sender);
    void CB_AuScChange(TObject* sender);
    void CB_ChanaChange(TObject* sender);
    void AD_SuperModeChange(TObject* sender);
    void CB_SuModeRptChange(TObject* sender);
    void CB_bgmodeChange(TObject* sender);
    void CB_AcntEnableChange(TObject* sender);
    void CB_SecAccountModeChange(TObject* sender);
    void CB_SecRadiusModeChange(TObject* sender);
    void Ed_SSIDChange(TObject* sender);
    void Ed_SSIDaChange(TObject* sender);

    // Display rules.
    static bool ComputeFullLayout();
    static bool FillChannels(TComboBox* combo, const std::string& list, TEdit* channel);
    void ChannelStateRule();
    void RepeaterSuperGRule();
    void BuildApModeList();
    void ApModeLayout();
    void PskCipherList();
    void SecurityLayout();
    void FillKeyLists();
    void KeyEditLengths();
    void KeyEditRule();
    void ValidKeyRestriction();
    void KeyDisplayConversion();
    void MacEditRule();
    void AccountingRule();
    void BackupRadiusRule();
    void FixedMaxLengths();
    // What an entry of the visible AP-mode list stands for, as its place in
    // the list of every mode; -1 for no entry.
    enum ShownModes {
        kModeAccessPoint = 0,
        kModeWdsWithAp = 1,
        kModeWds = 2,
        kModeRepeater = 3,
        kModeClient = 4
    };
    static int ModeOfEntry(const std::string& text);
    int ShownMode() const;
    // The key edit the valid-key selection names (0..3).
    int SelectedKey() const;

    // Apply checks.
    bool CheckPrimarySsidUnique();
    bool CheckWdsDuplicates();
    bool ValidateMacAddresses();
    bool ValidateSecuritySettings();
    bool CheckKeyLengths();
    bool CheckHexKey(TEdit* edit);
    bool CheckGuestKeyIndex();
    static bool KeyChanged(const std::string& text);
    static std::string AsciiToHex(const std::string& text);
    static std::string HexToAscii(const std::string& text);
    static bool IsPlainAscii(const std::string& text);

    // Whether an Apply's writes are still going on (the form stays open).
    bool ApplyRunning() const { return sequence_.Running(); }

private:
    void BuildControls();
    std::unique_ptr<QvSNMPRequest2Edits> NewGroup(const QvSNMPVar* table, int kind, int keys,
                                                  int mode, int timeoutMs);
    void CreateFullLayoutGroups();
    void CreateFirmwareAndAutoScanGroups();
    void CreateModeGroups();
    void CreateSecurityGroups();
    void CreateMultiSsidGroups();
    void CreateRadiusGroups();
    void CreatePassphraseAndSurveyGroups();
    void ApplyOpeningLayout();
    void ShrinkLayout();
    void Relayout();
    void SetButtonsEnabled(bool on);
    void SetEditable(TEdit* edit, bool editable);
    void KeepUnreadGroupsGreyed();
    void StartSurveyRead(const std::string& text);
    void SizeSurveyColumns();
    void RefreshDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void SurveyDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    // Key edits are not bound: the device's value is shown masked and the
    // outgoing value is set here, so a refused Apply leaves the edit as typed.
    void ShowKeys();
    void SetOutgoingKey(int k);
    bool PlanSecurityWrites(std::vector<QvSNMPRequest2Edits*>& out, int a);
    // Apply's steps.
    bool CheckSsids();
    bool CheckFullLayoutInput(std::vector<QvSNMPRequest2Edits*>& writes);
    void StartShortWrite();
    void StartFullWrite(std::vector<QvSNMPRequest2Edits*> writes);
    bool MultiSsidStep(int a);
    void ApplyDone(bool ok, bool wdsMode);
    bool AnyBusy() const;

    QvWriteSequence sequence_;
    bool mssidSelectionsPending_ = false;
    int outgoingKey_ = -1; // the key the next security write sends, -1 none
    std::string outgoingKeyText_;
};

extern TFM_Wirless* FM_Wirless;
// Opens the form modally, as the Wireless command does.
void OpenWirelessForm();
