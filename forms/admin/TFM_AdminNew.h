#pragma once
// Tools \ Admin for devices with the extended administration objects: the
// login, the limit of administrator addresses (two single addresses or up
// to four ranges), the management VLAN, administration over the wireless
// LAN, the console (none, telnet or SSH) with its time-out, the trap server
// and ping control. A group the device does not answer is hidden and never
// written.
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "snmp/QvSNMPVar.h"
#include "ui/Form.h"

class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TGroupBox;
class TLabel;
class TListItem;
class TListView;
class TRadioButton;
class TStatusBar;
class New_req2Edit;
class QvSNMPRequest2Edits;

class TFM_AdminNew : public TForm {
public:
    // Lets the main window's command open this form.
    static void RegisterOpener();

    explicit TFM_AdminNew(TComponent* owner);
    ~TFM_AdminNew() override;

    TLabel* LA_Header = nullptr;
    // Login.
    TGroupBox* GB_Login = nullptr;
    TEdit* Ed_Usr = nullptr;
    TEdit* Ed_OPwd = nullptr;
    TEdit* Ed_NPwd = nullptr;
    TEdit* Ed_CNP = nullptr;
    TEdit* Ed_Pwd = nullptr; // the password as read
    // Limit of administrator addresses.
    TGroupBox* GB_Limit = nullptr;
    TCheckBox* CkBx_ManagerState = nullptr;
    TLabel* Label_IP1 = nullptr;
    TEdit* Ed_IP1 = nullptr;
    TLabel* Label_IP2 = nullptr;
    TEdit* Ed_IP2 = nullptr;
    TLabel* Label_iprange = nullptr;
    TLabel* Label_From = nullptr;
    TEdit* Ed_FromIP = nullptr;
    TLabel* Label_To = nullptr;
    TEdit* Ed_ToIP = nullptr;
    TButton* Btn_Add = nullptr;
    TButton* Btn_Del = nullptr;
    TListView* ListView_User = nullptr;
    TListView* ListView_IpRange = nullptr; // every slot of the table, hidden
    TEdit* Ed_From = nullptr;
    TEdit* Ed_To = nullptr;
    TLabel* LA_Index = nullptr;
    TComboBox* Cb_Mussid = nullptr;
    TComboBox* Cb_VLAN = nullptr;
    TLabel* Label_Wlan = nullptr;
    TComboBox* Cb_WLAN = nullptr;
    TCheckBox* CheckBox_VID = nullptr;
    TEdit* Ed_VID = nullptr;
    // Console.
    TGroupBox* GB_Console = nullptr;
    TRadioButton* RB_None = nullptr;
    TRadioButton* RB_Telnet = nullptr;
    TRadioButton* RB_SHH = nullptr;
    TLabel* Label_Timeout = nullptr;
    TComboBox* CB_Timeout = nullptr;
    TComboBox* CB_Telnet = nullptr;
    TComboBox* CB_SHH = nullptr;
    // SNMP.
    TGroupBox* Grp_Snmp = nullptr;
    TLabel* Label_Trap = nullptr;
    TEdit* Ed_TrapServIP = nullptr;
    TCheckBox* CkBx_LBS = nullptr;
    TEdit* Ed_TrapSupport = nullptr;
    // Ping control.
    TGroupBox* GB_Ping = nullptr;
    TLabel* Label_Ping = nullptr;
    TComboBox* CB_Ping = nullptr;
    TEdit* Ed_PingSupport = nullptr;
    TEdit* Ed_Firmware = nullptr;

    TButton* OK = nullptr; // "Apply"
    TButton* Cancel = nullptr;
    TStatusBar* StatusBar = nullptr;

    // One binding per group, in creation order.
    std::unique_ptr<QvSNMPRequest2Edits> MssidState;
    std::unique_ptr<QvSNMPRequest2Edits> VlanState;
    std::unique_ptr<QvSNMPRequest2Edits> DeviceInfo;
    std::unique_ptr<QvSNMPRequest2Edits> Wlan;
    std::unique_ptr<QvSNMPRequest2Edits> ManagerVlan;
    std::unique_ptr<QvSNMPRequest2Edits> IpRange;
    std::unique_ptr<New_req2Edit> UserList;
    std::unique_ptr<QvSNMPRequest2Edits> Telnet;
    std::unique_ptr<QvSNMPRequest2Edits> Ssh;
    std::unique_ptr<QvSNMPRequest2Edits> LimitState;
    std::unique_ptr<QvSNMPRequest2Edits> ManagerIp;
    std::unique_ptr<QvSNMPRequest2Edits> Login;
    std::unique_ptr<QvSNMPRequest2Edits> TrapSupport;
    std::unique_ptr<QvSNMPRequest2Edits> TrapServer;
    std::unique_ptr<QvSNMPRequest2Edits> PingSupport;
    std::unique_ptr<QvSNMPRequest2Edits> PingControl;

    // Each the success of its group's first read.
    bool WlanFlag = false;
    bool VidFlag = false;
    bool SshFlag = false;
    bool ManagerIpFlag = false;
    bool PingSupportFlag = false;
    bool PingControlFlag = false;
    bool TrapFlag = false;     // the trap-server group is shown and written
    bool LimitFlag = false;    // the limit state was answered
    bool RangeMode = false;    // the device keeps address ranges
    bool WriteManagerIP = false;

    void FormCreate(TObject* sender);
    void OKClick(TObject* sender);
    void Btn_AddClick(TObject* sender);
    void Btn_DelClick(TObject* sender);
    void CancelClick(TObject* sender);
    void CkBx_ManagerStateClick(TObject* sender);
    void CheckBox_VIDClick(TObject* sender);
    void CkBx_LBSClick(TObject* sender);
    void RB_NoneClick(TObject* sender);
    void ListView_UserClick(TObject* sender);

    // Whether an Apply, Add or Delete is still writing.
    bool Writing() const { return writes_.Running(); }

private:
    void BuildControls();
    // Creates a group on a static table; sync groups read at once.
    std::unique_ptr<QvSNMPRequest2Edits> NewGroup(const QvSNMPVar* table, uint8_t kind,
                                                  bool sync);
    bool ReadNow(QvSNMPRequest2Edits& group);
    void StartRead(QvSNMPRequest2Edits& group);
    void ArrangeLayout();
    void ResetAfterApply();
    void ReadUserList();
    // The steps of Apply: reads to wait for, the checks in order (false:
    // the handler ends), then the one sequence of writes.
    bool ReadsSettled();
    bool CheckVid();
    bool RangeListAllowsLimit();
    bool CheckManagerAddresses();
    bool CheckLoginInput();
    bool CheckTrapServer();
    void StartApply();
    // The console's writes inside the sequence: both protocols off, then the
    // choice; a failure among them puts back what the device held.
    void AddConsoleSteps();
    void ConsoleBeforeWrite();
    void KeepDeviceConsole(bool timeoutToo);
    void RestoreConsole();
    // The enabling rules of the console, the limit and the trap server also
    // keep the controls of an unread group disabled.
    void ApplyConsoleRule();
    // Shows text in a box captioned caption with an OK button.
    void Warn(const std::string& text, const char* caption = "Warning");
    // Writes the range group; the status bar says okText or failText.
    void WriteRanges(const char* okText, const char* failText, bool clearEntry);
    // Column of a list view by its caption; -1 when it has none.
    static int ColumnOf(const TListView* lv, const std::string& caption);
    static std::string CellText(const TListItem* item, int column);

    QvWriteSequence writes_;
    // Console writes of the running Apply: off steps still to come, and
    // whether the chosen state follows them.
    int consoleOffLeft_ = 0;
    bool consoleChosen_ = false;
    // What the device holds, as item indices of the console's combo boxes.
    struct ConsoleState {
        int telnet = -1;
        int timeout = -1;
        int ssh = -1;
    } deviceConsole_;
};
