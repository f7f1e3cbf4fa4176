#pragma once
// Tools \ System: restarts the access point, or restores its factory
// settings, by writing the two enumerated restart variables.
#include <memory>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TLabel;
class TStatusBar;
class QvSNMPRequest2Edits;

class TFM_Sytem : public TForm {
public:
    // Lets the main window's command open this form.
    static void RegisterOpener();

    explicit TFM_Sytem(TComponent* owner);
    ~TFM_Sytem() override;

    TLabel* Label1 = nullptr;
    TButton* Button1 = nullptr; // "Restart"
    TLabel* Label2 = nullptr;
    TButton* Button2 = nullptr; // "Restore"
    TComboBox* CB_Restart = nullptr;
    TComboBox* CB_Restore = nullptr;
    TStatusBar* StatusBar = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> Request;

    void FormCreate(TObject* sender);
    void Button1Click(TObject* sender);
    void Button2Click(TObject* sender);

private:
    // Asks, writes both variables with the given FactoryDefault choice and,
    // once the device took them, waits for it to come back.
    void RestartWith(bool factory);
    QvWriteSequence writes_;
};
