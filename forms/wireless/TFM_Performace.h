#pragma once
// Advanced \ Performance: data rate, beacon, DTIM, fragment and RTS
// thresholds, transmit power, radio, the B/G mode, XR, WMM, preamble, IGMP
// snooping, Super G, and the per-rate table (each rate disabled, enabled or
// basic). Objects only some firmware has are read once at opening, and only
// those that answered are shown and written.
#include <memory>
#include <string>
#include <vector>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TControl;
class TEdit;
class TGroupBox;
class TLabel;
class TListView;
class TPageControl;
class TStatusBar;
class TTabSheet;
class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;
struct QvSNMPError;

class TFM_Performace : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_Performace(TComponent* owner);
    ~TFM_Performace() override;

    static constexpr int kRates = 12;
    static constexpr int kRowPitch = 27;

    TPageControl* PC_Performace = nullptr;
    TTabSheet* TabSheetA = nullptr;
    TTabSheet* TabSheetG = nullptr;
    TGroupBox* GB_Advance = nullptr;
    TComboBox* CB_DtRta = nullptr;
    TEdit* Ed_DtRta = nullptr;
    TEdit* Ed_BeInta = nullptr;
    TEdit* Ed_DTIMa = nullptr;
    TEdit* Ed_FragLena = nullptr;
    TEdit* Ed_RTSa = nullptr;
    TComboBox* CB_TranPa = nullptr;
    TComboBox* CB_RadWava = nullptr;
    TComboBox* CB_Gonly = nullptr;
    TLabel* La_Gonly = nullptr;
    TComboBox* CB_XRa = nullptr;
    TLabel* La_XRa = nullptr;
    TComboBox* CB_WMM = nullptr;
    TLabel* La_WMM = nullptr;
    TComboBox* CB_Preamble = nullptr;
    TLabel* La_Preamble = nullptr;
    TComboBox* CB_Snooping = nullptr;
    TLabel* Lab_Snooping = nullptr;
    TComboBox* CB_SupModea = nullptr;
    TComboBox* CB_ApMode = nullptr;
    TComboBox* CB_AuSc = nullptr;
    TEdit* Ed_Freqa = nullptr;
    TEdit* Ed_DtLista = nullptr;
    TEdit* Ed_dataratecontrolsupport = nullptr;
    TListView* ListView1 = nullptr;
    TGroupBox* GB_DataRate = nullptr;
    TComboBox* CB_DateStatus = nullptr;
    TComboBox* CB_DRate[kRates] = {}; // CB_DRate1..CB_DRate12
    TLabel* La_DRate[kRates] = {};
    TButton* BT_RDateRate = nullptr;
    TButton* Bt_Apply_a = nullptr;
    TButton* Bt_Refresh_a = nullptr;
    TStatusBar* StatusBar = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> ApModeGroup;
    std::unique_ptr<QvSNMPRequest2Edits> WifiModeGroup;
    std::unique_ptr<QvSNMPRequest2Edits> GonlyGroup;
    std::unique_ptr<QvSNMPRequest2Edits> XRGroup;
    std::unique_ptr<QvSNMPRequest2Edits> AutoScanGroup;
    std::unique_ptr<QvSNMPRequest2Edits> WMMGroup;
    std::unique_ptr<QvSNMPRequest2Edits> PreambleGroup;
    std::unique_ptr<QvSNMPRequest2Edits> RadioGroup;
    std::unique_ptr<QvSNMPRequest2Edits> SuperGGroup;
    std::unique_ptr<QvSNMPRequest2Edits> MainGroup;
    std::unique_ptr<QvSNMPRequest2Edits> RateSupportGroup;
    std::unique_ptr<QvSNMPRequest2Edits> RateStatusGroup;
    std::unique_ptr<QvSNMPRequest2Edits> RateTable;
    std::unique_ptr<QvSNMPRequest2Edits> IgmpGroup;

    // Which optional reads succeeded at opening.
    bool WifiModeRead = false;
    bool GonlyRead = false;
    bool XRRead = false;
    bool WMMRead = false;
    bool PreambleRead = false;
    bool IgmpRead = false;
    // The rate texts the device holds (as last read or written), and for
    // each rate the list row its index brought in the last complete read
    // (-1: none; only rates with a row are written).
    std::string DeviceRates[kRates];
    int RateItem[kRates] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

    void FormCreate(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void Bt_Apply_aClick(TObject* sender);
    void Bt_Refresh_aClick(TObject* sender);
    void BT_RDateRateClick(TObject* sender);
    void CB_GonlyChange(TObject* sender);
    void CB_DateStatusChange(TObject* sender);
    void CB_ApModeChange(TObject* sender);
    void CB_SupModeaChange(TObject* sender);
    void Ed_BeIntaExit(TObject* sender);
    void Ed_DTIMaExit(TObject* sender);
    void Ed_FragLenaExit(TObject* sender);
    void Ed_RTSaExit(TObject* sender);

    void FillDataRateCombo();
    void DataRateToDevice();
    void EnableRateCombos();
    void SetRateComboItems();
    void SetEditLimits();
    void RateTableReadDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    int RateRowsRead() const;

    // The B/G mode as 0 "11g only", 1 "11b only", 2 "Mixed" (-1 unknown);
    // the old object's "Enable" means g only, its "Disable" mixed.
    int BgMode() const;
    bool RateControlOn() const;
    bool AccessPointMode() const;
    bool SuperGOff() const;
    // Whether a write sequence or an asynchronous read is running.
    bool Busy() const;

private:
    struct Row {
        TLabel* label;
        TControl* control;
        bool shown;
        bool reserve; // keeps its place while hidden
    };
    void Relayout();
    void StartRateTableRead();
    void AddRateRowWrites(QvWriteSequence& writes, bool all);
    void ApplyDone(bool ok);
    void EnableButtons(bool on);
    // Range check of one edit; false after the message (caption given).
    bool CheckRange(TEdit* edit, long lo, long hi, const std::string& caption, bool clear);

    std::vector<Row> rows_;
    bool rateControlSupported_ = false;
    bool rateReadPending_ = false;
    std::vector<int> rateRowsToWrite_;
    int rateRowWriting_ = -1;
    QvWriteSequence writes_;
};
