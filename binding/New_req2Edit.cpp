#include "binding/New_req2Edit.h"

#include "ui/Application.h"
#include "base/SysUtils.h"

New_req2Edit::New_req2Edit(TWinControl* owner) : QvSNMPRequest2Edits(owner) {}

New_req2Edit::~New_req2Edit() {
    Shutdown();
}

void New_req2Edit::RowReceived() {
    if (!listView_) {
        RequestToControls(-1);
        return;
    }
    // A row whose watched variable is missing cannot be judged free: shown.
    const bool watched = watchedIndex >= 0 && watchedIndex < request.vars.Count();
    if (watched && *request.vars.Item(watchedIndex)->Value == stopValue) return;
    AppendRow();
    ++rowNumber;
    Application->ProcessMessages();
}

void New_req2Edit::AppendRow() {
    if (listView_) AddRow(IntToStr(rowNumber));
}
