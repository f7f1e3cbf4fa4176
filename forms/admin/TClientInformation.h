#pragma once
// Status > Client Info: the wireless stations associated with the access
// point. The device is first told to gather its list (a set of the acquire
// command); only when that write has completed is the client table walked.
// The form stays open while either step is outstanding.
#include "ui/Form.h"

#include <string>

class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;
class TButton;
class TComboBox;
class TLabel;
class TListView;
class TPanel;
class TStatusBar;
struct QvSNMPError;

class TClientInformation : public TForm {
public:
    explicit TClientInformation(TComponent* owner);
    ~TClientInformation() override;

    // Makes the main window's Client Info command open this form.
    static void RegisterOpener();

    TPanel* Panel1 = nullptr;
    TLabel* NumOfRecord = nullptr;
    TLabel* La_Stations = nullptr;
    TListView* User_ListView = nullptr; // what the user sees
    TListView* ClientListView = nullptr; // hidden: the walked table
    TComboBox* IfGetInfo0 = nullptr;
    TButton* Bt_Rfrsh = nullptr;
    TButton* Bt_Close = nullptr;
    TStatusBar* StatusBar = nullptr;

    QvSNMPRequest2Edits* GetClientRequest = nullptr;
    QvSNMPRequest2Edits* ClientTableRequest = nullptr;
    bool WithSsid = false;
    // Set while the acquire write or the table read is outstanding.
    bool Busy = true;

    void FormCreate(TObject* sender);
    void Bt_RfrshClick(TObject* sender);
    void Bt_CloseClick(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormResize(TObject* sender);
    void OnGetClientWritten(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void OnClientTableRead(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void FillClientList();

    // Display texts of the received numbers; " " for anything else.
    static std::string BandText(const std::string& value);
    static std::string PowerSavingText(const std::string& value);
    static std::string AuthenticationText(const std::string& value);

private:
    void BuildControls();
    void StartDetection();
    // Ends the operation that could not be started or went wrong.
    void EndOperation(const std::string& statusText);
    void SetStatus(const std::string& text);
    std::string ShownCount() const;
};
