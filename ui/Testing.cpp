#include "ui/Testing.h"

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Timer.h"

int RecordingMessageSink::Show(const BoxRequest& r) {
    RecordedBox box{r.kind, r.text, r.caption, r.buttons, r.type, r.helpContext, 0, false};
    if (!script_.empty()) {
        box.answer = script_.front();
        script_.pop_front();
    } else {
        // Nothing scripted: the careful answer, and a question is noted.
        box.answer = r.EscapeAnswer();
        box.unexpected = !r.OkOnly();
    }
    boxes_.push_back(box);
    if (OnBox) OnBox(boxes_.back());
    return box.answer;
}

int RecordingMessageSink::UnexpectedCount() const {
    int n = 0;
    for (const auto& b : boxes_)
        n += b.unexpected ? 1 : 0;
    return n;
}

std::vector<std::string> RecordingMessageSink::Texts() const {
    std::vector<std::string> v;
    for (const auto& b : boxes_)
        v.push_back(b.text);
    return v;
}

bool RecordingFileDialogSink::Choose(const FileDialogRequest& request, std::string& fileName) {
    requests_.push_back(request);
    if (script_.empty()) {
        ++unexpected_;
        return false;
    }
    const std::string answer = script_.front();
    script_.pop_front();
    if (answer == std::string(1, '\0')) return false;
    fileName = answer;
    return true;
}

UiTestSession::UiTestSession() {
    oldBoxes_ = SetMessageSink(&boxes_);
    oldFiles_ = SetFileDialogSink(&files_);
    beepsAtStart_ = BeepCount();
    SetBeepSilent(true);
    timersWereFrozen_ = TTimer::Frozen();
    SetModalHook([this](TForm* form) {
        ++modalShows_;
        if (!next_.empty()) {
            ModalHook hook = std::move(next_.front());
            next_.pop_front();
            hook(form);
        } else if (hook_) {
            hook_(form);
        }
    });
    SetModalTimeoutMs(10000);
}

UiTestSession::~UiTestSession() {
    SetModalHook(nullptr);
    SetModalTimeout(0, nullptr);
    SetMessageSink(oldBoxes_);
    SetFileDialogSink(oldFiles_);
    SetBeepSilent(false);
    TTimer::SetFrozen(timersWereFrozen_);
    if (fakeClock_) {
        SetTickCountSource(nullptr);
        SetSleepHandler(nullptr);
    }
}

void UiTestSession::OnModal(ModalHook hook) {
    hook_ = std::move(hook);
}
void UiTestSession::NextModal(ModalHook hook) {
    next_.push_back(std::move(hook));
}

void UiTestSession::SetModalTimeoutMs(int ms) {
    SetModalTimeout(ms, [this](TForm* form) {
        const std::string caption = form ? form->Caption() : std::string();
        timedOut_.push_back(caption);
        if (OnTimeout) OnTimeout(caption);
    });
}

void UiTestSession::UseFakeClock(std::uint32_t start) {
    fakeClock_ = true;
    now_ = start;
    SetTickCountSource([this] { return now_; });
    SetSleepHandler([this](std::uint32_t ms) {
        now_ += ms;
        slept_ += ms;
    });
}

void UiTestSession::FreezeTimers(bool frozen) {
    TTimer::SetFrozen(frozen);
}

int UiTestSession::Beeps() const {
    return BeepCount() - beepsAtStart_;
}
