#include "forms/admin/TLogSetForm.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <memory>

namespace {
constexpr int kDisable = 0;
constexpr int kEnable = 1;
} // namespace

TLogSetForm::TLogSetForm(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "LogSetForm", .caption = "Status \\ Log \\  Log Setting", .clientWidth = 300,
              .clientHeight = 200});

    auto check = [this](const char* name, const char* caption, int top) {
        auto* c = new TCheckBox(this);
        c->SetName(name);
        c->SetCaption(caption);
        c->SetBounds(24, top, 200, 20);
        return c;
    };
    SysLevCeBox = check("SysLevCeBox", "System Activity", 16);
    WirelessLevCeBox = check("WirelessLevCeBox", "Wireless Activity", 40);
    NoticeLevCeBox = check("NoticeLevCeBox", "Notice ", 64);

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetCaption("Log Server / IP address ");
    Label1->SetBounds(24, 100, 150, 16);
    LogServerEdit = new TEdit(this);
    LogServerEdit->SetName("LogServerEdit");
    LogServerEdit->SetBounds(174, 96, 110, 22);

    RemoteStateComBox = new TComboBox(this);
    RemoteStateComBox->SetName("RemoteStateComBox");
    RemoteStateComBox->SetVisible(false);
    LocalStateComBox = new TComboBox(this);
    LocalStateComBox->SetName("LocalStateComBox");
    LocalStateComBox->SetVisible(false);

    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetCaption("Cancel");
    Button1->SetBounds(60, 136, 80, 25);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };
    Button2 = new TButton(this);
    Button2->SetName("Button2");
    Button2->SetCaption("Apply");
    Button2->SetBounds(160, 136, 80, 25);
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };

    StatusBar1 = new TStatusBar(this);
    StatusBar1->SetName("StatusBar1");
    StatusBar1->SetSimplePanel(true);
    StatusBar1->SetAlign(alBottom);
    SetControlsEnabled(false); // until the device's settings are read
}

void TLogSetForm::SetControlsEnabled(bool on) {
    for (TControl* c : {static_cast<TControl*>(SysLevCeBox),
                        static_cast<TControl*>(WirelessLevCeBox),
                        static_cast<TControl*>(NoticeLevCeBox),
                        static_cast<TControl*>(LogServerEdit), static_cast<TControl*>(Button2)})
        c->SetEnabled(on);
}

void TLogSetForm::SettingsReadDone(bool ok) {
    // A later failed re-read leaves values that were read once.
    if (settingsRead_) return;
    settingsRead_ = ok;
    SetControlsEnabled(ok);
}

TLogSetForm::~TLogSetForm() = default;

void TLogSetForm::Button1Click(TObject*) { Close(); }

void TLogSetForm::Button2Click(TObject*) {
    if (!SettingsRequest || !settingsRead_ || writes_.Running()) return;
    if (LogServerEdit->Text().empty()) {
        RemoteStateComBox->SetItemIndex(kDisable);
        LogServerEdit->SetText("0.0.0.0");
    } else if (!TMainForm::IsValidIP(LogServerEdit->Text())) {
        MessageBox(this, "Please input valid IP Address.", "Warning", MB_OK | MB_ICONWARNING);
        LogServerEdit->SetText("");
        return;
    } else {
        RemoteStateComBox->SetItemIndex(kEnable);
    }
    // Success shows only once the device has taken every value.
    writes_.Add(SettingsRequest);
    writes_.SetShowFailure(false);
    writes_.Start([this](bool ok, const QvSNMPError&) {
        if (!ok) {
            StatusBar1->SetSimpleText("Set Error!");
            return;
        }
        StatusBar1->SetSimpleText("Set Success!");
        TFM_Waiting::Run();
    });
}
