#pragma once
// Status > Device Info: the radio's wireless status per band, the firmware
// version and MAC address, the Ethernet settings and, where the firmware has
// them, the CPU and memory load. Read-only; nothing is written.
#include "ui/Form.h"

class QvSNMPRequest2Edits;
struct QvSNMPVar;
class TButton;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TPageControl;
class TStatusBar;
class TTabSheet;

class TFM_DevInfo : public TForm {
public:
    explicit TFM_DevInfo(TComponent* owner);
    ~TFM_DevInfo() override;

    // Makes the main window's Device Info command open this form.
    static void RegisterOpener();

    TPageControl* PC_WirlessTraffic = nullptr;
    TTabSheet* TabSheetA = nullptr;
    TTabSheet* TabSheetG = nullptr;
    TEdit* Ed_SSIDa = nullptr;
    TEdit* Ed_Channela = nullptr;
    TEdit* Ed_SupModusa = nullptr; // the text shown
    TEdit* Ed_SupModa = nullptr;   // hidden: the value it is decided from
    TEdit* Ed_DatRata = nullptr;
    TEdit* Ed_SecLevAutha = nullptr;
    TEdit* Ed_SecLevPria = nullptr;
    TButton* Bt_Refa = nullptr;
    TEdit* Ed_SSIDg = nullptr;
    TEdit* Ed_Channelg = nullptr;
    TEdit* Ed_SupModg = nullptr;
    TEdit* Ed_DatRatg = nullptr;
    TEdit* Ed_SecLevAuthg = nullptr;
    TEdit* Ed_SecLevPrig = nullptr;
    TButton* Bt_Refg = nullptr;
    TGroupBox* GB_DevInfo = nullptr;
    TEdit* Ed_Firmware = nullptr;
    TEdit* Ed_Mac = nullptr;
    TGroupBox* GB_Ethernet = nullptr;
    TEdit* Ed_GetIP = nullptr;
    TEdit* Ed_IPaddr = nullptr;
    TEdit* Ed_SubMask = nullptr;
    TEdit* Ed_Gate = nullptr;
    TGroupBox* GB_APStatus = nullptr;
    TEdit* Ed_CPU = nullptr;
    TEdit* Ed_Memory = nullptr;
    TComboBox* CB_ApModea = nullptr;
    TStatusBar* StatusBar = nullptr;

    // Request groups (null when not made).
    QvSNMPRequest2Edits* SuperGRequest = nullptr;
    QvSNMPRequest2Edits* ApModeRequest = nullptr;
    QvSNMPRequest2Edits* Band1Request = nullptr;
    QvSNMPRequest2Edits* Band2Request = nullptr;
    QvSNMPRequest2Edits* DeviceRequest = nullptr;
    QvSNMPRequest2Edits* ApStatusRequest = nullptr;
    bool ApStatusReadable = false;

    void FormCreate(TObject* sender);
    void Bt_RefaClick(TObject* sender);
    void Bt_RefgClick(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);

    // The Super G text from what the form holds now.
    void DecideSuperGText();

private:
    void BuildControls();
    void FreeRequests();
    QvSNMPRequest2Edits* NewGroup(const QvSNMPVar* table, unsigned char kind);
};
