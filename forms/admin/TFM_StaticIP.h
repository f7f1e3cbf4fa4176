#pragma once
// One entry of the DHCP static pool: a fixed address for a MAC address with
// the mask, gateway, WINS, DNS and domain handed out with it. TFM_DHCP binds
// these controls to its static pool request and shows the dialog from "Add"
// and "Set"; Apply checks the entry and writes it through that request.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "forms/admin/StaticRowWriter.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TEdit;
class TLabel;
class TStatusBar;

class TFM_StaticIP : public TForm {
public:
    explicit TFM_StaticIP(TComponent* owner);
    ~TFM_StaticIP() override;

    TEdit* Ed_AsgIP = nullptr;
    TEdit* Ed_AsgMac = nullptr;
    TEdit* Ed_SubMask = nullptr;
    TEdit* Ed_Gatway = nullptr;
    TEdit* Ed_Wins = nullptr;
    TEdit* Ed_DNS = nullptr;
    TEdit* Ed_DomNa = nullptr;
    TComboBox* CB_Stat = nullptr;
    TButton* Apply = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TLabel* LA_Index = nullptr;
    // Hidden: the entry's old IP and MAC (Set), and the entered values kept
    // while table rows are rewritten.
    TEdit* Ed_OldIP = nullptr;
    TEdit* ED_OldMAC = nullptr;
    TEdit* Ed_AsgIP2 = nullptr;
    TEdit* Ed_AsgMac2 = nullptr;
    TEdit* Ed_SubMask2 = nullptr;
    TEdit* Ed_Gatway2 = nullptr;
    TEdit* Ed_Wins2 = nullptr;
    TEdit* Ed_DNS2 = nullptr;
    TEdit* Ed_DomNa2 = nullptr;

    // The entry's old values, kept by "Set".
    std::string OldMask, OldGateway, OldWins, OldDns, OldDomain;
    int OldStatus = 0;

    // Opened by "Add" (Ed_OldIP enabled) or by "Set".
    bool AddMode() const;
    // Keeps the values now in the controls as the entry's old ones (Set).
    void KeepOldValues();

    void ApplyClick(TObject* sender);
    void Ed_DomNaChange(TObject* sender);

    // Twelve hexadecimal digits each, equal without regard to case.
    static bool SameMac(const std::string& a, const std::string& b);
    // Exactly twelve hexadecimal digits.
    static bool IsMacText(const std::string& text);

    // True once after an Apply whose writes all succeeded closed the dialog.
    bool TakeSaved();
    // The wait shown once the dialog has closed after a saved entry.
    void ShowSavedWait();

private:
    void Refuse(const std::string& text, const std::string& caption, TEdit* clearAndFocus);
    void CopyToTwins();
    void RestoreOldValues();
    // Ends the modal run as saved; the caller shows the wait afterwards.
    void Finish();
    // Writes the row that was let go back with its old values.
    void RestoreMovedRow();
    QvWriteSequence writes_;
    std::unique_ptr<StaticRowWriter> freeRowWriter_;
    // The row the MAC moved from: its index and values before the Apply.
    std::string movedIndex_;
    StaticRowWriter::Values movedValues_;
    bool saved_ = false;
};

extern TFM_StaticIP* FM_StaticIP;
