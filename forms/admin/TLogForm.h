#pragma once
// Status \ Log: the device uploads its system log to the module's TFTP
// server as "LogFile.RD" and the form lists it (Time, Type, Message). Clear
// empties the device's log; Log Settings opens the settings dialog.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "forms/admin/TransferServer.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TEdit;
class TGroupBox;
class TListBox;
class TListView;
class TPanel;
class TStatusBar;
class TTimer;
class QvSNMPRequest2Edits;
class TLogSetForm;

class TLogForm : public TForm {
public:
    static void RegisterOpener();

    explicit TLogForm(TComponent* owner);
    ~TLogForm() override;

    TPanel* Panel1 = nullptr;
    TPanel* Panel2 = nullptr;
    TGroupBox* GroupBox1 = nullptr; // "View Log"
    TListView* ViewListView = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TButton* Clear_Btn = nullptr; // "Clear"
    TButton* SetBtn = nullptr;    // "Log Settings"
    TButton* GetBtn = nullptr;    // "Get Log"
    TButton* CloseBtn = nullptr;  // "Close"
    TEdit* ServerEdit = nullptr;
    TEdit* FileNameEdit = nullptr;
    TComboBox* GetCoBox = nullptr;
    TComboBox* Bt_Clear = nullptr;
    TListBox* LBLog = nullptr;
    TTimer* Timer1 = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> GetLogRequest;
    std::unique_ptr<QvSNMPRequest2Edits> LogSetRequest;
    std::unique_ptr<QvSNMPRequest2Edits> ClearRequest;
    // The server the device uploads its log to.
    TransferService Transfer;
    std::unique_ptr<TLogSetForm> LogSetForm;
    int TickCount = 0;

    // The name the device uploads to, inside LogFolder().
    static constexpr const char* LogFileName = "LogFile.RD";
    // Ticks of Timer1 the form waits for the upload before "Get fail.".
    static constexpr int MaxWaitTicks = 20;

    void FormCreate(TObject* sender);
    void GetBtnClick(TObject* sender);
    void SetBtnClick(TObject* sender);
    void Clear_BtnClick(TObject* sender);
    void Timer1Timer(TObject* sender);
    void FormResize(TObject* sender);
    void CloseBtnClick(TObject* sender);

    // The full path of the local log file.
    std::string LogFilePath() const;
    // The server could not be started: the form is not to be shown.
    bool ServerFailed() const { return Transfer.Failed(); }
    bool Awaiting() const { return awaiting_; }

private:
    void Finish(bool loaded);
    void LayoutList();
    QvWriteSequence getWrites_, clearWrites_;
    bool awaiting_ = false;
};

// Loads the log file into the form's list box (kept when the file is
// missing) and fills its list view; true when the file existed.
bool LoadLogFile(TLogForm* form, const std::string& path);
