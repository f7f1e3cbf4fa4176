#pragma once
// Advanced \ Rogue AP: which neighbours a scan reports (BSS type, bands,
// security kinds), the scan itself, the detected access points and the
// device's AP list (entries move from one to the other by index), and the
// rogue AP protection switch where the device has it. Scans, adds and
// deletes run asynchronously and report in the first status panel.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TListView;
class TPanel;
class TRadioGroup;
class TStatusBar;
class TTimer;
class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;
struct QvSNMPError;

class TFM_RogueForm : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_RogueForm(TComponent* owner);
    ~TFM_RogueForm() override;

    TPanel* Panel_Top = nullptr;       // above the bottom panel
    TPanel* Panel_Inner = nullptr;     // inside Panel_Top
    TGroupBox* GB_Detection = nullptr; // " Rogue AP Detection  "
    TPanel* Panel_Detect = nullptr;    // inside the group box
    TRadioGroup* BSSTypRadGrp = nullptr;
    TGroupBox* GB_Band = nullptr;
    TCheckBox* CheckBox_11a = nullptr;
    TCheckBox* CheckBox_11b = nullptr;
    TCheckBox* CheckBox_11g = nullptr;
    TEdit* BandEdit = nullptr;
    TGroupBox* GB_Security = nullptr;
    TCheckBox* ChcBxo_off = nullptr;
    TCheckBox* ChcBxo_wep = nullptr;
    TCheckBox* ChcBxo_eap = nullptr;
    TCheckBox* ChcBxo_psk = nullptr;
    TCheckBox* WPA2EAPCkBox = nullptr;
    TCheckBox* WPA2PSKCkBox = nullptr;
    TCheckBox* WPA2AUTECkBox = nullptr;
    TCheckBox* WPA2AUTPCkBox = nullptr;
    TEdit* SecEdit = nullptr;
    TGroupBox* GB_RogueList = nullptr;
    TListView* RogueListView = nullptr;
    TButton* DetectBtn = nullptr;
    TButton* AddBtn = nullptr;
    TButton* DelBtn = nullptr;
    TComboBox* DetectRogueCoBox = nullptr;
    TEdit* AddCoBox = nullptr;      // hidden: the entry an add names
    TEdit* DelDetcetEdit = nullptr; // hidden: the detected entry a delete names
    TGroupBox* GB_APList = nullptr;
    TListView* AP_ListView = nullptr;
    TButton* ListDelBtn = nullptr;
    TEdit* DelCoBox = nullptr; // hidden: the listed entry a delete names
    TPanel* Panel_Bottom = nullptr;
    TLabel* Lab_RogueAP = nullptr;
    TComboBox* CB_RogueAP = nullptr;
    TButton* Apply_Btn = nullptr;
    TButton* Cancel_Btn = nullptr;
    TComboBox* CB_Radio = nullptr;
    TEdit* Ed_RogueSupport = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    // The pause between a finished scan and reading its result.
    TTimer* DetectWaitTimer = nullptr;

    // False from the start of a detect, add or delete until its chain ends.
    bool idle = true;
    bool protectionSupported = false;

    std::unique_ptr<QvSNMPRequest2Edits> RadioGroup;      // 1
    std::unique_ptr<QvSNMPRequest2Edits> MaskGroup;       // 2
    std::unique_ptr<QvSNMPRequest2Edits> DetectGroup;     // 3
    std::unique_ptr<QvSNMPRequest2Edits> AddGroup;        // 4
    std::unique_ptr<QvSNMPRequest2Edits> DelDetectGroup;  // 5
    std::unique_ptr<QvSNMPRequest2Edits> ResultGroup;     // 6
    std::unique_ptr<QvSNMPRequest2Edits> DelListedGroup;  // 7
    std::unique_ptr<QvSNMPRequest2Edits> ListGroup;       // 8
    std::unique_ptr<QvSNMPRequest2Edits> SupportGroup;    // 9
    std::unique_ptr<QvSNMPRequest2Edits> ProtectionGroup; // 10

    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormResize(TObject* sender);
    void DetectBtnClick(TObject* sender);
    void AddBtnClick(TObject* sender);
    void DelBtnClick(TObject* sender);
    void ListDelBtnClick(TObject* sender);
    void Apply_BtnClick(TObject* sender);
    void Cancel_BtnClick(TObject* sender);
    void CheckBox_11aClick(TObject* sender);
    void ChcBxo_offClick(TObject* sender);
    void BSSTypRadGrpClick(TObject* sender);
    // The detection masks came from the device.
    bool MasksRead() const;
    void MasksToCheckBoxes();

    void DetectDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void AddDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void DeleteDetectedDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void DeleteListedDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void ResultRead(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void ListRead(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void DetectWaitTimerTimer(TObject* sender);

    // Whether a scan, add or delete or one of its reads is still outstanding.
    bool ChainBusy() const;
    bool ApplyRunning() const { return writes_.Running(); }

private:
    void SetSixButtons(bool enabled);
    void SetPanelText(const std::string& text);
    void EndWithFailure(QvSNMPError* error);
    void StartUp();
    void ReleaseGroups();
    QvWriteSequence writes_;
};
