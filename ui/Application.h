#pragma once
// The application object (Title, ExeName, ProcessMessages, Terminate, Run,
// the exception display) and the services around the loops: posted messages,
// the millisecond tick count, Sleep, Beep and the dispatch guard that every
// event of the layer runs under.
#include "base/Events.h"
#include "ui/Component.h"
#include <cstdint>
#include <exception>
#include <functional>
#include <string>

class TControl;
class TForm;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // Full path of the running executable.
    std::string ExeName() const;

    void Initialize() {}
    // Creates a form owned by the application; the first becomes MainForm.
    template <class T> void CreateForm(T*& ref) {
        ref = new T(this);
        if (!mainForm_) mainForm_ = ref;
        ref->DoCreate();
    }
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }

    // Shows the main form and runs the loop until it closes or Terminate.
    void Run();
    // Handles every pending event and posted message, then returns.
    void ProcessMessages();
    // Ends every running loop (modal ones and the main one); a modal show
    // after it returns at once.
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Undoes Terminate (for tests that run several loops).
    void ResetTerminated() { terminated_ = false; }

    // A box captioned and answered through the message-box entry (IDOK...).
    int MessageBox(const std::string& text, const std::string& caption, unsigned flags = 0);
    // The exception display: the message in a box captioned with Title.
    void ShowException(const std::exception& e);
    // Shows the exception that is being handled (call inside a catch).
    void HandleException();
    // Replaces the exception display when set.
    std::function<void(const std::exception&)> OnException;

    // Loop nesting, for the layer's own loops.
    void EnterLoop(void* loop);
    void LeaveLoop(void* loop);
    // How many of them are running.
    int LoopDepth() const { return static_cast<int>(loops_.size()); }

private:
    std::string title_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    std::vector<void*> loops_;
};

extern TApplication* const Application;

// Runs fn, showing a layer Exception or std::exception through the exception
// display instead of letting it escape. Every event of the layer runs so.
void SafeDispatch(const std::function<void()>& fn);
// Fires a notify event, when one is set, under SafeDispatch.
void SafeNotify(const TNotifyEvent& event, TObject* sender);

// Queues a message for target, delivered in order by the next loop that runs
// (main, modal or ProcessMessages); dropped when the target is gone by then.
bool PostMessage(TControl* target, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam);
// Delivers a message now.
std::intptr_t SendMessage(TControl* target, unsigned msg, std::uintptr_t wparam,
                          std::intptr_t lparam);

// The PC's beep (frequency in Hz, duration in ms); counted for tests.
void Beep(unsigned frequency, unsigned duration);
int BeepCount();
void SetBeepSilent(bool silent);
