#pragma once
// A list view bound to a table group, with the status column and names that
// add and delete rows.
#include "ui/ListView.h"
#include "ui/Widgets.h"

#include <string>

class QvSNMPRequest2Edits;
class TCtrlBtnPanel;

class TListViewPanel : public TPanel {
public:
    TListViewPanel(TWinControl* owner, QvSNMPRequest2Edits* group);

    static constexpr int kMaxWidth = 450;

    TListView* ListView;
    int DeleteColumn = -1;
    int AddColumn = -1;
    std::string AddStatus;
    std::string DeleteStatus;

    virtual void ArrangeCtrls(TCtrlBtnPanel* buttons);
};
