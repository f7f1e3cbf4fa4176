#pragma once
// A generic MIB panel: content (rows or a list view) beside a button column,
// with a message area below the content that receives the group's reports.
#include "ui/Widgets.h"

#include <functional>
#include <string>

class QvSNMPRequest2Edits;
class TCtrlBtnPanel;
class TEditsPanel;
class TForm;
class TMsgPanel;

class TSNMPPanel : public TPanel {
public:
    // Without a shared message panel the panel makes its own.
    TSNMPPanel(TWinControl* owner, TMsgPanel* sharedMsg, QvSNMPRequest2Edits* group);

    QvSNMPRequest2Edits* Group;
    TCtrlBtnPanel* Buttons;
    TPanel* Inner;
    TMsgPanel* Msg;
    TForm* HostForm = nullptr;
    TControl* Content = nullptr;
    TSplitter* Splitter;
    TSplitter* Splitter2;

    // The rows the set buttons work on (null for a panel without rows).
    virtual TEditsPanel* Edits() const { return edits_; }
    void SetEdits(TEditsPanel* edits) { edits_ = edits; }
    bool OwnsMsg() const { return ownMsg_; }

    void Refresh();
    void SetValues(TObject* sender);
    void CheckAll(TObject* sender);
    void ClearChecks(TObject* sender);
    void SetLabelWidth(int width);
    void SetContent(TControl* c);
    void AttachToForm(TForm* form);
    void CloseHostForm(TObject* sender);

    // Runs a synchronous operation of group; a failure, raised or only
    // handed to the result callback, is written to the group's report.
    // True when nothing failed.
    static bool RunReporting(QvSNMPRequest2Edits* group, const std::function<void()>& operation);

    static constexpr int kMaxFormWidth = 800;
    static constexpr int kMaxFormHeight = 550;

private:
    TEditsPanel* edits_ = nullptr;
    bool ownMsg_ = false;
};
