#include "app/TMsgPanel.h"

TMsgPanel::TMsgPanel(TWinControl* owner) : TPanel(owner) {
    SetBevelOuter(bvNone);
    SetHeight(50);
    Memo = new TMemo(this);
    Memo->SetReadOnly(true);
    Memo->SetScrollBars(ssVertical);
    Memo->SetAlign(alClient);
}
