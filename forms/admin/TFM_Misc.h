#pragma once
// Tools \ Misc.: the device's telnet console on or off, and its idle
// time-out.
#include <memory>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TGroupBox;
class TLabel;
class TStatusBar;
class QvSNMPRequest2Edits;

class TFM_Misc : public TForm {
public:
    // Lets the main window's command open this form.
    static void RegisterOpener();

    explicit TFM_Misc(TComponent* owner);
    ~TFM_Misc() override;

    TGroupBox* GB_Telnet = nullptr;
    TLabel* Label1 = nullptr;
    TComboBox* CB_Status = nullptr;
    TLabel* Label2 = nullptr;
    TComboBox* CB_Timeout = nullptr;
    TButton* Bt_Rfresh = nullptr;
    TButton* Bt_Apply = nullptr;
    TStatusBar* StatusBar = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> Request;

    void FormCreate(TObject* sender);
    void Bt_RfreshClick(TObject* sender);
    void Bt_ApplyClick(TObject* sender);
    void CB_StatusChange(TObject* sender);

private:
    void ReadConsole();
    // The time-out means nothing while the console is off.
    void ApplyTimeoutRule();
    QvWriteSequence writes_;
};
