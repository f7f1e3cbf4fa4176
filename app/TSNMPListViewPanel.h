#pragma once
// A table in a list view with add, edit and delete of rows by the RowStatus
// convention: a row is created by writing its index with the status column
// set to the add name, and removed by writing the status column with the
// delete name. Add and edit move the rows of the editor part into a modal
// dialog.
#include "app/TSNMPEditorPanel.h"

#include <string>

class TListViewPanel;
class TListItem;

class TSNMPListViewPanel : public TSNMPEditorPanel {
public:
    TSNMPListViewPanel(TWinControl* owner, QvSNMPRequest2Edits* group);
    ~TSNMPListViewPanel() override;

    TListViewPanel* ListPanel;
    TNotifyEvent OnBeforeAdd;
    TNotifyEvent OnAfterAdd;
    TNotifyEvent OnBeforeEdit;
    TNotifyEvent OnAfterEdit;

    void SetAddStatus(int column, const char* name);
    void SetDeleteStatus(int column, const char* name);

    void RefreshList(TObject* sender);
    void EditRow(TObject* sender);
    void AddRow(TObject* sender);
    void DeleteRow(TObject* sender);
    void ListClick(TObject* sender);
    void ListDblClick(TObject* sender);
    void ListMouseMove(TObject* sender, TShiftState shift, int x, int y);

    // The hint for an item: one line per column, caption and value.
    std::string ItemHint(const TListItem* item) const;
    // The add or edit dialog while it is open, else null.
    TForm* Dialog() const { return dialog_; }
    // The panel inside the open dialog, else null.
    TSNMPPanel* DialogPanel() const { return dialogPanel_; }

    static constexpr int kEditWaitMs = 1000;

private:
    enum class DialogKind { Add, Edit };
    void RunDialog(DialogKind kind, TObject* sender);
    std::string HostCaption() const;
    void ShowCount();

    TForm* dialog_ = nullptr;
    TSNMPPanel* dialogPanel_ = nullptr;
};
