#pragma once
// The object through which a form talks to the device: the read and write
// driver with its variables associated to controls (edit boxes, combo boxes,
// radio groups, check boxes, labels, static texts), at most one list view for
// a table, edit constraints, and hooks before and after a read and a write.
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "binding/QvEditConstraint.h"
#include "binding/QvSNMPRequest2Controls.h"
#include "ui/Component.h"

class TControl;
class TComboBox;
class TList;
class TListItem;
class TListView;
class TWinControl;

// One association of a variable with one or more controls.
struct ControlAssociation {
    int variable = 0;
    int offset = 0; // byte offset of the shown part inside the value's image
    int syntax = 0;
    QvOptionList* optionList = nullptr; // explicit list; null: the variable's own
    int controlCount = 0;
    std::vector<int> bitNumbers; // check boxes of AssociateChecks only
    std::vector<TControl*> controls;
    std::vector<TNotifyEvent> savedHandlers; // change handler each control had
};

class QvSNMPRequest2Edits : public QvSNMPRequest2Controls {
public:
    explicit QvSNMPRequest2Edits(TWinControl* owner);
    ~QvSNMPRequest2Edits() override;

    // A form's own code around reads and writes: at the end of BeforeRead
    // and AfterRead, and from BeforeWrite and AfterWrite.
    std::function<void()> OnBeforeRead;
    std::function<void()> OnBeforeWrite;
    std::function<void()> OnAfterRead;
    std::function<void()> OnAfterWrite;

    void BindListView(TListView* lv, bool selectToEdit);
    TListView* ListView() const { return listView_; }

    void AssociateControl(int i, TControl* c);
    void AssociateControl2(int i, TControl* c) { AssociateControl(i, c); }
    void AssociateComboBox(int i, TComboBox* c);
    void AssociatePart(int i, TControl* c, int n);
    // One control per "%" followed by one of s h i u f n in the format.
    void AssociateEdits(int i, const std::string& format, const std::vector<TControl*>& controls);
    template <class... C> void AssociateEdits(int i, const std::string& format, C*... controls) {
        AssociateEdits(i, format, std::vector<TControl*>{static_cast<TControl*>(controls)...});
    }
    // One check box per listed bit number; bit b is bit 7 - b % 8 of byte b / 8.
    void AssociateChecks(int i, const std::string& bitNumbers, TList* checkBoxes);
    void AssociateChecks(int i, const std::string& bitNumbers,
                         const std::vector<TControl*>& checkBoxes);
    void UnbindVariable(int i);
    void SetConstraintOwner(TWinControl* owner) { constraint_->SetOwner(owner); }
    void EnableControls(bool enabled);

    // i < 0: every variable.
    void RequestToControls(int i);
    void ControlsToRequest(int i);
    void SelectedRowToRequest();

    void OnControlChange(TObject* sender);
    virtual void OnListViewSelect(TObject* sender, TListItem* item, bool selected);

    int AssociationCount() const { return static_cast<int>(associations_.size()); }
    const ControlAssociation* Association(int k) const { return associations_[k].get(); }
    QvEditConstraint& Constraint() { return *constraint_; }

    void BeforeRead() override;
    void BeforeWrite() override;
    void RowReceived() override;
    void CollectValues() override;
    void AfterRead() override;
    void AfterWrite() override;

protected:
    // A failed read disables the group's controls (they hold no value of the
    // device); the next read that succeeds gives them back.
    void ReadEnded() override;

    // Variables in list-view column order: zero-width columns first, then
    // the shown ones.
    std::vector<int> ColumnOrder() const;
    void BuildColumns();
    // One list-view item of the current values in column order; a caption,
    // when given, stands in for the first column's value.
    void AddRow(const std::optional<std::string>& caption = std::nullopt);

    TListView* listView_ = nullptr;
    uint8_t selectToEdit = 1;

private:
    void Store(std::unique_ptr<ControlAssociation> a);
    void TakeOverChange(ControlAssociation& a, size_t k);
    void RestoreChange(ControlAssociation& a, size_t k);
    QvOptionList* ResolveList(const ControlAssociation& a) const;
    // Whether a is still in the list (a change handler may have unbound it).
    bool Bound(const ControlAssociation* a) const;
    void ShowAssociation(const ControlAssociation& a);
    // Nothing for a list without a selection.
    std::optional<QvOctetImage> CollectPart(const ControlAssociation& a, QvOptionList* list);

    std::function<void(TObject*, TListItem*, bool)> savedSelect_;
    // Shared, so that a walk over them survives a handler that unbinds one.
    std::vector<std::shared_ptr<ControlAssociation>> associations_;
    std::unique_ptr<QvEditConstraint> constraint_;
    std::vector<TControl*> disabledByRead_;
};
