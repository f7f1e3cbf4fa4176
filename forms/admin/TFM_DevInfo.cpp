#include "forms/admin/TFM_DevInfo.h"

#include "app/MainUnit.h"
#include "app/TMainForm.h"
#include "base/SysUtils.h"
#include "binding/QvFailureCapture.h"
#include "binding/QvOptionControls.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "mib/DevInfoVars.h"
#include "snmp/QvSNMPVar.h"
#include "ui/Application.h"
#include "ui/PageControl.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <memory>
#include <string>

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

TEdit* NewField(TWinControl* parent, const char* name, const char* caption, int top,
                int labelLeft = 12, int editLeft = 150, int editWidth = 190) {
    TLabel* label = NewLabel(parent, parent, caption, labelLeft, top + 3);
    auto* edit = NewControl<TEdit>(parent, parent, name, editLeft, top, editWidth, 21);
    edit->SetReadOnly(true);
    edit->SetColor(clBtnFace);
    edit->SetText("");
    label->SetFocusControl(edit);
    return edit;
}

TButton* NewButton(TWinControl* parent, const char* name, const char* caption, int left,
                   int top) {
    return NewControl<TButton>(parent, parent, name, left, top, 75, 25, caption);
}

} // namespace

void TFM_DevInfo::RegisterOpener() {
    TMainForm::RegisterModalForm<TFM_DevInfo>("TFM_DevInfo");
}

TFM_DevInfo::TFM_DevInfo(TComponent* owner) : TForm(owner) {
    SetFrame({.name = "FM_DevInfo", .caption = "Status \\ Device Info", .border = bsSingle,
              .position = poOwnerFormCenter, .clientWidth = 390, .clientHeight = 504});
    SetBorderIcons(BorderIcons() & ~biMaximize);
    BuildControls();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
}

TFM_DevInfo::~TFM_DevInfo() {
    FreeRequests();
}

void TFM_DevInfo::BuildControls() {
    PC_WirlessTraffic = new TPageControl(this);
    PC_WirlessTraffic->SetName("PC_WirlessTraffic");
    PC_WirlessTraffic->SetBounds(8, 8, 374, 228);
    TabSheetA = new TTabSheet(PC_WirlessTraffic);
    TabSheetA->SetName("TabSheetA");
    TabSheetG = new TTabSheet(PC_WirlessTraffic);
    TabSheetG->SetName("TabSheetG");
    TabSheetG->SetTabVisible(false);

    struct BandControls {
        TEdit **ssid, **channel, **superMode, **rate, **auth, **priv;
        TButton** refresh;
        const char* suffix;
    };
    const BandControls bands[2] = {
        {&Ed_SSIDa, &Ed_Channela, &Ed_SupModusa, &Ed_DatRata, &Ed_SecLevAutha, &Ed_SecLevPria,
         &Bt_Refa, "a"},
        {&Ed_SSIDg, &Ed_Channelg, &Ed_SupModg, &Ed_DatRatg, &Ed_SecLevAuthg, &Ed_SecLevPrig,
         &Bt_Refg, "g"}};
    TTabSheet* sheets[2] = {TabSheetA, TabSheetG};
    for (int b = 0; b < 2; ++b) {
        TTabSheet* sheet = sheets[b];
        const std::string s = bands[b].suffix;
        *bands[b].ssid = NewField(sheet, ("Ed_SSID" + s).c_str(), "Service Set ID", 10);
        *bands[b].channel = NewField(sheet, ("Ed_Channel" + s).c_str(), "Channel", 36);
        *bands[b].superMode =
            NewField(sheet, (b == 0 ? "Ed_SupModusa" : "Ed_SupModg"), "Super G Mode", 62);
        *bands[b].rate = NewField(sheet, ("Ed_DatRat" + s).c_str(), "Data Rate", 88);
        *bands[b].auth = NewField(sheet, ("Ed_SecLevAuth" + s).c_str(), "Authentication", 114);
        *bands[b].priv = NewField(sheet, ("Ed_SecLevPri" + s).c_str(), "Privacy", 140);
        *bands[b].refresh = NewButton(sheet, ("Bt_Ref" + s).c_str(), "Refresh", 265, 168);
    }
    Ed_SupModa = new TEdit(TabSheetA);
    Ed_SupModa->SetName("Ed_SupModa");
    Ed_SupModa->SetParent(TabSheetA);
    Ed_SupModa->SetVisible(false);
    Ed_SupModa->SetReadOnly(true);
    Ed_SupModa->SetText("");
    Bt_Refa->OnClick = [this](TObject* s) { Bt_RefaClick(s); };
    Bt_Refg->OnClick = [this](TObject* s) { Bt_RefgClick(s); };

    GB_DevInfo = new TGroupBox(this);
    GB_DevInfo->SetName("GB_DevInfo");
    GB_DevInfo->SetCaption("Device Info");
    GB_DevInfo->SetBounds(8, 242, 374, 76);
    Ed_Firmware = NewField(GB_DevInfo, "Ed_Firmware", "Firmware Version:", 20);
    Ed_Mac = NewField(GB_DevInfo, "Ed_Mac", "MAC Address:", 46);

    GB_Ethernet = new TGroupBox(this);
    GB_Ethernet->SetName("GB_Ethernet");
    GB_Ethernet->SetCaption("Ethernet ");
    GB_Ethernet->SetBounds(8, 322, 374, 128);
    Ed_GetIP = NewField(GB_Ethernet, "Ed_GetIP", "Get IP From:", 20);
    Ed_IPaddr = NewField(GB_Ethernet, "Ed_IPaddr", "IP Address: ", 46);
    Ed_SubMask = NewField(GB_Ethernet, "Ed_SubMask", "Subnet Mask:", 72);
    Ed_Gate = NewField(GB_Ethernet, "Ed_Gate", "Gateway: ", 98);

    GB_APStatus = new TGroupBox(this);
    GB_APStatus->SetName("GB_APStatus");
    GB_APStatus->SetCaption("AP Status");
    GB_APStatus->SetBounds(8, 454, 374, 0);
    GB_APStatus->SetVisible(false);
    Ed_CPU = NewField(GB_APStatus, "Ed_CPU", "CPU Utilization:", 20);
    Ed_Memory = NewField(GB_APStatus, "Ed_Memory", "Memory Utilization: ", 46);

    CB_ApModea = new TComboBox(this);
    CB_ApModea->SetName("CB_ApModea");
    CB_ApModea->SetVisible(false);

    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetAlign(alBottom);
    StatusBar->SetSimplePanel(true);
}

QvSNMPRequest2Edits* TFM_DevInfo::NewGroup(const QvSNMPVar* table, unsigned char kind) {
    auto* group = new QvSNMPRequest2Edits(this);
    group->mode = 0;
    group->request.vars = QvSNMPVarList(table, kind, 0);
    return group;
}

void TFM_DevInfo::FormCreate(TObject*) {
    // One test of the turbo capability for both the value read and the text.
    const bool turboZero = TMainForm::FieldAsInt(MainForm->ED_Turbomode) == 0;
    // Here a field that is no number counts as 1: no AP mode to ask for.
    const bool apModeRead = DecimalOr(MainForm->Ed_RptModeToSuper->Text(), 1) == 0;

    if (turboZero) {
        SuperGRequest = NewGroup(mib::devSuperGVars, SVT_SV);
        SuperGRequest->request.vars.Name = "Super G";
        SuperGRequest->AssociateEdits(0, "%s", Ed_SupModa);
        QvReadOrRaise(*SuperGRequest);
    }

    if (apModeRead) {
        ApModeRequest = NewGroup(mib::devApModeVars, MVT_SV);
        ApModeRequest->mode = 1;
        ApModeRequest->request.vars.Name = "AP Mode";
        QvSNMPVarList& vars = ApModeRequest->request.vars;
        vars.Item(0)->Access = QvAccess::ReadWrite;
        vars.Item(1)->Access = QvAccess::Invalid;
        vars.Item(0)->OptionList = TMainForm::FieldAsInt(MainForm->ApmodeStringChangeSupport) == 1
                                       ? &mib::devApModeList
                                       : &mib::devApModeOldList;
        ApModeRequest->AssociateComboBox(0, CB_ApModea);
        FillComboItems(*vars.Item(0)->OptionList, CB_ApModea);
        ApModeRequest->Read();
    }

    if (TabSheetA->TabVisible()) {
        TabSheetA->SetCaption(g_BandCaption);
        Band1Request = NewGroup(mib::devBand1StatusVars, MVT_SV);
        Band1Request->request.vars.Name = "Band Status";
        Band1Request->AssociateEdits(0, "%s", Ed_SSIDa);
        Band1Request->AssociateEdits(1, "%s", Ed_Channela);
        Band1Request->AssociateEdits(2, "%s", Ed_SupModa);
        Band1Request->AssociateEdits(3, "%s", Ed_DatRata);
        Band1Request->AssociateEdits(4, "%s", Ed_SecLevAutha);
        Band1Request->AssociateEdits(5, "%s", Ed_SecLevPria);
        // With the turbo value read above, the status's own mode is not asked for.
        if (turboZero)
            Band1Request->request.vars.Item(mib::devStatusSuperMode)->Access = QvAccess::Invalid;
        Band1Request->SetStatusBar(StatusBar);
        QvReadOrRaise(*Band1Request);
    }

    // The repeater test needs the AP mode's answer: wait for it (bounded)
    // rather than decide from a combo box that has not been filled yet.
    if (ApModeRequest && ApModeRequest->busy)
        WaitWhileBusy(*ApModeRequest, QvReplyBoundMs(ApModeRequest->request));
    if (TabSheetA->TabVisible()) DecideSuperGText();

    if (TabSheetG->TabVisible()) {
        TabSheetG->SetCaption(g_BandCaption);
        Band2Request = NewGroup(mib::devBand2StatusVars, MVT_SV);
        Band2Request->request.vars.Name = "Band Status";
        Band2Request->AssociateEdits(0, "%s", Ed_SSIDg);
        Band2Request->AssociateEdits(1, "%s", Ed_Channelg);
        Band2Request->AssociateEdits(2, "%s", Ed_SupModg);
        Band2Request->AssociateEdits(3, "%s", Ed_DatRatg);
        Band2Request->AssociateEdits(4, "%s", Ed_SecLevAuthg);
        Band2Request->AssociateEdits(5, "%s", Ed_SecLevPrig);
        Band2Request->SetStatusBar(StatusBar);
        QvReadOrRaise(*Band2Request);
    }

    DeviceRequest = NewGroup(mib::devDeviceVars, SVT_SV);
    DeviceRequest->request.vars.Name = "Device Information";
    DeviceRequest->AssociateEdits(0, "%s", Ed_Firmware);
    DeviceRequest->AssociateEdits(1, "%s", Ed_Mac);
    DeviceRequest->AssociateEdits(2, "%s", Ed_GetIP);
    DeviceRequest->AssociateEdits(3, "%s", Ed_IPaddr);
    DeviceRequest->AssociateEdits(4, "%s", Ed_SubMask);
    DeviceRequest->AssociateEdits(5, "%s", Ed_Gate);
    QvReadOrRaise(*DeviceRequest);

    // Optional objects: the box shows only when the firmware answers for them.
    ApStatusRequest = NewGroup(mib::devApStatusVars, SVT_SV);
    ApStatusRequest->request.vars.Name = "AP Status";
    ApStatusRequest->AssociateEdits(0, "%s", Ed_CPU);
    ApStatusRequest->AssociateEdits(1, "%s", Ed_Memory);
    ApStatusReadable = ApStatusRequest->Read();
    GB_APStatus->SetVisible(ApStatusReadable);
    GB_APStatus->SetHeight(ApStatusReadable ? 76 : 0);
    SetClientHeight((ApStatusReadable ? 534 : 454) + StatusBar->Height());
}

void TFM_DevInfo::DecideSuperGText() {
    const bool turboZero = TMainForm::FieldAsInt(MainForm->ED_Turbomode) == 0;
    const bool repeater = ApModeRequest && CB_ApModea->ItemIndex() == 3;
    const std::string value = Ed_SupModa->Text();
    if (turboZero || repeater)
        Ed_SupModusa->SetText(StartsWith(value, "Disable") ? "Disabled" : "Enabled");
    else if (Ed_Channela->Text() != "6" && !StartsWith(value, "Disable"))
        Ed_SupModusa->SetText(TabSheetG->TabVisible() ? "Super A without Turbo"
                                                      : "Super G without Turbo");
    else
        Ed_SupModusa->SetText(value);
}

void TFM_DevInfo::Bt_RefaClick(TObject*) {
    if (!Band1Request) return;
    QvReadOrRaise(*Band1Request);
    if (ApStatusRequest && ApStatusReadable) ApStatusRequest->Read();
}

void TFM_DevInfo::Bt_RefgClick(TObject*) {
    if (Band2Request) QvReadOrRaise(*Band2Request);
}

void TFM_DevInfo::FormClose(TObject*, TCloseAction&) {
    FreeRequests();
}

void TFM_DevInfo::FreeRequests() {
    for (QvSNMPRequest2Edits** group : {&SuperGRequest, &ApModeRequest, &Band1Request,
                                        &Band2Request, &DeviceRequest, &ApStatusRequest}) {
        delete *group;
        *group = nullptr;
    }
}
