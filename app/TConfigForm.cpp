#include "app/TConfigForm.h"

#include "app/TSNMPEditorPanel.h"
#include "app/TSNMPListViewPanel.h"
#include "base/Exception.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "binding/QvWaitIdle.h"
#include "ui/Application.h"

#include <algorithm>

namespace {
// The longest a close waits for a read still running.
constexpr std::uint32_t kCloseWaitMs = 500;
} // namespace

TConfigForm::TConfigForm(TComponent* owner) : TForm(owner) {
    SetCaption("ConfigForm");
    SetBorderIcons(biSystemMenu | biMinimize);
    SetPosition(poMainFormCenter);
    OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
    // Handled by the modal loop, so the panel has been added by then.
    PostMessage(this, WM_REFRESH, 0, 0);
    OnShow = [this](TObject*) {
        // A refresh that came before the form was on screen is repeated now.
        if (refreshDeferred_) {
            refreshDeferred_ = false;
            PostMessage(this, WM_REFRESH, 0, 0);
        }
    };
}

TConfigForm::~TConfigForm() {
    // A form freed without closing (or closed by force) still ends its reads.
    ReleaseGroups();
}

void TConfigForm::TakeGroup(QvSNMPRequest2Edits* group, std::uint8_t type) {
    if (formType_ != 0) throw Exception("Can not change Type of a Config Form!");
    formType_ = type;
    groups_.push_back(group);
}

void TConfigForm::GrowClientTo(const TControl* panel) {
    if (ClientWidth() < panel->Width()) SetClientWidth(panel->Width());
    if (ClientHeight() < panel->Height()) SetClientHeight(panel->Height());
}

TSNMPEditorPanel* TConfigForm::AddEditorPanel(QvSNMPRequest2Edits* group) {
    TakeGroup(group, 1);
    auto* panel = new TSNMPEditorPanel(this, group);
    panel->AttachToForm(this);
    GrowClientTo(panel);
    return panel;
}

TSNMPListViewPanel* TConfigForm::AddListViewPanel(QvSNMPRequest2Edits* group, int addColumn,
                                                  const char* addName, int deleteColumn,
                                                  const char* deleteName) {
    TakeGroup(group, 2);
    auto* panel = new TSNMPListViewPanel(this, group);
    panel->AttachToForm(this);
    if (addName) panel->SetAddStatus(addColumn, addName);
    if (deleteName) panel->SetDeleteStatus(deleteColumn, deleteName);
    GrowClientTo(panel);
    return panel;
}

void TConfigForm::Refresh() {
    QvSNMPRequest2Edits* group = nullptr;
    switch (formType_) {
    case 0:
        return;
    case 1:
    case 2:
        group = groups_.empty() ? nullptr : groups_.front();
        break;
    default:
        throw Exception("Refresh a Form with unknown Form Type!");
    }
    if (!group) return;
    if (current_) current_->request.Alive = 0;
    current_ = group;
    current_->request.Alive = 1;
    current_->Read();
}

void TConfigForm::Dispatch(TMessage& message) {
    if (message.Msg != WM_REFRESH) {
        TForm::Dispatch(message);
        return;
    }
    if (!IsShown()) {
        refreshDeferred_ = true;
        return;
    }
    Refresh();
}

void TConfigForm::FormClose(TObject*, TCloseAction&) {
    ReleaseGroups();
}

void TConfigForm::ReleaseGroups() {
    std::vector<QvSNMPRequest2Edits*> groups;
    groups.swap(groups_);
    current_ = nullptr;
    for (QvSNMPRequest2Edits* group : groups) {
        group->request.Alive = 0;
        // A reply about to arrive is taken in; one from a silent device
        // (up to a minute away) is not waited for: its late arrival finds
        // neither the group nor the form.
        if (!WaitWhileBusy(*group, std::min(QvReplyBoundMs(group->request), kCloseWaitMs)))
            group->request.Abandon();
        delete group;
    }
}
