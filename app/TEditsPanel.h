#pragma once
// One labelled row per variable of a request group, in a scroll box: a check
// box that selects the row for a write, the label and the value control (an
// edit, or a combo box for a writable enumeration).
#include "ui/Widgets.h"

#include <cstdint>
#include <vector>

class QvSNMPRequest2Edits;
class TCtrlBtnPanel;

struct PanelRow {
    int kind = 0; // 1 read-only edit, 2 writable edit, 3 combo box, 4 read-only option name
    const char* format = "%s";
    TWinControl* value = nullptr; // TEdit or TComboBox
    TCheckBox* check = nullptr;
    TLabel* label = nullptr;
    bool writableLook = false;
};

class TEditsPanel : public TPanel {
public:
    TEditsPanel(TWinControl* owner, QvSNMPRequest2Edits* group);

    static constexpr int kMaxWritableLength = 42;

    std::vector<PanelRow> Rows; // in list order; no end marker
    int ValueWidth = 121;
    TColor ReadOnlyFontColor = clBlack;
    TColor ReadOnlyColor = clBtnFace;
    QvSNMPRequest2Edits* Group;
    std::uint8_t DefaultCheck = 0;
    TScrollBox* Box;

    int RowCount() const { return static_cast<int>(Rows.size()); }
    bool IsIndexRow(int r) const;
    bool IsReadOnlyRow(int r) const {
        return Rows[static_cast<size_t>(r)].kind == 1 || Rows[static_cast<size_t>(r)].kind == 4;
    }

    void BuildRows();
    void SetRowsEditable(std::uint8_t checked);
    void MakeRowReadOnly(int r);
    void MakeRowWritable(int r);
    void ArrangeRows(bool resize);
    virtual void ArrangeCtrlBtn(TCtrlBtnPanel* buttons);
    void ClearRows();
    void HideRow(int r);
    void ShowRow(int r);
    void CheckBoxClick(TObject* sender);

    // The button column whose Set Checked the check boxes drive (null: none).
    TCtrlBtnPanel* Buttons() const { return buttons_; }
    void SetButtons(TCtrlBtnPanel* buttons) { buttons_ = buttons; }
    bool AnyShownChecked() const;

private:
    void FitScrollArea();
    TCtrlBtnPanel* buttons_ = nullptr;
};
