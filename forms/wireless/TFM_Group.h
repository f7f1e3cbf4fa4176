#pragma once
// Advanced \ Grouping: load balancing with its user limit and link
// integration (editable in the Access Point mode only), and the Ethernet
// link status.
#include <memory>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TEdit;
class TLabel;
class TStatusBar;
class QvSNMPRequest2Edits;

class TFM_Group : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_Group(TComponent* owner);
    ~TFM_Group() override;

    TLabel* La_Heading = nullptr;
    TComboBox* CB_LoadB = nullptr;
    TEdit* Ed_UsrL = nullptr;
    TComboBox* CB_LinkInt = nullptr;
    TEdit* Ed_EthLS = nullptr;
    TComboBox* CB_APMode = nullptr; // hidden: the device's operating mode
    TButton* Bt_Apply = nullptr;
    TButton* Bt_Refresh = nullptr;
    TButton* Bt_Cancel = nullptr;
    TStatusBar* StatusBar = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> SettingsRequest;
    std::unique_ptr<QvSNMPRequest2Edits> ApModeRequest;

    void FormCreate(TObject* sender);
    void Bt_ApplyClick(TObject* sender);
    void Bt_RefreshClick(TObject* sender);
    void Bt_CancelClick(TObject* sender);
    void CB_LoadBChange(TObject* sender);
    void UpdateControls();

private:
    void ReadAll();
    QvWriteSequence writes_;
};
