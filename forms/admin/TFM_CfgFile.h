#pragma once
// Tools \ Configuration File: the device reads a configuration file from the
// module's TFTP server and takes it over, or writes its own into a local
// file.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
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
class QvTFTPServer;

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
    std::unique_ptr<QvTFTPServer> Server;

    void FormCreate(TObject* sender);
    void Bt_BrowseClick(TObject* sender);
    void Bt_OKClick(TObject* sender);
    void Bt_SavBrwClick(TObject* sender);
    void Bt_UploadClick(TObject* sender);
    // The end of the transfer command, either way; true on success.
    bool OnCommandResult(bool ok);

    bool ServerFailed() const { return serverFailed_; }
    bool Busy() const { return writes_.Running() || upgradeWrites_.Running(); }

private:
    // Aims the server at folder and writes name, then the transfer command.
    bool Order(const std::string& folder, const std::string& name, int commandIndex, bool saving);
    QvWriteSequence writes_, upgradeWrites_;
    bool serverFailed_ = false;
};
