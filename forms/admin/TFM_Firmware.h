#pragma once
// Tools \ Firmware: the device fetches a firmware image from the module's
// TFTP server, installs it and restarts.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "forms/admin/TransferServer.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TEdit;
class TLabel;
class TOpenDialog;
class TStatusBar;
class TFM_Waiting;
class QvSNMPRequest2Edits;

class TFM_Firmware : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_Firmware(TComponent* owner);
    ~TFM_Firmware() override;

    TLabel* Label1 = nullptr; // "Upgrade File:"
    TEdit* Ed_UpgFile = nullptr;
    TButton* Bt_Browse = nullptr;
    TButton* Bt_OK = nullptr;
    TStatusBar* StatusBar = nullptr;
    TOpenDialog* OD_File = nullptr;
    TEdit* Ed_TfpSrv = nullptr;
    TComboBox* CB_TfpCom = nullptr;
    TComboBox* CB_UpgCom = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TStatusBar* StatusBar2 = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> ServerRequest;
    std::unique_ptr<QvSNMPRequest2Edits> CommandRequest;
    std::unique_ptr<QvSNMPRequest2Edits> UpgradeRequest;
    // The server the device fetches the image from.
    TransferService Transfer;
    bool TransferStarted = false;
    bool RebootSent = false;

    void FormCreate(TObject* sender);
    void Bt_BrowseClick(TObject* sender);
    void Bt_OKClick(TObject* sender);
    void OnCommandWriteDone(bool ok, const std::string& text);
    bool SendUpgradeCommand();
    void OnUpgradeWriteDone(bool ok, const std::string& text);

    bool ServerFailed() const { return Transfer.Failed(); }
    // The non-modal dialog while the device fetches the image (null otherwise).
    TFM_Waiting* LoadingDialog() const { return loading_.get(); }
    // An order is out (the form stays disabled).
    bool Busy() const { return busy_; }

private:
    void Refuse(const std::string& text);
    void EndOrder();
    void CloseLoading();
    QvWriteSequence writes_, upgradeWrites_, rebootWrites_;
    std::unique_ptr<TFM_Waiting> loading_;
    bool busy_ = false;
};
