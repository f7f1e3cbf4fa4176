#include "forms/admin/TFM_Firmware.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "forms/admin/TransferServer.h"
#include "mib/FirmwareVars.h"
#include "os/Path.h"
#include "tftp/TFTPServer.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <cstdint>
#include <exception>

void TFM_Firmware::RegisterOpener() {
    TMainForm::RegisterFormOpener("TFM_Firmware", [] {
        std::unique_ptr<TFM_Firmware> form(NewForm<TFM_Firmware>(Application));
        if (!form->ServerFailed()) form->ShowModal();
    });
}

TFM_Firmware::TFM_Firmware(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Firmware", .caption = "Tools \\ Firmware", .border = bsSingle,
              .clientWidth = 380, .clientHeight = 100});

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetCaption("Upgrade File:");
    Label1->SetBounds(12, 20, 80, 16);
    Ed_UpgFile = new TEdit(this);
    Ed_UpgFile->SetName("Ed_UpgFile");
    Ed_UpgFile->SetBounds(96, 16, 190, 22);
    Bt_Browse = new TButton(this);
    Bt_Browse->SetName("Bt_Browse");
    Bt_Browse->SetCaption("Browse");
    Bt_Browse->SetBounds(294, 14, 72, 25);
    Bt_Browse->OnClick = [this](TObject* s) { Bt_BrowseClick(s); };
    Bt_OK = new TButton(this);
    Bt_OK->SetName("Bt_OK");
    Bt_OK->SetCaption("OK");
    Bt_OK->SetBounds(150, 50, 80, 25);
    Bt_OK->OnClick = [this](TObject* s) { Bt_OKClick(s); };

    OD_File = new TOpenDialog(this);
    OD_File->SetFilter("tfp document(*.tfp)|*.tfp|all files(*.*)|*.*");

    Ed_TfpSrv = new TEdit(this);
    Ed_TfpSrv->SetName("Ed_TfpSrv");
    Ed_TfpSrv->SetVisible(false);
    CB_TfpCom = new TComboBox(this);
    CB_TfpCom->SetName("CB_TfpCom");
    CB_TfpCom->SetVisible(false);
    CB_UpgCom = new TComboBox(this);
    CB_UpgCom->SetName("CB_UpgCom");
    CB_UpgCom->SetVisible(false);
    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetVisible(false);
    StatusBar2 = new TStatusBar(this);
    StatusBar2->SetName("StatusBar2");
    StatusBar2->SetSimplePanel(true);
    StatusBar2->SetVisible(false);
    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_Firmware::~TFM_Firmware() {
    // No completion may reach the groups or the dialogs once they go.
    ServerRequest.reset();
    UpgradeRequest.reset();
    CommandRequest.reset();
    loading_.reset();
    Transfer.Close();
}

void TFM_Firmware::FormCreate(TObject*) {
    try {
        ServerRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        ServerRequest->request.vars = QvSNMPVarList(mib::firmwareServerTable, SVT_SV, 0);
        ServerRequest->AssociateEdits(mib::firmwareServerIpVar, "%s", Ed_TfpSrv);
        ServerRequest->AssociateEdits(mib::firmwareFileNameVar, "%s", Ed_UpgFile);
        ServerRequest->SetStatusBar(StatusBar1);

        CommandRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        CommandRequest->request.vars = QvSNMPVarList(mib::firmwareCommandTable, SVT_SV, 0);
        CommandRequest->AssociateComboBox(0, CB_TfpCom);
        CommandRequest->request.Timeout = 15000;
        CommandRequest->SetStatusBar(StatusBar);

        UpgradeRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        UpgradeRequest->request.vars = QvSNMPVarList(mib::firmwareUpgradeTable, SVT_SV, 0);
        UpgradeRequest->AssociateComboBox(0, CB_UpgCom);
        UpgradeRequest->request.Timeout = 30000;
        UpgradeRequest->SetStatusBar(StatusBar2);
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
    }
    Transfer.Open(3000, 3);
}

void TFM_Firmware::Bt_BrowseClick(TObject*) {
    if (OD_File->Execute()) Ed_UpgFile->SetText(OD_File->FileName());
}

void TFM_Firmware::Refuse(const std::string& text) {
    MessageBox(this, text, "Warning", MB_OK | MB_ICONWARNING);
    SetEnabled(true);
}

void TFM_Firmware::Bt_OKClick(TObject*) {
    if (busy_ || Transfer.Failed() || !ServerRequest || !CommandRequest || !UpgradeRequest) return;
    SetEnabled(false);
    const std::string path = Ed_UpgFile->Text();
    if (path.empty() || os::IsPathSeparator(path.back()))
        return Refuse("Please put in the firmware file & path.");
    if (path.find(".tfp") == std::string::npos || !os::FindFirstFile(path))
        return Refuse("Please put in valid firmware file & path.");
    Ed_TfpSrv->SetText("");
    if (!FindLocalIPInDeviceSubnet(Ed_TfpSrv))
        return Refuse("No address of this PC is in the device's subnet.");
    std::string folder, name;
    if (!SplitTransferPath(path, &folder, &name)) return Refuse("The file path is error.");
    std::string reason;
    if (!Transfer.Announce(folder, TFTP_OP_RRQ, name, &reason))
        return Refuse("TFTP Service Init Error:" + reason);

    Ed_UpgFile->SetText(name);
    TransferStarted = true;
    CB_TfpCom->SetItemIndex(mib::tftpGetIndex);
    // The command goes out only once the device holds the server and name.
    writes_.SetShowFailure(false);
    writes_.Add(ServerRequest.get());
    writes_.Add(CommandRequest.get());
    busy_ = true;
    Bt_OK->SetEnabled(false);
    const bool started = writes_.Start([this](bool ok, const QvSNMPError& failure) {
        if (!ok) return OnCommandWriteDone(false, failure.Message);
        // The answer alone does not mean the image is here: the installation
        // is ordered only once the device has fetched all of it.
        Transfer.Await(static_cast<std::uint32_t>(CommandRequest->request.Timeout) * 10,
                       [this](bool complete) {
                           OnCommandWriteDone(complete, complete ? "" : Transfer.FailureText());
                       });
    });
    Ed_UpgFile->SetText(path);
    if (!started) {
        EndOrder();
        return;
    }
    if (!busy_) return; // ended already (a write that could not start)
    loading_ = std::make_unique<TFM_Waiting>(Application);
    loading_->Countdown = 5;
    loading_->RebootFlag = 0;
    ShowWaitingText(*loading_, "Loading firmware file...");
    loading_->Show();
}

void TFM_Firmware::CloseLoading() {
    if (!loading_) return;
    loading_->Close();
    loading_.reset();
}

void TFM_Firmware::EndOrder() {
    Transfer.Withdraw();
    busy_ = false;
    Bt_OK->SetEnabled(true);
    SetEnabled(true);
}

void TFM_Firmware::OnCommandWriteDone(bool ok, const std::string& text) {
    // Fetched, or given up: the image is served no longer.
    Transfer.Withdraw();
    CloseLoading();
    Bt_OK->SetEnabled(true);
    if (!ok) {
        MessageBox(this, "Cant Perform Operation,Please try again!", "Warning",
                   MB_OK | MB_ICONWARNING);
        StatusBar->SetSimpleText(text);
        EndOrder();
        return;
    }
    StatusBar->SetSimpleText(QvSNMPRequest2Controls::SuccessRecord().Message + "!");
    SendUpgradeCommand();
}

bool TFM_Firmware::SendUpgradeCommand() {
    if (!TransferStarted) return true;
    CB_UpgCom->SetItemIndex(mib::upgradeFirmwareIndex);
    RebootSent = false;
    UpgradeRequest->request.Timeout = 4000;
    upgradeWrites_.SetShowFailure(false);
    upgradeWrites_.Add(UpgradeRequest.get());
    upgradeWrites_.Start([this](bool ok, const QvSNMPError& failure) {
        OnUpgradeWriteDone(ok, failure.Message);
    });
    if (busy_ && upgradeWrites_.Running()) {
        TFM_Waiting::Run([&](TFM_Waiting& w) {
            w.Countdown = 40;
            w.RebootFlag = 0;
            ShowWaitingText(w, "Updating firmware file...");
        });
    }
    return true;
}

void TFM_Firmware::OnUpgradeWriteDone(bool ok, const std::string& text) {
    if (!ok) {
        StatusBar->SetSimpleText(text);
        EndOrder();
        return;
    }
    if (RebootSent) {
        EndOrder();
        return;
    }
    // The image is in place: now the restart that installs it.
    CB_UpgCom->SetItemIndex(mib::upgradeRebootIndex);
    UpgradeRequest->request.Timeout = 4000;
    RebootSent = true;
    rebootWrites_.SetShowFailure(false);
    rebootWrites_.Add(UpgradeRequest.get());
    if (!rebootWrites_.Start([this](bool ok2, const QvSNMPError& failure) {
            if (!ok2) {
                StatusBar->SetSimpleText(failure.Message);
                EndOrder();
                return;
            }
            EndOrder();
            TFM_Waiting::Run([&](TFM_Waiting& w) {
                w.Countdown = 30;
                w.RebootFlag = 1;
                ShowWaitingText(w, "Reboot...", true);
            });
        })) {
        ShowMessage("Set error!");
        EndOrder();
    }
}
