#pragma once
// Message boxes and file dialogs. Every box (MessageBox, ShowMessage,
// MessageDlg, the exception display) goes through one entry, ShowBox, which
// hands it to the current sink: on-screen Qt boxes by default, a recording
// sink in tests (ui/Testing.h). File dialogs go through a sink the same way.
#include "ui/Component.h"
#include <string>

class TWinControl;

constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_OKCANCEL = 0x01;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x02;
constexpr unsigned MB_YESNOCANCEL = 0x03;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_RETRYCANCEL = 0x05;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONASTERISK = 0x40;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

using TMsgDlgButtons = unsigned;
constexpr TMsgDlgButtons mbYes = 1;
constexpr TMsgDlgButtons mbNo = 2;
constexpr TMsgDlgButtons mbOK = 4;
constexpr TMsgDlgButtons mbCancel = 8;
constexpr TMsgDlgButtons mbAbort = 16;
constexpr TMsgDlgButtons mbRetry = 32;
constexpr TMsgDlgButtons mbIgnore = 64;
constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel;
constexpr TMsgDlgButtons mbOKCancel = mbOK | mbCancel;
constexpr TMsgDlgButtons mbYesNo = mbYes | mbNo;

enum class BoxKind {
    Box,       // MessageBox with caption and flags
    Message,   // ShowMessage, captioned with the application title
    Dialog,    // MessageDlg
    Exception, // the exception display
};

struct BoxRequest {
    BoxKind kind = BoxKind::Box;
    std::string text;
    std::string caption;
    TMsgDlgButtons buttons = mbOK; // the buttons offered
    TMsgDlgType type = mtCustom;
    int helpContext = 0;
    TWinControl* owner = nullptr;
    // A box with an OK button only.
    bool OkOnly() const { return buttons == mbOK; }
    // The answer of a box closed without a button: OK for an OK-only box,
    // else Cancel, or No when it has no Cancel.
    int EscapeAnswer() const;
};

// Receives every box and returns the button pressed as a modal result
// (mrOk, mrCancel, mrYes, mrNo, ...; the same numbers as IDOK...).
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual int Show(const BoxRequest& request) = 0;
};

// Installs a sink (null: the on-screen one); returns the previous sink.
MessageSink* SetMessageSink(MessageSink* sink);
MessageSink& CurrentMessageSink();

// The one entry every box goes through.
int ShowBox(const BoxRequest& request);

// A box owned by owner's window; flags MB_*; returns IDOK, IDYES...
// The caption of a box that takes the application's title: the title the
// program set, else the executable's name without its extension.
std::string ApplicationTitle();

int MessageBox(TWinControl* owner, const std::string& text, const std::string& caption,
               unsigned flags);
// A plain message captioned with the application title.
void ShowMessage(const std::string& text);
// A message dialog captioned by its type ("Warning", "Error", "Information",
// "Confirm"); returns the modal result of the button pressed.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons,
               int helpContext = 0);

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string filter;
    int filterIndex = 1;
    std::string initialDir;
    std::string fileName;
    std::string defaultExt;
};

class FileDialogSink {
public:
    virtual ~FileDialogSink() = default;
    // True with the chosen name in fileName; false when cancelled.
    virtual bool Choose(const FileDialogRequest& request, std::string& fileName) = 0;
};

FileDialogSink* SetFileDialogSink(FileDialogSink* sink); // null: the on-screen one
FileDialogSink& CurrentFileDialogSink();

using TOpenOptions = unsigned;
constexpr TOpenOptions ofOverwritePrompt = 1;
constexpr TOpenOptions ofHideReadOnly = 2;
constexpr TOpenOptions ofPathMustExist = 4;
constexpr TOpenOptions ofFileMustExist = 8;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    // Asks for a file; true when one was chosen (FileName holds it).
    virtual bool Execute();

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& name) { fileName_ = name; }
    // "Text files (*.txt)|*.txt|All files (*.*)|*.*"
    const std::string& Filter() const { return filter_; }
    void SetFilter(const std::string& filter) { filter_ = filter; }
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    const std::string& InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string& dir) { initialDir_ = dir; }
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::string& ext) { defaultExt_ = ext; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions o) { options_ = o; }

protected:
    bool Run(bool save);

private:
    std::string fileName_, filter_, initialDir_, defaultExt_, title_;
    int filterIndex_ = 1;
    TOpenOptions options_ = ofHideReadOnly;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
    bool Execute() override;
};
