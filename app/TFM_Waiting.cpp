#include "app/TFM_Waiting.h"

#include "app/TMainForm.h"
#include "base/SysUtils.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "mib/OptionLists.h"
#include "mib/VarTable.h"
#include "snmp/QvSNMPVar.h"
#include "ui/Timer.h"
#include "ui/Widgets.h"

TFM_Waiting* FM_Waiting = nullptr;

namespace {

using mib::table::kEnd;
using mib::table::Var;

const QvSNMPVar kFirmwareVersion[] = {
    Var(QV_AP ".4.1.1.1", "stFirmwareVersion", QvSyntax::DisplayStr, QvAccess::ReadOnly), kEnd};

const QvSNMPVar kUpgradeCommand[] = {Var(QV_AP ".3.3.5", "upgradesettingcommand", QvSyntax::Integer,
                                         QvAccess::ReadWrite, &mib::upgradesettingcommandList),
                                     kEnd};

TEdit* NewHiddenEdit(TForm* form, const char* name) {
    auto* e = new TEdit(form);
    e->SetName(name);
    e->SetVisible(false);
    e->SetBounds(8, 8, 40, 21);
    return e;
}

} // namespace

TFM_Waiting::TFM_Waiting(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_Waiting", .caption = "Please wait", .border = bsSingle,
              .clientWidth = 260, .clientHeight = 100});
    SetBorderIcons(BorderIcons() & ~biMaximize);

    Label2 = NewLabel(this, this, "Settings saved.", 24, 12, "Label2");
    Label3 = NewLabel(this, this, "The device is restarting.", 24, 32, "Label3");
    Label1 = NewLabel(this, this, "Please wait for", 24, 62, "Label1");
    La_Time = NewLabel(this, this, "", Label1->Left() + Label1->Width() + 8, 62, "La_Time");
    Label4 = NewLabel(this, this, "seconds", La_Time->Left() + 22, 62, "Label4");
    Ed_Reboot = NewHiddenEdit(this, "Ed_Reboot");
    Ed_FwVer = NewHiddenEdit(this, "Ed_FwVer");

    Timer1 = new TTimer(this);
    Timer1->SetName("Timer1");
    Timer1->SetInterval(TickMs);
    Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };

    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    // A closed dialog takes no more ticks: a modeless one stays until its
    // caller deletes it and must not send a restart still due by then.
    OnClose = [this](TObject*, TCloseAction&) { Timer1->SetEnabled(false); };
    OnCreate = [this](TObject* s) { FormCreate(s); };
    // The caller sets the count after creation; show it before the first tick.
    OnShow = [this](TObject*) { La_Time->SetCaption(IntToStr(Countdown)); };

    RebootFlag = 1;
    PendingReboot = 1;
    RebootDelayTicks = 2;
    FailureCount = 0;
    DoCreate();
}

TFM_Waiting::~TFM_Waiting() {
    // The timer must not tick into a dialog that is half gone; the requests
    // wait out their replies before the controls they fill go.
    Timer1->SetEnabled(false);
    RebootRequest.reset();
    FirmwareRequest.reset();
    if (FM_Waiting == this) FM_Waiting = nullptr;
}

void TFM_Waiting::FormCreate(TObject*) {
    FirmwareRequest = std::make_unique<QvSNMPRequest2Edits>(this);
    FirmwareRequest->request.vars = QvSNMPVarList(kFirmwareVersion, SVT_SV, 0);
    FirmwareRequest->mode = 0;
    FirmwareRequest->AssociateEdits(0, "%s", Ed_FwVer);
    FirmwareRequest->Read();
    Countdown = 25;
}

bool TFM_Waiting::DeviceAnswering() {
    return MainForm && MainForm->LED_Lan && MainForm->LED_Lan->Brush().Color() == clLime;
}

void TFM_Waiting::Timer1Timer(TObject*) {
    const bool answering = DeviceAnswering();
    // At the last count (or below, when a caller gave none) only the device
    // answering moves on; silence counts towards giving up.
    if (Countdown <= 1 && !answering) {
        ++FailureCount;
    } else {
        --Countdown;
        La_Time->SetCaption(IntToStr(Countdown));
    }
    --RebootDelayTicks;
    if ((Countdown <= 0 && answering) || FailureCount >= MaxFailures) Close();
    if (PendingReboot && RebootDelayTicks <= 0) {
        if (RebootFlag) SendRestart();
        PendingReboot = 0;
    }
}

void TFM_Waiting::SendRestart() {
    RebootRequest = std::make_unique<QvSNMPRequest2Edits>(this);
    RebootRequest->request.vars = QvSNMPVarList(kUpgradeCommand, SVT_SV, 0);
    RebootRequest->AssociateEdits(0, "%s", Ed_Reboot);
    Ed_Reboot->SetText("reboot");
    RebootRequest->Write(true, true, "", nullptr);
}

void TFM_Waiting::FormCloseQuery(TObject*, bool& canClose) {
    if (FailureCount > 2) Countdown = 0;
    canClose = Countdown <= 0;
}

void TFM_Waiting::Run(const std::function<void(TFM_Waiting&)>& prepare) {
    std::unique_ptr<TFM_Waiting> wait(new TFM_Waiting(Application));
    if (prepare) prepare(*wait);
    FM_Waiting = wait.get();
    wait->ShowModal();
}
