#pragma once
// The window that hosts one generic MIB panel for one request group. It
// reads the group once it is on screen and deletes its groups when it
// closes, waiting a bounded time for a read still running.
#include "ui/Form.h"

#include <cstdint>
#include <vector>

class QvSNMPRequest2Edits;
class TSNMPEditorPanel;
class TSNMPListViewPanel;

class TConfigForm : public TForm {
public:
    explicit TConfigForm(TComponent* owner);
    ~TConfigForm() override;

    static constexpr unsigned WM_REFRESH = WM_APP + 1234;

    // The form takes the group over; a second panel is refused.
    TSNMPEditorPanel* AddEditorPanel(QvSNMPRequest2Edits* group);
    // A null name means no add (or delete) button.
    TSNMPListViewPanel* AddListViewPanel(QvSNMPRequest2Edits* group, int addColumn,
                                         const char* addName, int deleteColumn,
                                         const char* deleteName);
    void Refresh();
    void Dispatch(TMessage& message) override;
    void FormClose(TObject* sender, TCloseAction& action);

    std::uint8_t FormType() const { return formType_; }
    const std::vector<QvSNMPRequest2Edits*>& Groups() const { return groups_; }
    QvSNMPRequest2Edits* CurrentGroup() const { return current_; }

private:
    void ReleaseGroups();
    void TakeGroup(QvSNMPRequest2Edits* group, std::uint8_t type);
    void GrowClientTo(const TControl* panel);

    std::uint8_t formType_ = 0;
    std::vector<QvSNMPRequest2Edits*> groups_;
    QvSNMPRequest2Edits* current_ = nullptr;
    bool refreshDeferred_ = false;
};
