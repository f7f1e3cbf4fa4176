#pragma once
// Advanced \ DHCP Server: the server's function, its dynamic pool, the
// static pool (an address per MAC address, edited in TFM_StaticIP) and the
// leases handed out.
#include <cstdint>
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TComboBox;
class TEdit;
class TLabel;
class TListView;
class TPageControl;
class TStatusBar;
class TTabSheet;
class TTimer;
class New_req2Edit;
class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;
class TFM_StaticIP;
struct QvSNMPError;

class TFM_DHCP : public TForm {
public:
    explicit TFM_DHCP(TComponent* owner);
    ~TFM_DHCP() override;

    TPageControl* PageControl1 = nullptr;
    TTabSheet* TabSheet1 = nullptr;
    TTabSheet* TabSheet2 = nullptr;
    TTabSheet* TabSheet3 = nullptr;

    // Dynamic pool page.
    TComboBox* CB_Fuction1 = nullptr;
    TEdit* Ed_IPAF = nullptr;
    TEdit* Ed_PoolRan = nullptr;
    TEdit* Ed_SubMask = nullptr;
    TEdit* Ed_Gateway = nullptr;
    TEdit* Ed_Wins = nullptr;
    TEdit* Ed_DNS = nullptr;
    TEdit* Ed_DomNa = nullptr;
    TEdit* Ed_Lease = nullptr;
    TComboBox* CB_Status = nullptr;
    TButton* Bt_Apply = nullptr;
    TButton* Bt_Cancel = nullptr;
    TStatusBar* StatusBar1 = nullptr;
    TEdit* Ed_ext = nullptr; // the device's own address
    TEdit* IPTemp = nullptr;
    TButton* Bt_Refresh = nullptr;

    // Static pool page.
    TComboBox* CB_Fuction2 = nullptr;
    TListView* LV_StaticPoolSet = nullptr;
    TListView* User_ListView = nullptr;
    TButton* Bt_Rfrsh = nullptr;
    TButton* Bt_Add = nullptr;
    TButton* Bt_Set = nullptr;
    TButton* Bt_Del = nullptr;
    TButton* StaticApply = nullptr;
    TStatusBar* StatusBar2 = nullptr;

    // Current mappings page.
    TListView* LV_DynPool = nullptr;
    TButton* Bt_RefreshDynamicPool = nullptr;
    TStatusBar* StatusBar3 = nullptr;
    TListView* LV_StaticPool = nullptr;
    TButton* Bt_RefreshStaticPool = nullptr;
    TStatusBar* StatusBar4 = nullptr;
    TTimer* Timer = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> PoolRequest;
    std::unique_ptr<QvSNMPRequest2Edits> FunctionRequest;
    std::unique_ptr<QvSNMPRequest2Edits> StaticPoolRequest;
    std::unique_ptr<New_req2Edit> StaticListRequest;
    std::unique_ptr<New_req2Edit> CurrentDynamicRequest;
    std::unique_ptr<New_req2Edit> CurrentStaticRequest;
    std::unique_ptr<QvSNMPRequest2Edits> SystemAddressRequest;

    // A static-pool write is running (add, set or delete).
    bool StaticOperationRunning = false;
    // The static lists are read again once the static pool read completes.
    bool RefreshListsPending = false;

    void FormCreate(TObject* sender);
    void CB_Fuction1Change(TObject* sender);
    void CB_Fuction2Change(TObject* sender);
    void Bt_ApplyClick(TObject* sender);
    void Bt_CancelClick(TObject* sender);
    void Bt_AddClick(TObject* sender);
    void Bt_SetClick(TObject* sender);
    void Bt_DelClick(TObject* sender);
    void StaticApplyClick(TObject* sender);
    void Bt_RfrshClick(TObject* sender);
    void Bt_RefreshClick(TObject* sender);
    void Bt_RefreshDynamicPoolClick(TObject* sender);
    void Bt_RefreshStaticPoolClick(TObject* sender);
    void User_ListViewSelectItem(TObject* sender, class TListItem* item, bool selected);
    void PageControl1Change(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void TimerTimer(TObject* sender);

    // The DHCP form's variant: a part that is no number makes the result -1.
    static std::uint32_t IpEditToNumber(const TEdit* edit);
    // False when an address of User_ListView lies in the dynamic pool.
    bool StaticPoolOutsideDynamicPool();
    void UpdateFieldState();
    // Any of the form's requests has a reply outstanding.
    bool AnyBusy() const;
    // Reads the static pool and, when that completes, the static lists.
    void RefreshStaticLists();
    // The row of LV_StaticPoolSet whose IP column holds ip, or -1.
    int StaticRowOfIP(const std::string& ip) const;
    // Puts the free-row values into the entry dialog's controls.
    void PutFreeRowValues();
    // Reads the numbered static list again (the table itself is current).
    void ReadStaticLists();

    // A refused write's text in the pages' status panels, in place of the
    // last read's result.
    void ShowWriteFailure(const QvSNMPError& failure, bool staticPage);
    // Add, Set and Del can work: the function and the table were read and
    // the function is on.
    bool CanEditStaticPool() const;

private:
    // Waits (bounded) for the numbered static list; false when it is not read.
    bool StaticListKnown();
    // The device's own address was read (once more now if it was not).
    bool SystemAddressKnown();
    // Starts the added writes; a refusal shows in the status panels (the
    // static page's too), success waits.
    void StartWrites(bool staticPage);
    void StaticPoolDone(QvSNMPRequest2Controls* sender, QvSNMPError* error, bool write);
    void ShowStaticDialog();
    void ShowListingWait();
    QvWriteSequence writes_;
    // What the device answered when the groups were read.
    bool poolRead_ = false;
    bool functionRead_ = false;
    bool systemRead_ = false;
    bool staticPoolRead_ = false;
    bool staticListRead_ = false;
};

extern TFM_DHCP* FM_DHCP;
