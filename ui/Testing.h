#pragma once
// Seams for headless tests: a recording message sink with scripted answers,
// a recording file-dialog sink, the modal hook with its safety time-out, a
// fake clock for GetTickCount/Sleep, frozen timers and counted beeps.
// UiTestSession installs all of them and puts the real ones back at its end.
#include "ui/Dialogs.h"
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class TForm;

struct RecordedBox {
    BoxKind kind;
    std::string text;
    std::string caption;
    TMsgDlgButtons buttons;
    TMsgDlgType type;
    int helpContext;
    int answer;      // the modal result returned
    bool unexpected; // a question no scripted answer was left for
};

// Keeps every box in order. Answers come from the script, first in first
// out; with nothing scripted an OK-only box gets OK and a question Cancel (or
// No when it has no Cancel), and is recorded as unexpected.
class RecordingMessageSink : public MessageSink {
public:
    int Show(const BoxRequest& request) override;
    void Answer(int modalResult) { script_.push_back(modalResult); }
    const std::vector<RecordedBox>& Boxes() const { return boxes_; }
    int Count() const { return static_cast<int>(boxes_.size()); }
    const RecordedBox& Last() const { return boxes_.back(); }
    int UnexpectedCount() const;
    int ScriptLeft() const { return static_cast<int>(script_.size()); }
    // The texts of the boxes, in order.
    std::vector<std::string> Texts() const;
    void Clear() {
        boxes_.clear();
        script_.clear();
    }
    // Called for each box after it is recorded (a test may act on it).
    std::function<void(const RecordedBox&)> OnBox;

private:
    std::vector<RecordedBox> boxes_;
    std::deque<int> script_;
};

// Answers file dialogs from scripted names; none left means cancelled.
class RecordingFileDialogSink : public FileDialogSink {
public:
    bool Choose(const FileDialogRequest& request, std::string& fileName) override;
    void Answer(const std::string& fileName) { script_.push_back(fileName); }
    void Cancel() { script_.push_back(std::string(1, '\0')); }
    const std::vector<FileDialogRequest>& Requests() const { return requests_; }
    int UnexpectedCount() const { return unexpected_; }

private:
    std::vector<FileDialogRequest> requests_;
    std::deque<std::string> script_;
    int unexpected_ = 0;
};

// Called once each modal form's loop is running (from inside the loop).
using ModalHook = std::function<void(TForm* form)>;
void SetModalHook(ModalHook hook);
// A modal loop still open after ms of real time is closed by force and
// reported to the handler (ms 0 turns the time-out off).
void SetModalTimeout(int ms, std::function<void(TForm* form)> onTimeout);

class UiTestSession {
public:
    UiTestSession();
    ~UiTestSession();
    UiTestSession(const UiTestSession&) = delete;
    UiTestSession& operator=(const UiTestSession&) = delete;

    RecordingMessageSink& Boxes() { return boxes_; }
    RecordingFileDialogSink& Files() { return files_; }

    // The hook for every modal form shown while the session lasts.
    void OnModal(ModalHook hook);
    // One-shot hooks, used in order, before the OnModal one.
    void NextModal(ModalHook hook);
    int ModalShows() const { return modalShows_; }
    void SetModalTimeoutMs(int ms);
    int ModalTimeouts() const { return static_cast<int>(timedOut_.size()); }
    // The captions of the forms the time-out closed.
    const std::vector<std::string>& TimedOutForms() const { return timedOut_; }
    // Called for each time-out (a test framework fails the test here).
    std::function<void(const std::string& caption)> OnTimeout;

    // GetTickCount reads this clock; Sleep advances it.
    void UseFakeClock(std::uint32_t start = 0);
    void Advance(std::uint32_t ms) { now_ += ms; }
    std::uint32_t Now() const { return now_; }
    std::uint64_t SleptMs() const { return slept_; }

    // Timers tick only through TTimer::Fire while frozen.
    void FreezeTimers(bool frozen = true);
    // Beeps counted since the session began.
    int Beeps() const;

private:
    RecordingMessageSink boxes_;
    RecordingFileDialogSink files_;
    MessageSink* oldBoxes_ = nullptr;
    FileDialogSink* oldFiles_ = nullptr;
    ModalHook hook_;
    std::deque<ModalHook> next_;
    int modalShows_ = 0;
    std::vector<std::string> timedOut_;
    std::uint32_t now_ = 0;
    std::uint64_t slept_ = 0;
    bool fakeClock_ = false;
    int beepsAtStart_ = 0;
    bool timersWereFrozen_ = false;
};
