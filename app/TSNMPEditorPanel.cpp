#include "app/TSNMPEditorPanel.h"

#include "app/TCtrlBtnPanel.h"
#include "app/TEditsPanel.h"

TSNMPEditorPanel::TSNMPEditorPanel(TWinControl* owner, QvSNMPRequest2Edits* group)
    : TSNMPPanel(owner, nullptr, group) {
    EditsPanel = new TEditsPanel(Inner, group);
    SetEdits(EditsPanel);
    Buttons->SetCheckedBtn->OnClick = [this](TObject* s) { SetValues(s); };
    Buttons->SetCheckedBtn->SetEnabled(false);
    Buttons->CheckAllBtn->OnClick = [this](TObject* s) { CheckAll(s); };
    Buttons->ClearChecksBtn->OnClick = [this](TObject* s) { ClearChecks(s); };
    EditsPanel->ArrangeCtrlBtn(Buttons);
    SetContent(EditsPanel);
}
