#pragma once
// Forms: top-level windows built in code, shown modeless (Show) or modal
// (ShowModal, which runs a nested loop until ModalResult is set). Close runs
// OnCloseQuery and OnClose. Each form keeps its own active control and fires
// OnEnter/OnExit itself, so a message box or another window taking the
// activation is not an exit.
#include "ui/Control.h"
#include <utility>

class TMainMenu;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;

enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

using TBorderIcons = unsigned;
constexpr TBorderIcons biSystemMenu = 1;
constexpr TBorderIcons biMinimize = 2;
constexpr TBorderIcons biMaximize = 4;
constexpr TBorderIcons biHelp = 8;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TForm : public TWinControl {
public:
    // The owner (the application object or another form) frees the form; a
    // form never has a parent control.
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // Fires OnCreate once (with the dispatch guard). Forms made by
    // TApplication::CreateForm or NewForm get it by themselves; a form class
    // that installs OnCreate in its constructor may call it at its end.
    void DoCreate();
    // Fires OnDestroy once; derived destructors may call it first thing.
    void DoDestroy();

    void SetVisible(bool visible) override;
    void Close();
    // Shows the form modal and runs a loop until ModalResult is set (or the
    // application terminates: then it returns mrCancel at once).
    TModalResult ShowModal();
    bool Modal() const { return modal_; }
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult mr);
    // Runs OnCloseQuery; true when the form may close.
    bool CloseQuery();
    // Frees the form once the current handler has returned.
    void Release();

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);

    TPosition Position() const { return position_; }
    void SetPosition(TPosition p) { position_ = p; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool on) { keyPreview_ = on; }
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    void SetBounds(int left, int top, int width, int height) override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientWidth(int v) override;
    void SetClientHeight(int v) override;

    // On screen (shown and not closed).
    bool IsShown() const;
    // The form is the application's active window.
    bool Active() const;

    QWidget* ClientWidget() const override { return client_; }

    // What a dialog built in code starts with; a client size of 0 is left
    // as it is.
    struct Frame {
        std::string name;
        std::string caption;
        TFormBorderStyle border = bsDialog;
        TPosition position = poMainFormCenter;
        int clientWidth = 0;
        int clientHeight = 0;
    };
    void SetFrame(const Frame& frame);

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnDestroy;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

    // Every form that exists, in creation order.
    static std::vector<TForm*> Forms();

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;

private:
    friend class TControl;
    friend class FormWidget;
    friend class TApplication;
    // The close box: true when the window may go.
    bool CloseFromUser();
    // Runs OnClose; false when the action is caNone.
    bool DoClose(TCloseAction& action);
    void PlaceOnShow();
    void MoveFocus(TWinControl* target);
    void ControlGone(TControl* control);
    std::string caption_;
    TWinControl* activeControl_ = nullptr;
    TWinControl* exitRedirect_ = nullptr;
    bool inExit_ = false;
    bool created_ = false;
    bool destroyed_ = false;
    bool modal_ = false;
    bool shown_ = false;
    bool forceClose_ = false;
    TModalResult modalResult_ = mrNone;
    TPosition position_ = poDesigned;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    bool keyPreview_ = false;
    TMainMenu* menu_ = nullptr;
    QWidget* client_ = nullptr;
    void* loop_ = nullptr; // the running modal loop
};

// Creates a form and fires its OnCreate.
template <class T, class... Args> T* NewForm(Args&&... args) {
    T* form = new T(std::forward<Args>(args)...);
    form->DoCreate();
    return form;
}
