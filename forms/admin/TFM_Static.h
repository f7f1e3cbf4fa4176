#pragma once
// Status > Stats: the radio's 802.11 counters per band and, where the
// firmware has them, the transmitted and received byte counts. Read-only;
// values change only on Refresh.
#include "ui/Form.h"

class QvSNMPRequest2Edits;
class TButton;
class TEdit;
class TLabel;
class TPageControl;
class TTabSheet;

class TFM_Static : public TForm {
public:
    explicit TFM_Static(TComponent* owner);
    ~TFM_Static() override;

    // Makes the main window's Stats command open this form.
    static void RegisterOpener();

    static constexpr int CounterCount = 18;

    TPageControl* PC_Static = nullptr;
    TTabSheet* TabSheetA = nullptr;
    TTabSheet* TabSheetG = nullptr;
    // Band 1 (Ed_TranSuRata ... Ed_WEPIErrCnta) and band 2 (... ending in g),
    // in column order.
    TEdit* CountersA[CounterCount] = {};
    TEdit* CountersG[CounterCount] = {};
    TLabel* La_TransmitedBytes = nullptr;
    TLabel* La_ReceivedBytes = nullptr;
    TEdit* stTransmitedByteCount = nullptr;
    TEdit* stReceivedByteCount = nullptr;
    TButton* Bt_RfrshA = nullptr;
    TButton* Bt_RfrshG = nullptr;

    QvSNMPRequest2Edits* Band1Request = nullptr;
    QvSNMPRequest2Edits* Band2Request = nullptr;
    QvSNMPRequest2Edits* ByteRequest = nullptr;
    bool BytesReadable = false;

    void FormCreate(TObject* sender);
    void Bt_RfrshAClick(TObject* sender);
    void Bt_RfrshGClick(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);

    // The edit of a counter by its name, e.g. "Ed_TranFrCnta"; null if none.
    TEdit* Counter(const std::string& name) const;

private:
    void BuildControls();
    void FreeRequests();
};
