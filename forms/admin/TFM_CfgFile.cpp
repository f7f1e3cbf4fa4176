#include "forms/admin/TFM_CfgFile.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "base/SysUtils.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "forms/admin/TransferServer.h"
#include "mib/FirmwareVars.h"
#include "os/Path.h"
#include "tftp/TFTPServer.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/Graphics.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <exception>

bool CfgFileSaving = false;

namespace {

const char kFilter[] = "dcf document(*.dcf)|*.dcf|all files(*.*)|*.*";

void Warn(TForm* form, const std::string& text) {
    MessageBox(form, text, "Warning", MB_OK | MB_ICONWARNING);
}

} // namespace

void TFM_CfgFile::RegisterOpener() {
    TMainForm::RegisterFormOpener("TFM_CfgFile", [] {
        std::unique_ptr<TFM_CfgFile> form(NewForm<TFM_CfgFile>(Application));
        if (!form->ServerFailed()) form->ShowModal();
    });
}

TFM_CfgFile::TFM_CfgFile(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_CfgFile", .caption = "Tools \\ Configuration File", .border = bsSingle,
              .clientWidth = 400, .clientHeight = 210});
    CfgFileSaving = false;

    auto group = [this](const char* name, const char* caption, int top) {
        auto* g = new TGroupBox(this);
        g->SetName(name);
        g->SetCaption(caption);
        g->SetBounds(8, top, 384, 76);
        return g;
    };
    auto label = [this](TWinControl* parent, const char* name, const char* caption, int left,
                        int top) {
        auto* l = new TLabel(this);
        l->SetName(name);
        l->SetCaption(caption);
        l->SetParent(parent);
        l->SetBounds(left, top, 90, 16);
        return l;
    };
    auto edit = [this](TWinControl* parent, const char* name) {
        auto* e = new TEdit(this);
        e->SetName(name);
        e->SetParent(parent);
        e->SetBounds(80, 20, 200, 22);
        return e;
    };
    auto button = [this](TWinControl* parent, const char* name, const char* caption, int left,
                         int top) {
        auto* b = new TButton(this);
        b->SetName(name);
        b->SetCaption(caption);
        b->SetParent(parent);
        b->SetBounds(left, top, 72, 25);
        return b;
    };

    GB_Update = group("GB_Update", "Update Configuration File ", 8);
    Label1 = label(GB_Update, "Label1", "Update File", 10, 24);
    Ed_UpgFile = edit(GB_Update, "Ed_UpgFile");
    Bt_Browse = button(GB_Update, "Bt_Browse", "Browse", 292, 18);
    Bt_Browse->OnClick = [this](TObject* s) { Bt_BrowseClick(s); };
    Bt_OK = button(GB_Update, "Bt_OK", "OK", 156, 46);
    Bt_OK->OnClick = [this](TObject* s) { Bt_OKClick(s); };

    Label2 = label(this, "Label2", "Download Configuration File ", 12, 88);
    Label2->SetWidth(200);
    GB_Save = group("GB_Save", "Load Settings to Local Hard Drive", 106);
    Label3 = label(GB_Save, "Label3", "Save File", 10, 24);
    Ed_SaveFile = edit(GB_Save, "Ed_SaveFile");
    Bt_SavBrw = button(GB_Save, "Bt_SavBrw", "Browse", 292, 18);
    Bt_SavBrw->OnClick = [this](TObject* s) { Bt_SavBrwClick(s); };
    Bt_Upload = button(GB_Save, "Bt_Upload", "OK", 156, 46);
    Bt_Upload->OnClick = [this](TObject* s) { Bt_UploadClick(s); };

    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->Panels().Add();
    StatusBar->SetAlign(alBottom);

    OD_File = new TOpenDialog(this);
    OD_File->SetFilter(kFilter);
    OD_SaveFile = new TSaveDialog(this);
    OD_SaveFile->SetFilter(kFilter);

    La_TftpSrv = new TLabel(this);
    La_TftpSrv->SetName("La_TftpSrv");
    La_TftpSrv->SetCaption("Tftp Server:");
    La_TftpSrv->SetEnabled(false);
    La_TftpSrv->SetVisible(false);
    Ed_TfpSrv = new TEdit(this);
    Ed_TfpSrv->SetName("Ed_TfpSrv");
    Ed_TfpSrv->SetVisible(false);
    CB_TfpCom = new TComboBox(this);
    CB_TfpCom->SetName("CB_TfpCom");
    CB_TfpCom->SetVisible(false);
    CB_UpgCom = new TComboBox(this);
    CB_UpgCom->SetName("CB_UpgCom");
    CB_UpgCom->SetVisible(false);

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_CfgFile::~TFM_CfgFile() {
    AddressRequest.reset();
    UpgradeRequest.reset();
    CommandRequest.reset();
    Transfer.Close();
}

void TFM_CfgFile::FormCreate(TObject*) {
    try {
        AddressRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        AddressRequest->request.vars = QvSNMPVarList(mib::firmwareServerTable, SVT_SV, 0);
        AddressRequest->AssociateEdits(mib::firmwareServerIpVar, "%s", Ed_TfpSrv);
        AddressRequest->AssociateEdits(mib::firmwareFileNameVar, "%s", Ed_UpgFile);
        AddressRequest->mode = 0;

        UpgradeRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        UpgradeRequest->request.vars = QvSNMPVarList(mib::firmwareUpgradeTable, SVT_SV, 0);
        UpgradeRequest->AssociateComboBox(0, CB_UpgCom);
        UpgradeRequest->request.Timeout = 30000;
        // Asynchronous: a silent device must not freeze the window.
        UpgradeRequest->SetStatusBar(StatusBar->Panels()[0]);

        CommandRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        CommandRequest->request.vars = QvSNMPVarList(mib::firmwareCommandTable, SVT_SV, 0);
        CommandRequest->AssociateComboBox(0, CB_TfpCom);
        CommandRequest->request.Timeout = 10000;
        CommandRequest->SetStatusBar(StatusBar->Panels()[0]);
    } catch (const std::exception& e) {
        StatusBar->Panels()[0]->SetText(e.what());
    }
    Ed_SaveFile->SetColor(clBtnFace);
    Ed_SaveFile->SetReadOnly(true);

    Transfer.Open(300, 3);
}

void TFM_CfgFile::Bt_BrowseClick(TObject*) {
    if (!OD_File->Execute()) return;
    Ed_SaveFile->SetText("");
    Ed_UpgFile->SetText(OD_File->FileName());
}

void TFM_CfgFile::Bt_SavBrwClick(TObject*) {
    if (!OD_SaveFile->Execute()) return;
    Ed_SaveFile->SetText("");
    Ed_SaveFile->SetText(OD_SaveFile->FileName());
}

void TFM_CfgFile::SetControlsEnabled(bool on) {
    for (TControl* c : {static_cast<TControl*>(Ed_UpgFile), static_cast<TControl*>(Bt_Browse),
                        static_cast<TControl*>(Bt_OK), static_cast<TControl*>(Bt_SavBrw),
                        static_cast<TControl*>(Bt_Upload)})
        c->SetEnabled(on);
}

void TFM_CfgFile::EndOrder() {
    Transfer.Withdraw();
    busy_ = false;
    SetControlsEnabled(true);
}

bool TFM_CfgFile::Order(const std::string& folder, const std::string& name, int commandIndex,
                        bool saving) {
    std::string reason;
    // The device reads the file for an update and writes it for a save;
    // nothing else is served.
    if (!Transfer.Announce(folder, saving ? TFTP_OP_WRQ : TFTP_OP_RRQ, name, &reason)) {
        Warn(this, "TFTP Service Init Error:" + reason);
        return false;
    }
    Ed_UpgFile->SetText(name);
    CB_TfpCom->SetItemIndex(commandIndex);
    CfgFileSaving = saving;
    busy_ = true;
    SetControlsEnabled(false);
    // The command follows only a write of the server and name that went
    // through; either failure ends the order with its message.
    writes_.SetShowFailure(false);
    writes_.Add(AddressRequest.get());
    writes_.Add(CommandRequest.get());
    const bool started = writes_.Start([this](bool ok, const QvSNMPError& failure) {
        if (!ok) {
            StatusBar->Panels()[0]->SetText(failure.Message);
            OnCommandResult(false);
            return;
        }
        // The answer alone does not move the file: the result waits for the
        // whole of it, within the command's own time-out.
        Transfer.Await(static_cast<std::uint32_t>(CommandRequest->request.Timeout) * 10,
                       [this](bool complete) {
                           if (!complete)
                               StatusBar->Panels()[0]->SetText(Transfer.FailureText());
                           OnCommandResult(complete);
                       });
    });
    if (!started) EndOrder();
    return started;
}

void TFM_CfgFile::Bt_OKClick(TObject*) {
    if (ServerFailed() || !AddressRequest || !CommandRequest || !UpgradeRequest) return;
    if (Busy()) return Warn(this, "Please wait until the transfer in progress has ended.");
    const std::string path = Ed_UpgFile->Text();
    if (path.empty()) return Warn(this, "Empty file is not accepted.");
    if (!os::FileExists(path) || UpperCase(path).find(".DCF") == std::string::npos)
        return Warn(this, "File format error! Please try again!");
    Ed_TfpSrv->SetText("");
    if (!FindLocalIPInDeviceSubnet(Ed_TfpSrv))
        return Warn(this, "No address of this PC is in the device's subnet.");
    std::string folder, name;
    if (!SplitTransferPath(path, &folder, &name)) return Warn(this, "The file path is error.");
    Order(folder, name, mib::tftpGetIndex, false);
    Ed_UpgFile->SetText(path);
}

void TFM_CfgFile::Bt_UploadClick(TObject*) {
    if (ServerFailed() || !AddressRequest || !CommandRequest || !UpgradeRequest) return;
    if (Busy()) return Warn(this, "Please wait until the transfer in progress has ended.");
    const std::string path = Ed_SaveFile->Text();
    if (path.empty()) return Warn(this, "Empty file is not accepted.");
    Ed_TfpSrv->SetText("");
    if (!FindLocalIPInDeviceSubnet(Ed_TfpSrv))
        return Warn(this, "No address of this PC is in the device's subnet.");
    std::string folder, name;
    if (!SplitTransferPath(path, &folder, &name)) return Warn(this, "The file path is error.");
    if (UpperCase(name).find(".DCF") == std::string::npos) name += ".dcf";
    Order(folder, name, mib::tftpPutIndex, true);
    Ed_UpgFile->SetText("");
    Ed_SaveFile->SetText("");
}

bool TFM_CfgFile::OnCommandResult(bool ok) {
    // The file has moved, or will not: it is served no longer.
    Transfer.Withdraw();
    if (CfgFileSaving) {
        EndOrder();
        if (ok) {
            MessageBox(this, "The configuration file saved successfully!", "OK", MB_OK);
            return true;
        }
        MessageBox(this, "Fail to save the configuration file!", "ERROR", MB_OK | MB_ICONERROR);
        return false;
    }
    if (!ok) {
        EndOrder();
        MessageBox(this, "The configuration file updated fail!", "ERROR", MB_OK | MB_ICONERROR);
        return false;
    }
    TakeOver();
    return Busy();
}

void TFM_CfgFile::TakeOver() {
    CB_UpgCom->SetItemIndex(mib::upgradeConfigSaveIndex);
    upgradeWrites_.SetShowFailure(false);
    upgradeWrites_.Add(UpgradeRequest.get());
    const bool started = upgradeWrites_.Start([this](bool written, const QvSNMPError& failure) {
        EndOrder();
        if (!written) {
            StatusBar->Panels()[0]->SetText(failure.Message);
            MessageBox(this, "The configuration file updated fail!", "ERROR",
                       MB_OK | MB_ICONERROR);
            return;
        }
        StatusBar->Panels()[0]->SetText("The configuration file updated successfully!");
        TFM_Waiting::Run([&](TFM_Waiting& w) {
            w.RebootDelayTicks = 5;
            ShowWaitingText(w, "Waiting for reboot...", true);
        });
    });
    if (!started) {
        EndOrder();
        MessageBox(this, "The configuration file updated fail!", "ERROR", MB_OK | MB_ICONERROR);
    }
}
