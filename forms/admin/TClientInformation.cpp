#include "forms/admin/TClientInformation.h"

#include "app/TMainForm.h"
#include "base/Exception.h"
#include "base/SysUtils.h"
#include "binding/QvOptionControls.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "mib/ClientInfoVars.h"
#include "snmp/QvSNMPVar.h"
#include "ui/Application.h"
#include "ui/ListView.h"
#include "ui/StatusBar.h"
#include "ui/Widgets.h"

#include <exception>
#include <memory>

namespace {

const char* const kColumns[] = {"Index",  "Client MAC Address", "Band", "Authentication",
                                "Signal", "Power Saving Mode",  "SSID"};
constexpr int kSsidColumn = 6;

} // namespace

void TClientInformation::RegisterOpener() {
    TMainForm::RegisterModalForm<TClientInformation>("TClientInformation");
}

TClientInformation::TClientInformation(TComponent* owner) : TForm(owner) {
    // Wide enough for every column beside the next, SSID included.
    SetFrame({.name = "ClientInformation", .caption = "Status \\ Client Info", .border = bsSizeable,
              .position = poOwnerFormCenter, .clientWidth = 640, .clientHeight = 330});
    BuildControls();
    OnCreate = [this](TObject* s) { FormCreate(s); };
    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    OnResize = [this](TObject* s) { FormResize(s); };
}

TClientInformation::~TClientInformation() {
    // The groups stop their completions first: nothing reaches this form.
    delete GetClientRequest;
    GetClientRequest = nullptr;
    delete ClientTableRequest;
    ClientTableRequest = nullptr;
}

void TClientInformation::BuildControls() {
    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetAlign(alTop);
    Panel1->SetHeight(34);
    Panel1->SetCaption("Client Information ");
    NumOfRecord = new TLabel(Panel1);
    NumOfRecord->SetParent(Panel1);
    NumOfRecord->SetName("NumOfRecord");
    NumOfRecord->SetCaption("0");
    NumOfRecord->SetBounds(12, 10, 30, 16);
    La_Stations = new TLabel(Panel1);
    La_Stations->SetParent(Panel1);
    La_Stations->SetCaption("Station(s)");
    La_Stations->SetLeft(46);
    La_Stations->SetTop(10);

    User_ListView = new TListView(this);
    User_ListView->SetName("User_ListView");
    User_ListView->SetViewStyle(vsReport);
    User_ListView->SetRowSelect(true);
    User_ListView->SetReadOnly(true);
    User_ListView->SetGridLines(true);
    User_ListView->SetLeft(8);
    User_ListView->SetTop(42);
    for (const char* caption : kColumns) {
        TListColumn* col = User_ListView->Columns().Add();
        col->SetCaption(caption);
        col->SetWidth(-2);
    }

    ClientListView = new TListView(this);
    ClientListView->SetName("ClientListView");
    ClientListView->SetViewStyle(vsReport);
    ClientListView->SetVisible(false);

    IfGetInfo0 = new TComboBox(this);
    IfGetInfo0->SetName("IfGetInfo0");
    IfGetInfo0->SetVisible(false);

    Bt_Rfrsh = new TButton(this);
    Bt_Rfrsh->SetName("Bt_Rfrsh");
    Bt_Rfrsh->SetCaption("Refresh");
    Bt_Rfrsh->SetWidth(75);
    Bt_Rfrsh->SetHeight(25);
    Bt_Rfrsh->OnClick = [this](TObject* s) { Bt_RfrshClick(s); };
    Bt_Close = new TButton(this);
    Bt_Close->SetName("Bt_Close");
    Bt_Close->SetCaption("Close");
    Bt_Close->SetWidth(75);
    Bt_Close->SetHeight(25);
    Bt_Close->OnClick = [this](TObject* s) { Bt_CloseClick(s); };

    StatusBar = new TStatusBar(this);
    StatusBar->SetName("StatusBar");
    StatusBar->SetAlign(alBottom);
    StatusBar->Panels().Add()->SetWidth(500);
    FormResize(this);
}

void TClientInformation::FormResize(TObject*) {
    if (!User_ListView || !Bt_Rfrsh || !Bt_Close) return;
    User_ListView->SetWidth(Width() - 34);
    User_ListView->SetHeight(Height() - 132);
    const int top = Height() - 85;
    Bt_Rfrsh->SetTop(top);
    Bt_Rfrsh->SetLeft(static_cast<int>(Width() * 0.18518518518518517));
    Bt_Close->SetTop(top);
    Bt_Close->SetLeft(static_cast<int>(Width() * 0.5873015873015873));
}

void TClientInformation::FormCreate(TObject*) {
    WithSsid = TMainForm::FieldAsInt(MainForm->Ed_ClientAddSSID) == 1;

    GetClientRequest = new QvSNMPRequest2Edits(this);
    GetClientRequest->mode = 1;
    GetClientRequest->request.vars = QvSNMPVarList(mib::clientGetVars, MVT_SV, 1);
    GetClientRequest->request.vars.Name = "Client Information";
    GetClientRequest->request.Timeout = 1000;
    GetClientRequest->AssociateComboBox(0, IfGetInfo0);
    FillComboItems(mib::clientGetList, IfGetInfo0);
    GetClientRequest->OnWriteDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
        OnGetClientWritten(s, e);
    };

    ClientTableRequest = new QvSNMPRequest2Edits(this);
    ClientTableRequest->mode = 1;
    ClientTableRequest->request.vars = QvSNMPVarList(
        WithSsid ? mib::clientTableSsidVars : mib::clientTableVars, MVT_UMV, 1);
    ClientTableRequest->request.vars.Name = "Client Table";
    ClientTableRequest->BindListView(ClientListView, false);
    // Nobody sees the walked table: fitting its columns to every row that
    // arrives would cost more the longer the list grows.
    for (int c = 0; c < ClientListView->Columns().Count(); ++c)
        ClientListView->Columns().Items(c)->SetWidth(80);
    ClientTableRequest->SetStatusBar(StatusBar->Panels()[0]);
    ClientTableRequest->OnReadDone = [this](QvSNMPRequest2Controls* s, QvSNMPError* e) {
        OnClientTableRead(s, e);
    };

    TListColumn* ssid = User_ListView->Columns().Items(kSsidColumn);
    ssid->SetWidth(WithSsid ? -2 : 0);

    StartDetection();
}

void TClientInformation::Bt_RfrshClick(TObject*) {
    if (Busy && (GetClientRequest->busy || ClientTableRequest->busy)) return;
    StartDetection();
}

void TClientInformation::StartDetection() {
    Busy = true;
    Bt_Rfrsh->SetEnabled(false);
    SelectComboItem(mib::clientGetList, IfGetInfo0, "acquire");
    SetStatus("Detect Client Info...");
    User_ListView->Items().Clear();
    try {
        GetClientRequest->Write(true, true, "", nullptr);
    } catch (const std::exception& e) {
        // A write that could not even start never completes: end it here,
        // or the form could never be closed.
        EndOperation("Detect timed out!" + MessageOf(e));
        return;
    }
    if (!GetClientRequest->busy) EndOperation("Detect timed out!");
}

void TClientInformation::OnGetClientWritten(QvSNMPRequest2Controls*, QvSNMPError* error) {
    if (error->Code != 0) {
        EndOperation("Detect timed out!" + error->Message);
        return;
    }
    SetStatus("Get Client info...!");
    try {
        ClientTableRequest->Read();
    } catch (const std::exception& e) {
        EndOperation(MessageOf(e));
        return;
    }
    if (!ClientTableRequest->busy && Busy) EndOperation(StatusBar->Panels()[0]->Text());
}

void TClientInformation::OnClientTableRead(QvSNMPRequest2Controls*, QvSNMPError* error) {
    Busy = false;
    Bt_Rfrsh->SetEnabled(true);
    SetStatus(error->Message);
    if (error->Code == 0) FillClientList();
    NumOfRecord->SetCaption(ShownCount());
}

void TClientInformation::EndOperation(const std::string& statusText) {
    SetStatus(statusText);
    NumOfRecord->SetCaption(ShownCount());
    Busy = false;
    Bt_Rfrsh->SetEnabled(true);
}

void TClientInformation::SetStatus(const std::string& text) {
    StatusBar->Panels()[0]->SetText(text);
}

std::string TClientInformation::ShownCount() const {
    return std::to_string(User_ListView->Items().Count());
}

std::string TClientInformation::BandText(const std::string& value) {
    long long n = -1;
    if (!ParseDecimal(value, n)) return " ";
    switch (n) {
    case 0:
        return "A";
    case 1:
        return "B";
    case 2:
    case 3:
        return "G";
    default:
        return " ";
    }
}

std::string TClientInformation::PowerSavingText(const std::string& value) {
    long long n = -1;
    if (!ParseDecimal(value, n)) return " ";
    if (n == 0) return "Off";
    if (n == 1) return "On";
    return " ";
}

std::string TClientInformation::AuthenticationText(const std::string& value) {
    long long n = -1;
    if (!ParseDecimal(value, n)) return " ";
    for (const QvPairDef* p = mib::clientAuthPairs; p->Text; ++p)
        if (p->Value.Int == n) return p->Text;
    return " ";
}

void TClientInformation::FillClientList() {
    User_ListView->Items().Clear();
    // The walked table's columns by caption: the binding orders them itself.
    auto columnOf = [this](const char* caption) {
        const TListColumns& cols = ClientListView->Columns();
        for (int c = 0; c < cols.Count(); ++c)
            if (cols.Items(c)->Caption() == caption) return c;
        return -1;
    };
    const int mac = columnOf("Client MAC Address"), band = columnOf("Band"),
              auth = columnOf("Authentication"), signal = columnOf("Signal"),
              power = columnOf("Power Saving Mode"), ssid = columnOf("SSID");
    auto text = [](TListItem* row, int column) {
        return column < 0 ? std::string() : row->ColumnText(column);
    };
    int number = 0;
    TListItems& rows = ClientListView->Items();
    User_ListView->Items().BeginUpdate();
    for (int r = 0; r < rows.Count(); ++r) {
        TListItem* row = rows.Item(r);
        const std::string macText = text(row, mac);
        if (macText == "000000000000") continue;
        TListItem* item = User_ListView->Items().Add();
        item->SetCaption(std::to_string(++number));
        item->SubItems().Add(macText);
        item->SubItems().Add(BandText(text(row, band)));
        item->SubItems().Add(WithSsid ? text(row, auth) : AuthenticationText(text(row, auth)));
        item->SubItems().Add(text(row, signal) + "  %");
        item->SubItems().Add(PowerSavingText(text(row, power)));
        if (WithSsid) item->SubItems().Add(text(row, ssid));
    }
    User_ListView->Items().EndUpdate();
}

void TClientInformation::Bt_CloseClick(TObject*) {
    Close();
}

void TClientInformation::FormCloseQuery(TObject*, bool& canClose) {
    canClose = !Busy;
}
