#pragma once
// Tools \ Admin for devices that offer only the administrator's login: the
// user name and the password, changed after the old password is given.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TEdit;
class TLabel;
class TStatusBar;
class QvSNMPRequest2Edits;

class TFM_Admin : public TForm {
public:
    // Lets the main window's command open this form.
    static void RegisterOpener();

    explicit TFM_Admin(TComponent* owner);
    ~TFM_Admin() override;

    TLabel* Label1 = nullptr;
    TEdit* Ed_Usr = nullptr;
    TLabel* Label2 = nullptr;
    TEdit* Ed_OPwd = nullptr;
    TLabel* Label3 = nullptr;
    TEdit* Ed_NPwd = nullptr;
    TLabel* Label4 = nullptr;
    TEdit* Ed_CNP = nullptr;
    TEdit* Ed_Pwd = nullptr; // the password as read from the device
    TButton* OK = nullptr;
    TButton* Cancel = nullptr;
    TStatusBar* StatusBar = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> Request;

    void FormCreate(TObject* sender);
    void OKClick(TObject* sender);
    void CancelClick(TObject* sender);

private:
    QvWriteSequence writes_;
};
