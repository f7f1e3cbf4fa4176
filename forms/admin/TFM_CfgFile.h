#pragma once
// Tools \ Configuration File: the device reads a configuration file from the
// module's TFTP server and takes it over, or writes its own into a local
// file.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "forms/admin/TransferServer.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TOpenDialog;
class TSaveDialog;
class TStatusBar;
class QvSNMPRequest2Edits;

// The direction of the last order: true when the device saves to the PC.
extern bool CfgFileSaving;

class TFM_CfgFile : public TForm {
public:
    static void RegisterOpener();

    explicit TFM_CfgFile(TComponent* owner);
    ~TFM_CfgFile() override;

    TGroupBox* GB_Update = nullptr; // "Update Configuration File "
    TLabel* Label1 = nullptr;       // "Update File"
    TEdit* Ed_UpgFile = nullptr;
    TButton* Bt_Browse = nullptr;
    TButton* Bt_OK = nullptr;
    TLabel* Label2 = nullptr;       // "Download Configuration File "
    TGroupBox* GB_Save = nullptr;   // "Load Settings to Local Hard Drive"
    TLabel* Label3 = nullptr;       // "Save File"
    TEdit* Ed_SaveFile = nullptr;
    TButton* Bt_SavBrw = nullptr;
    TButton* Bt_Upload = nullptr;
    TStatusBar* StatusBar = nullptr;
    TOpenDialog* OD_File = nullptr;
    TSaveDialog* OD_SaveFile = nullptr;
    TLabel* La_TftpSrv = nullptr;
    TEdit* Ed_TfpSrv = nullptr;
    TComboBox* CB_TfpCom = nullptr;
    TComboBox* CB_UpgCom = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> AddressRequest;
    std::unique_ptr<QvSNMPRequest2Edits> UpgradeRequest;
    std::unique_ptr<QvSNMPRequest2Edits> CommandRequest;
    // The server the device reads the file from or writes it to.
    TransferService Transfer;

    void FormCreate(TObject* sender);
    void Bt_BrowseClick(TObject* sender);
    void Bt_OKClick(TObject* sender);
    void Bt_SavBrwClick(TObject* sender);
    void Bt_UploadClick(TObject* sender);
    // The end of the transfer, either way (the command answered and the
    // file moved in full); true when it succeeded and what follows started.
    bool OnCommandResult(bool ok);

    bool ServerFailed() const { return Transfer.Failed(); }
    // An order is out: its writes, the transfer or the take-over.
    bool Busy() const { return busy_; }

private:
    // Aims the server at folder for the one transfer of name, writes name,
    // then the transfer command.
    bool Order(const std::string& folder, const std::string& name, int commandIndex, bool saving);
    void TakeOver();
    void EndOrder();
    void SetControlsEnabled(bool on);
    QvWriteSequence writes_, upgradeWrites_;
    bool busy_ = false;
};
