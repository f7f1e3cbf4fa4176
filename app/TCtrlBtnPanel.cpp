#include "app/TCtrlBtnPanel.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr int kControlWidth = 96;
constexpr int kGap = 5;

TBitBtn* NewButton(TCtrlBtnPanel* owner, const char* caption) {
    auto* b = new TBitBtn(owner);
    b->SetCaption(caption);
    return b;
}

} // namespace

TCtrlBtnPanel::TCtrlBtnPanel(TWinControl* owner) : TPanel(owner) {
    SetBevelOuter(bvNone);
    SamplesLabel = new TLabel(this);
    SamplesLabel->SetCaption("Samples");
    Counter = new TStaticText(this);
    Counter->SetCaption("0");
    RefreshBtn = NewButton(this, "Refresh");
    EditBtn = NewButton(this, "Edit");
    SetCheckedBtn = NewButton(this, "Set Checked");
    AddBtn = NewButton(this, "Add");
    DeleteBtn = NewButton(this, "Delete");
    CheckAllBtn = NewButton(this, "Check All");
    ClearChecksBtn = NewButton(this, "Clear Checks");
    CloseBtn = NewButton(this, "Close");
    Stack = {Counter, SamplesLabel, RefreshBtn,  EditBtn,        SetCheckedBtn,
             AddBtn,  DeleteBtn,    CheckAllBtn, ClearChecksBtn, CloseBtn};
    std::error_code ec;
    LoadPictures(std::filesystem::current_path(ec).string());
    // Counter and caption are as wide as the buttons, their text centred.
    SamplesLabel->SetAutoSize(false);
    SamplesLabel->SetAlignment(taCenter);
    Counter->SetAutoSize(false);
    Counter->SetAlignment(taCenter);
    Counter->SetBorderStyle(sbsSunken);
    AddBtn->Hide();
    DeleteBtn->Hide();
    ArrangeButtons();
    SamplesLabel->SetWidth(RefreshBtn->Width());
    Counter->SetWidth(RefreshBtn->Width());
    SetWidth(2 * LeftMargin + RefreshBtn->Width());
    SetParent(owner);
    SetAlign(alRight);
}

void TCtrlBtnPanel::LoadPictures(const std::string& folder) {
    if (folder.empty()) return;
    const std::pair<TBitBtn*, const char*> pictures[] = {{RefreshBtn, "Get.bmp"},
                                                         {EditBtn, "Set.bmp"},
                                                         {SetCheckedBtn, "SetCheck.bmp"},
                                                         {AddBtn, "Add.bmp"},
                                                         {DeleteBtn, "Delete.bmp"},
                                                         {CheckAllBtn, "SelectAll.bmp"},
                                                         {ClearChecksBtn, "SelectNone.bmp"},
                                                         {CloseBtn, "Close.bmp"}};
    for (const auto& [button, name] : pictures) {
        const std::filesystem::path file = std::filesystem::path(folder) / name;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec)) continue;
        // A file that is no picture leaves the caption, so the button still reads.
        if (button->LoadGlyph(file.string())) button->SetCaption("");
    }
}

void TCtrlBtnPanel::ArrangeButtons() {
    int y = TopMargin;
    for (TControl* c : Stack) {
        c->SetWidth(kControlWidth);
        c->SetLeft(LeftMargin);
        c->SetTop(y);
        if (c->Visible()) y = c->Top() + c->Height() + kGap;
    }
    stackHeight_ = y - kGap + TopMargin;
}
