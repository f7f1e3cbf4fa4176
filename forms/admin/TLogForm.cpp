#include "forms/admin/TLogForm.h"

#include "app/TMainForm.h"
#include "binding/QvFailureCapture.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "forms/admin/TLogSetForm.h"
#include "forms/admin/TransferServer.h"
#include "mib/LogVars.h"
#include "os/Path.h"
#include "tftp/TFTPServer.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/Strings.h"
#include "ui/Timer.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <stdexcept>
#include <vector>

namespace {
constexpr int kGetIndex = 1;
constexpr int kClearIndex = 1;
constexpr int kDesignWidth = 478;

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}
} // namespace

void TLogForm::RegisterOpener() {
    TMainForm::RegisterFormOpener("TLogForm", [] {
        std::unique_ptr<TLogForm> form(NewForm<TLogForm>(Application));
        if (!form->ServerFailed()) form->ShowModal();
    });
}

TLogForm::TLogForm(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "LogForm", .caption = "Status \\ Log", .border = bsSizeable,
              .clientWidth = kDesignWidth, .clientHeight = 330});

    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetCaption("");
    Panel1->SetBounds(0, 0, kDesignWidth, 260);
    Panel2 = new TPanel(this);
    Panel2->SetName("Panel2");
    Panel2->SetCaption("");
    Panel2->SetParent(Panel1);
    Panel2->SetBounds(10, 10, kDesignWidth - 20, 240);
    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName("GroupBox1");
    GroupBox1->SetCaption("View Log");
    GroupBox1->SetParent(Panel2);
    GroupBox1->SetAlign(alClient);
    ViewListView = new TListView(this);
    ViewListView->SetName("ViewListView");
    ViewListView->SetParent(GroupBox1);
    // Placed below the group's caption (an aligned list would cover it).
    ViewListView->SetViewStyle(vsReport);
    ViewListView->SetGridLines(true);
    ViewListView->SetReadOnly(true);
    ViewListView->SetRowSelect(true);
    const struct {
        const char* caption;
        int width;
    } columns[] = {{"Time", -1}, {"Type", -1}, {"Message", -1}}; // fitted to their texts
    for (const auto& c : columns) {
        TListColumn* col = ViewListView->Columns().Add();
        col->SetCaption(c.caption);
        col->SetWidth(c.width);
    }

    auto button = [this](const char* name, const char* caption) {
        auto* b = new TButton(this);
        b->SetName(name);
        b->SetCaption(caption);
        b->SetBounds(0, 270, 80, 25);
        return b;
    };
    Clear_Btn = button("Clear_Btn", "Clear");
    Clear_Btn->OnClick = [this](TObject* s) { Clear_BtnClick(s); };
    SetBtn = button("SetBtn", "Log Settings");
    SetBtn->SetEnabled(false);
    SetBtn->OnClick = [this](TObject* s) { SetBtnClick(s); };
    GetBtn = button("GetBtn", "Get Log");
    GetBtn->OnClick = [this](TObject* s) { GetBtnClick(s); };
    CloseBtn = button("CloseBtn", "Close");
    CloseBtn->OnClick = [this](TObject* s) { CloseBtnClick(s); };

    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->Panels().Add()->SetWidth(50);
    StatusBar1->SetAlign(alBottom);

    ServerEdit = new TEdit(this);
    ServerEdit->SetName("ServerEdit");
    ServerEdit->SetVisible(false);
    FileNameEdit = new TEdit(this);
    FileNameEdit->SetName("FileNameEdit");
    FileNameEdit->SetVisible(false);
    GetCoBox = new TComboBox(this);
    GetCoBox->SetName("GetCoBox");
    GetCoBox->SetVisible(false);
    Bt_Clear = new TComboBox(this);
    Bt_Clear->SetName("Bt_Clear");
    Bt_Clear->SetVisible(false);
    LBLog = new TListBox(this);
    LBLog->SetName("LBLog");
    LBLog->SetVisible(false);

    Timer1 = new TTimer(this);
    Timer1->SetInterval(1000);
    Timer1->SetEnabled(false);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

    OnResize = [this](TObject* s) { FormResize(s); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    FormResize(this);
}

TLogForm::~TLogForm() {
    Timer1->SetEnabled(false);
    awaiting_ = false;
    // The groups wait out their replies before the controls they fill go.
    GetLogRequest.reset();
    ClearRequest.reset();
    if (LogSetForm) LogSetForm->SettingsRequest = nullptr;
    LogSetRequest.reset();
    Transfer.Close();
    LogSetForm.reset();
}

std::string TLogForm::LogFilePath() const { return os::JoinPath(LogFolder(), LogFileName); }

void TLogForm::FormCreate(TObject*) {
    LogSetForm = std::make_unique<TLogSetForm>(this);
    // Every group is made even when another's read failed; each failure is
    // told.
    std::vector<std::string> failures;
    auto note = [&failures](const std::exception& e) {
        if (std::find(failures.begin(), failures.end(), e.what()) == failures.end())
            failures.push_back(e.what());
    };
    try {
        GetLogRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        GetLogRequest->request.vars = QvSNMPVarList(mib::logGetTable, MVT_SV, 0);
        GetLogRequest->AssociateEdits(mib::logServerIpVar, "%s", ServerEdit);
        GetLogRequest->AssociateEdits(mib::logFileNameVar, "%s", FileNameEdit);
        GetLogRequest->AssociateComboBox(mib::logGetVar, GetCoBox);
        GetLogRequest->mode = 0;
        QvFailureCapture capture(GetLogRequest->request);
        const bool read = GetLogRequest->Read();
        if (!read && !capture.First().Message.empty())
            note(std::runtime_error(capture.First().Message));
    } catch (const std::exception& e) {
        note(e);
    }
    try {
        LogSetRequest = std::make_unique<QvSNMPRequest2Edits>(LogSetForm.get());
        LogSetRequest->request.vars = QvSNMPVarList(mib::logSettingsTable, MVT_SV, 0);
        LogSetRequest->AssociateControl2(mib::logSystemLevelVar, LogSetForm->SysLevCeBox);
        LogSetRequest->AssociateControl2(mib::logWirelessLevelVar, LogSetForm->WirelessLevCeBox);
        LogSetRequest->AssociateControl2(mib::logNoticeLevelVar, LogSetForm->NoticeLevCeBox);
        LogSetRequest->AssociateComboBox(mib::logRemoteStateVar, LogSetForm->RemoteStateComBox);
        LogSetRequest->AssociateEdits(mib::logRemoteServerVar, "%s", LogSetForm->LogServerEdit);
        LogSetRequest->SetStatusBar(LogSetForm->StatusBar1);
        // Only settings that were read may be written back.
        LogSetRequest->OnReadDone = [this](QvSNMPRequest2Controls*, QvSNMPError* error) {
            if (LogSetForm) LogSetForm->SettingsReadDone(!error || error->Code == 0);
        };
        LogSetForm->SettingsRequest = LogSetRequest.get();
        LogSetRequest->Read();
    } catch (const std::exception& e) {
        if (LogSetForm) LogSetForm->SettingsReadDone(false);
        note(e);
    }
    try {
        ClearRequest = std::make_unique<QvSNMPRequest2Edits>(this);
        ClearRequest->request.vars = QvSNMPVarList(mib::logClearTable, SVT_SV, 0);
        ClearRequest->AssociateComboBox(0, Bt_Clear);
        ClearRequest->Read();
    } catch (const std::exception& e) {
        note(e);
    }
    if (!failures.empty()) {
        std::string text;
        for (const auto& f : failures)
            text += (text.empty() ? "" : "\n") + f;
        MessageBox(this, text, "Warning", MB_OK | MB_ICONWARNING);
    }

    if (!Transfer.Open(5000, 3)) return;
    GetBtnClick(this);
}

void TLogForm::GetBtnClick(TObject*) {
    if (ServerFailed() || getWrites_.Running() || awaiting_) return;
    StatusBar1->Panels()[0]->SetText("Refresh...!");
    // The device gets the bare name; the server writes it into the log folder.
    // A file of an earlier run must not pass for this upload.
    os::DeleteFile(LogFilePath());
    if (!GetLogRequest) return;
    if (!WaitWhileBusy(*GetLogRequest, QvReplyBoundMs(GetLogRequest->request))) return;
    FileNameEdit->SetText(LogFileName);
    ServerEdit->SetText("");
    if (!FindLocalIPInDeviceSubnet(ServerEdit)) {
        MessageBox(this, "No address of this PC is in the device's subnet.", "Warning",
                   MB_OK | MB_ICONWARNING);
        return;
    }
    // Only the device's upload of this one name is taken.
    std::string reason;
    if (!Transfer.Announce(LogFolder(), TFTP_OP_WRQ, LogFileName, &reason)) {
        MessageBox(this, "TFTP Service Init Error:" + reason, "Warning", MB_OK | MB_ICONWARNING);
        return;
    }
    GetCoBox->SetItemIndex(kGetIndex);
    awaiting_ = true;
    TickCount = 0;
    getWrites_.Add(GetLogRequest.get());
    getWrites_.Start([this](bool ok, const QvSNMPError&) {
        if (!ok) {
            Finish(false);
            return;
        }
        if (!awaiting_) return;
        // Timer1 bounds the wait; the upload may have ended already.
        Timer1->SetEnabled(true);
        Transfer.Await(MaxWaitTicks * Timer1->Interval(), [this](bool complete) {
            if (!awaiting_) return;
            if (complete)
                Finish(LoadLogFile(this, LogFilePath()));
            else
                Finish(false);
        });
    });
}

void TLogForm::Finish(bool loaded) {
    Transfer.Withdraw();
    awaiting_ = false;
    Timer1->SetEnabled(false);
    StatusBar1->Panels()[0]->SetText(loaded ? "Get OK." : "Get fail.");
    SetBtn->SetEnabled(true);
}

void TLogForm::Timer1Timer(TObject*) {
    if (!awaiting_) {
        Timer1->SetEnabled(false);
        return;
    }
    if (++TickCount >= MaxWaitTicks) {
        LoadLogFile(this, LogFilePath()); // the earlier lines stay
        Finish(false);
    }
}

bool LoadLogFile(TLogForm* form, const std::string& path) {
    std::vector<std::string> lines;
    const bool exists = os::FileExists(path) && os::ReadTextLines(path, lines);
    if (exists) {
        form->LBLog->Items().Clear();
        for (const auto& line : lines)
            form->LBLog->Items().Add(line);
    }
    form->ViewListView->Items().Clear();
    for (int i = 0; i < form->LBLog->Items().Count(); ++i) {
        std::string line = form->LBLog->Items().Strings(i);
        if (line.empty()) continue;
        std::string time;
        auto p = line.find('\t');
        if (p != std::string::npos) {
            time = Trim(line.substr(0, p));
            line.erase(0, p + 1);
        }
        p = line.find('[');
        if (p != std::string::npos) line.erase(0, p + 1);
        std::string type;
        p = line.find(']');
        if (p != std::string::npos) {
            type = line.substr(0, p);
            line.erase(0, p + 1);
        }
        TListItem* item = form->ViewListView->Items().Add();
        item->SetCaption(time);
        item->SubItems().Add(type);
        item->SubItems().Add(line);
    }
    form->SetBtn->SetEnabled(true);
    return exists;
}

void TLogForm::Clear_BtnClick(TObject*) {
    if (!ClearRequest || clearWrites_.Running()) return;
    if (!WaitWhileBusy(*ClearRequest, QvReplyBoundMs(ClearRequest->request))) return;
    Bt_Clear->SetItemIndex(kClearIndex);
    clearWrites_.Add(ClearRequest.get());
    clearWrites_.Start([this](bool ok, const QvSNMPError&) {
        if (ok) ViewListView->Items().Clear();
    });
}

void TLogForm::SetBtnClick(TObject*) {
    if (!LogSetForm) return;
    if (LogSetForm->RemoteStateComBox->ItemIndex() == 0) LogSetForm->LogServerEdit->SetText("");
    LogSetForm->ShowModal();
}

void TLogForm::LayoutList() {
    if (!GroupBox1 || !ViewListView) return;
    constexpr int kSide = 8, kCaption = 20;
    ViewListView->SetBounds(kSide, kCaption, std::max(0, GroupBox1->Width() - 2 * kSide),
                            std::max(0, GroupBox1->Height() - kCaption - kSide));
}

void TLogForm::FormResize(TObject*) {
    if (!Panel1 || !Panel2) return;
    Panel2->SetWidth(Panel1->Width() - 20);
    Panel2->SetHeight(Panel1->Height() - 20);
    LayoutList();
    const int w = ClientWidth();
    auto scaled = [w](int x) {
        return static_cast<int>(std::lround(static_cast<double>(w) * x / kDesignWidth));
    };
    Clear_Btn->SetLeft(scaled(40));
    SetBtn->SetLeft(scaled(142));
    GetBtn->SetLeft(scaled(252));
    CloseBtn->SetLeft(w * 368 / kDesignWidth);
}

void TLogForm::CloseBtnClick(TObject*) { Close(); }
