#pragma once
// Home \ LAN: how the device gets its own address (static, or from a DHCP
// server). A new static address is checked against the device's DHCP pools
// and pinged first; every accepted change restarts the device.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TEdit;
class TLabel;
class TListView;
class TStatusBar;
class QvSNMPRequest2Edits;

class TFM_LanCfg : public TForm {
public:
    explicit TFM_LanCfg(TComponent* owner);
    ~TFM_LanCfg() override;

    TLabel* Label1 = nullptr;
    TComboBox* CB_IPFrom = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* ED_IpAddr = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* ED_SubMask = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* ED_DefGw = nullptr;
    TButton* BT_LanCfgOk = nullptr;
    TButton* BT_LanCfgCancel = nullptr;
    TStatusBar* StatusBar = nullptr;
    TListView* Static_ListView = nullptr;
    // Hidden: the dynamic pool's start and range, the restart command.
    TEdit* Ed_IPAF = nullptr;
    TEdit* Ed_PoolRan = nullptr;
    TComboBox* ED_Restart = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> LanRequest;
    std::unique_ptr<QvSNMPRequest2Edits> PoolRequest;
    std::unique_ptr<QvSNMPRequest2Edits> StaticPoolRequest;

    // What the form found when it opened.
    std::string OpenedAddress;
    int OpenedIPFrom = -1;

    void FormCreate(TObject* sender);
    void CB_IPFromChange(TObject* sender);
    void BT_LanCfgOkClick(TObject* sender);
    void BT_LanCfgCancelClick(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);

private:
    void UpdateVisibility();
    // The settings can be edited and applied only once they were read.
    void UpdateEditable();
    void Warn(const std::string& text);
    bool ReadLan();
    // The pool's start and range as the device holds them now; false when
    // they could not be read.
    bool PoolKnown();
    // The static pool as the device holds it now; false when unread.
    bool StaticPoolKnown();
    void ApplyStatic();
    void ApplyDynamic();
    bool lanRead_ = false;
    bool poolOk_ = false;
    bool staticOk_ = false;
    QvWriteSequence writes_;
};

extern TFM_LanCfg* FM_LanCfg;
