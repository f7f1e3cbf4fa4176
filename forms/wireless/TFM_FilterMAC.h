#pragma once
// One band's access-control list: the device's fixed table of MAC entries,
// of which only the used ones are listed (numbered from 1). Add, Set and Del
// edit an entry through TFM_MACAddr; a deleted entry holds the free MAC again.
#include <cstdint>
#include <memory>
#include <string>

#include "binding/QvWriteSequence.h"
#include "ui/Form.h"

class TButton;
class TLabel;
class TListItem;
class TListView;
class TStatusBar;
class New_req2Edit;
class QvSNMPRequest2Controls;
class QvSNMPRequest2Edits;
struct QvSNMPError;

class TFM_FilterMAC : public TForm {
public:
    explicit TFM_FilterMAC(TComponent* owner);
    ~TFM_FilterMAC() override;

    TLabel* Label15 = nullptr;
    TListView* LV_StaticPoolSet = nullptr; // every entry, for editing
    TListView* User_ListView = nullptr;    // the used entries, on top
    TButton* Bt_Add = nullptr;
    TButton* Bt_Set = nullptr;
    TButton* Bt_Del = nullptr;
    TButton* Bt_Rfrsh = nullptr;
    TStatusBar* StatusBar = nullptr;

    std::unique_ptr<QvSNMPRequest2Edits> TableRequest;
    // 1 from a Refresh, an Add or a Delete until the table read that
    // follows completes; the form cannot be closed meanwhile.
    std::uint8_t Busy = 1;
    std::unique_ptr<New_req2Edit> ListRequest;
    // The band shown: 1 or 2, from the filter form's list flags.
    int Band = 1;

    void FormCreate(TObject* sender);
    void Bt_RfrshClick(TObject* sender);
    void Bt_AddClick(TObject* sender);
    void Bt_SetClick(TObject* sender);
    void Bt_DelClick(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormClose(TObject* sender);
    void User_ListViewSelectItem(TObject* sender, TListItem* item, bool selected);
    void LV_StaticPoolSetClick(TObject* sender);
    void OnTableReadDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);
    void OnTableWriteDone(QvSNMPRequest2Controls* sender, QvSNMPError* error);

    // Writes the entry now in the dialog's controls (the selected row);
    // done hears whether it went through.
    bool WriteEntry(QvWriteSequence::Done done);
    // A request of the form has a reply outstanding.
    bool AnyOutstanding() const;

private:
    // The row of LV_StaticPoolSet whose MAC is mac, or -1.
    int RowOfMac(const std::string& mac) const;
    // Selects row k of LV_StaticPoolSet, its number and MAC going into the
    // entry dialog.
    void SelectEntry(int row);
    // The buttons as a completed table read leaves them.
    void ShowIdleButtons();
    void SetStatus(const std::string& text);
    // An operation that set Busy ended without a table read to follow.
    void EndOperation();
    QvWriteSequence writes_;
};

extern TFM_FilterMAC* FM_FilterMAC;
