#pragma once
// Status \ Log \ Log Setting: which activities the device logs and the
// remote log server. The log form owns it and its request group.
#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TLabel;
class TStatusBar;
class QvSNMPRequest2Edits;

class TLogSetForm : public TForm {
public:
    explicit TLogSetForm(TComponent* owner);
    ~TLogSetForm() override;

    TCheckBox* SysLevCeBox = nullptr;      // "System Activity"
    TCheckBox* WirelessLevCeBox = nullptr; // "Wireless Activity"
    TCheckBox* NoticeLevCeBox = nullptr;   // "Notice "
    TComboBox* RemoteStateComBox = nullptr;
    TComboBox* LocalStateComBox = nullptr; // shown nowhere, bound to nothing
    TLabel* Label1 = nullptr;              // "Log Server / IP address "
    TEdit* LogServerEdit = nullptr;
    TButton* Button1 = nullptr; // "Cancel"
    TButton* Button2 = nullptr; // "Apply"
    TStatusBar* StatusBar1 = nullptr;

    // The log form's settings group; it writes the controls above.
    QvSNMPRequest2Edits* SettingsRequest = nullptr;
    // The group's read succeeded: only then are the controls usable and
    // Apply writes (never zeros for what was not read).
    bool SettingsRead() const { return settingsRead_; }
    void SettingsReadDone(bool ok);

    void Button1Click(TObject* sender);
    void Button2Click(TObject* sender);

private:
    void SetControlsEnabled(bool on);
    QvWriteSequence writes_;
    bool settingsRead_ = false;
};
