#pragma once
// Controls: TControl (every visual element: own Visible/Enabled flags, bounds,
// Align, colour, font, hint, caption/text, messages) and TWinControl (controls
// that hold children and take the focus: tab order, OnEnter/OnExit, keys).
#include "ui/Component.h"
#include "ui/Graphics.h"
#include <cstdint>
#include <memory>

class QWidget;
class TWinControl;
class TForm;

// A window message, posted (PostMessage) or sent (Perform).
struct TMessage {
    unsigned Msg = 0;
    std::uintptr_t WParam = 0;
    std::intptr_t LParam = 0;
    std::intptr_t Result = 0;
};

constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_NEXTDLGCTL = 0x0028; // wparam 0: next control, 1: previous
constexpr unsigned WM_USER = 0x0400;
constexpr unsigned WM_APP = 0x8000;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

using TShiftState = unsigned;
constexpr TShiftState ssShift = 1;
constexpr TShiftState ssAlt = 2;
constexpr TShiftState ssCtrl = 4;
constexpr TShiftState ssLeft = 8;
constexpr TShiftState ssRight = 16;
constexpr TShiftState ssMiddle = 32;

constexpr unsigned short VK_BACK = 0x08;
constexpr unsigned short VK_TAB = 0x09;
constexpr unsigned short VK_RETURN = 0x0D;
constexpr unsigned short VK_ESCAPE = 0x1B;
constexpr unsigned short VK_SPACE = 0x20;
constexpr unsigned short VK_PRIOR = 0x21;
constexpr unsigned short VK_NEXT = 0x22;
constexpr unsigned short VK_END = 0x23;
constexpr unsigned short VK_HOME = 0x24;
constexpr unsigned short VK_LEFT = 0x25;
constexpr unsigned short VK_UP = 0x26;
constexpr unsigned short VK_RIGHT = 0x27;
constexpr unsigned short VK_DOWN = 0x28;
constexpr unsigned short VK_INSERT = 0x2D;
constexpr unsigned short VK_DELETE = 0x2E;
constexpr unsigned short VK_F1 = 0x70;

// key: the typed character; a handler sets it to 0 to swallow the key.
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;
using TKeyEvent = std::function<void(TObject* sender, unsigned short& key, TShiftState shift)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// Runs before the control's own handling; handled = true stops it there.
using TMessageEvent = std::function<void(TMessage& message, bool& handled)>;

class TControl : public TComponent {
public:
    // A windowed owner also becomes the parent; change it with SetParent.
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    // The control's own flags, as set on it (also before its window shows).
    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    // Visible together with every parent, and the form on screen.
    bool Showing() const;

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetLeft(int v);
    void SetTop(int v);
    void SetWidth(int v);
    void SetHeight(int v);
    virtual void SetBounds(int left, int top, int width, int height);
    virtual int ClientWidth() const { return Width(); }
    virtual int ClientHeight() const { return Height(); }
    virtual void SetClientWidth(int v) { SetWidth(v); }
    virtual void SetClientHeight(int v) { SetHeight(v); }

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }

    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool on);

    // Caption and Text are the same window text, as in the class library.
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& text) { SetTextValue(text); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& text) { SetTextValue(text); }

    void BringToFront();
    void SendToBack();
    void Invalidate();
    void Repaint();
    void Update();
    void Refresh() { Repaint(); }

    // Messages: PostMessage delivers through Dispatch; Perform sends at once.
    virtual void Dispatch(TMessage& message);
    virtual void DefaultHandler(TMessage& message);
    std::intptr_t Perform(unsigned msg, std::uintptr_t wparam = 0, std::intptr_t lparam = 0);

    // Fires OnClick as a click of the user would.
    virtual void Click();

    // The form this control sits on (itself for a form), or null.
    TForm* ParentForm() const;

    // The Qt widget behind the control (for code that draws with Qt itself).
    QWidget* Widget() const { return widget_; }
    // The layer's control behind a Qt widget (searching up its parents), or null.
    static TControl* FromWidget(const QWidget* widget);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseMoveEvent OnMouseMove;
    TMessageEvent OnMessage;
    TNotifyEvent OnResize;

    // A process-unique number; posted messages find their target by it.
    std::uint64_t Serial() const { return serial_; }

protected:
    // Derived constructors hand over their widget (the control deletes it).
    void SetWidget(QWidget* widget);
    virtual std::string GetText() const;
    virtual void SetTextValue(const std::string& text);
    virtual void ApplyColor();
    virtual void ApplyFont();
    // The aligned layout of the parent needs to run again.
    void RequestRealign();
    // A widget deleted by someone else (its Qt parent) is no longer ours.
    void ForgetWidget();

private:
    friend class TWinControl;
    QWidget* widget_ = nullptr;
    TWinControl* parent_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    TAlign align_ = alNone;
    TColor color_ = clBtnFace;
    TFont font_;
    std::string hint_;
    bool showHint_ = false;
    std::string text_;
    std::uint64_t serial_ = 0;
};

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const;

    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool on) { tabStop_ = on; }
    // Position among the windowed siblings in tab order (0 first).
    int TabOrder() const;
    void SetTabOrder(int order);

    // Visible and enabled with every parent (a form need not be on screen).
    virtual bool CanFocus() const;
    // Makes this the active control of its form (OnExit/OnEnter fire as the
    // focus moves); nothing happens for a hidden or disabled control.
    virtual void SetFocus();
    // The active control of its form is this one.
    bool Focused() const;
    // Moves the focus from current to the next (or previous) control in tab
    // order among this control's descendants, wrapping round.
    void SelectNext(TWinControl* current, bool forward, bool checkTabStop);
    // The next (or previous) focusable control after current, or null.
    TWinControl* FindNextControl(TWinControl* current, bool forward, bool checkTabStop) const;

    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int w);

    // Lays the aligned children out again (runs on resize by itself).
    void AlignControls();

    void DefaultHandler(TMessage& message) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

    // The widget children are placed in (a scroll box's inner area, say).
    virtual QWidget* ClientWidget() const { return Widget(); }

protected:
    friend class TControl;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Installs key, focus and resize handling on a widget of this control.
    void WatchWidget(QWidget* widget);
    // The widget that takes the keyboard focus for this control.
    virtual QWidget* FocusWidget() const { return Widget(); }

public:
    // The key plumbing: runs the form's preview and this control's handlers;
    // true when a handler swallowed the key (set it to 0).
    bool HandleKeyPress(char& key);
    bool HandleKeyDown(unsigned short& key, TShiftState shift, bool up);
    // A key handler replaced the typed character: the control takes it.
    virtual void TakeReplacedKey(char) {}

private:
    friend class FocusTracker;
    friend class TForm;
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = true;
    int borderWidth_ = 0;
    bool aligning_ = false;
};

// The form a control sits on.
TForm* GetParentForm(const TControl* control);

// A control as forms build them in code: owned by owner (which frees it), on
// parent, at its bounds, with a name and caption when given.
template <class T>
T* NewControl(TComponent* owner, TWinControl* parent, const std::string& name, int left, int top,
              int width, int height, const std::string& caption = "") {
    T* c = new T(owner);
    if (!name.empty()) c->SetName(name);
    c->SetParent(parent);
    c->SetBounds(left, top, width, height);
    if (!caption.empty()) c->SetCaption(caption);
    return c;
}
