#pragma once
// The button column of a generic MIB panel: a row counter with its "Samples"
// caption above the buttons, stacked top to bottom with hidden ones taking
// no room.
#include "ui/Widgets.h"

#include <string>
#include <vector>

class TCtrlBtnPanel : public TPanel {
public:
    explicit TCtrlBtnPanel(TWinControl* owner);

    TLabel* SamplesLabel;
    TStaticText* Counter;
    TBitBtn* RefreshBtn;
    TBitBtn* EditBtn;
    TBitBtn* SetCheckedBtn;
    TBitBtn* AddBtn;
    TBitBtn* DeleteBtn;
    TBitBtn* CheckAllBtn;
    TBitBtn* ClearChecksBtn;
    TBitBtn* CloseBtn;
    int LeftMargin = 10;
    int TopMargin = 10;
    // Stacking order: counter, "Samples", then the buttons.
    std::vector<TControl*> Stack;

    void ArrangeButtons();
    // Height the stacked controls need, top and bottom margin included.
    int StackHeight() const { return stackHeight_; }
    // Buttons whose picture file lies in folder show the picture instead of
    // their caption.
    void LoadPictures(const std::string& folder);

private:
    int stackHeight_ = 0;
};
