#include "forms/admin/TFM_Sytem.h"

#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "mib/SystemVars.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>
#include <memory>

namespace {

// Item indices of the True/False lists.
constexpr int kTrue = 0;
constexpr int kFalse = 1;

} // namespace

void TFM_Sytem::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_Sytem>("TFM_Sytem");
}

TFM_Sytem::TFM_Sytem(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Sytem", .caption = "Tools \\ System", .clientWidth = 330,
              .clientHeight = 110});

    Label1 = new TLabel(this);
    Label1->SetName("Label1");
    Label1->SetCaption("Apply Settings and Restart ");
    Label1->SetBounds(16, 20, 210, 16);
    Button1 = new TButton(this);
    Button1->SetName("Button1");
    Button1->SetCaption("Restart");
    Button1->SetBounds(236, 14, 80, 25);
    Button1->OnClick = [this](TObject* s) { Button1Click(s); };

    Label2 = new TLabel(this);
    Label2->SetName("Label2");
    Label2->SetCaption("Restore to Factory Default Settings");
    Label2->SetBounds(16, 56, 210, 16);
    Button2 = new TButton(this);
    Button2->SetName("Button2");
    Button2->SetCaption("Restore");
    Button2->SetBounds(236, 50, 80, 25);
    Button2->OnClick = [this](TObject* s) { Button2Click(s); };

    CB_Restart = new TComboBox(this);
    CB_Restart->SetName("CB_Restart");
    CB_Restart->SetVisible(false);
    CB_Restore = new TComboBox(this);
    CB_Restore->SetName("CB_Restore");
    CB_Restore->SetVisible(false);

    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetSimplePanel(true);
    StatusBar->SetAlign(alBottom);

    OnCreate = [this](TObject* s) { FormCreate(s); };
}

TFM_Sytem::~TFM_Sytem() {
    // The group waits out its replies before the controls it fills go.
    Request.reset();
}

void TFM_Sytem::FormCreate(TObject*) {
    Request = std::make_unique<QvSNMPRequest2Edits>(this);
    Request->request.vars = QvSNMPVarList(mib::systemRestartTable, SVT_SV, 0);
    Request->AssociateComboBox(mib::systemRestartVar, CB_Restart);
    Request->AssociateComboBox(mib::systemFactoryDefaultVar, CB_Restore);
    Request->SetStatusBar(StatusBar);
    try {
        Request->Read();
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
    }
}

void TFM_Sytem::Button1Click(TObject*) { RestartWith(false); }

void TFM_Sytem::Button2Click(TObject*) { RestartWith(true); }

void TFM_Sytem::RestartWith(bool factory) {
    if (writes_.Running()) return;
    try {
        // The read from the opening may still be out; its late reply must
        // not overwrite the choice made below.
        if (!WaitWhileBusy(*Request, QvReplyBoundMs(Request->request))) {
            StatusBar->SetSimpleText("Setting Error!");
            return;
        }
        CB_Restart->SetItemIndex(kTrue);
        // A plain restart says "False" itself: sending back what was read
        // could reset a device that reports "True", and an unanswered read
        // would send nothing sensible at all.
        CB_Restore->SetItemIndex(factory ? kTrue : kFalse);
        if (MessageBox(this, "Device will reboot, continue?", "Warning",
                       MB_OKCANCEL | MB_ICONWARNING) != IDOK)
            return;
        // Both values are set above, not taken from the read.
        writes_.AddCommand(Request.get());
        writes_.Start([this, factory](bool ok, const QvSNMPError&) {
            if (!ok) {
                StatusBar->SetSimpleText("Setting Error!");
                return;
            }
            TFM_Waiting::Run([&](TFM_Waiting& w) {
                w.RebootFlag = 0; // the write above restarts the device
                if (factory) {
                    w.SetCaption("System is rebooting, please waiting.....!");
                    w.Label3->SetCaption("The system IP will be 192.168.0.50 !");
                } else {
                    w.SetCaption("System is rebooting, please waiting.....");
                }
            });
        });
    } catch (const std::exception& e) {
        StatusBar->SetSimpleText(e.what());
    }
}
