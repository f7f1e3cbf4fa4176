#pragma once
// The everyday controls: labels and static texts, edit boxes and memos, combo
// boxes, check boxes, radio buttons and radio groups, buttons, list boxes,
// group boxes, panels, scroll boxes, splitters, shapes and images.
//
// Events follow the class library's rules: a user action fires the change or
// click event; setting a property from code fires only where the original did
// (an edit's different Text, a check box's different Checked, a radio group's
// different ItemIndex), never for combo boxes, list boxes or Items.
#include "ui/Control.h"
#include "ui/Strings.h"

class QString;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QComboBox;
class QCheckBox;
class QRadioButton;
class QPushButton;
class QListWidget;
class QGroupBox;
class QFrame;
class QScrollArea;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// A caption without a window of its own in the original (not focusable).
class TLabel;
// A label on parent with its caption at left/top; it takes the size of its
// caption. owner frees it.
TLabel* NewLabel(TComponent* owner, TWinControl* parent, const std::string& caption, int left,
                 int top, const std::string& name = "");

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* owner);
    void SetBounds(int left, int top, int width, int height) override;
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on);
    // The control that an accelerator of the caption focuses.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* c) { focusControl_ = c; }

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyColor() override;
    void ApplyFont() override;

private:
    void Fit();
    QLabel* label_;
    std::string caption_;
    bool autoSize_ = true;
    bool wordWrap_ = false;
    bool transparent_ = true;
    TAlignment alignment_ = taLeftJustify;
    TWinControl* focusControl_ = nullptr;
};

enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };

// A caption in a window of its own.
class TStaticText : public TWinControl {
public:
    explicit TStaticText(TComponent* owner);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    TStaticBorderStyle BorderStyle() const { return border_; }
    void SetBorderStyle(TStaticBorderStyle s);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyFont() override;

private:
    void Fit();
    QLabel* label_;
    std::string caption_;
    bool autoSize_ = true;
    TStaticBorderStyle border_ = sbsNone;
    TAlignment alignment_ = taLeftJustify;
};

// A one-line edit box. OnChange fires for typing and pasting, and for a text
// set from code that differs from the current one. MaxLength limits typing
// only: a longer text set from code stays whole.
class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    ~TEdit() override;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length); // 0: no limit
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c);
    bool AutoSelect() const { return autoSelect_; }
    void SetAutoSelect(bool on) { autoSelect_ = on; }
    bool Modified() const { return modified_; }
    void SetModified(bool on) { modified_ = on; }
    int SelStart() const;
    void SetSelStart(int pos);
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    void SelectAll();
    void Clear() { SetText(""); }
    int GetTextLen() const { return static_cast<int>(GetText().size()); }

    TNotifyEvent OnChange;

    // Types text at the cursor as the user would (key events, MaxLength and
    // OnKeyPress apply; OnChange fires per character).
    void TypeText(const std::string& text);
    // Replaces the selection as a paste would (one OnChange).
    void PasteText(const std::string& text);

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyColor() override;
    void ApplyFont() override;

    void TakeReplacedKey(char key) override;

private:
    friend class EditHooks;
    void UserEdited();
    QLineEdit* edit_;
    bool readOnly_ = false;
    int maxLength_ = 0;
    char passwordChar_ = 0;
    bool autoSelect_ = true;
    bool modified_ = false;
    std::string lastText_;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A multi-line edit; Lines holds its text line by line.
class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* owner);
    ~TMemo() override;

    TStrings& Lines() { return *lines_; }
    const TStrings& Lines() const { return *lines_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool on);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length) { maxLength_ = length; }
    void Clear() { lines_->Clear(); }

    TNotifyEvent OnChange;

    void TypeText(const std::string& text);

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyColor() override;
    void ApplyFont() override;

private:
    friend class MemoLines;
    QPlainTextEdit* memo_;
    std::unique_ptr<TStrings> lines_;
    bool readOnly_ = false;
    bool wordWrap_ = true;
    TScrollStyle scrollBars_ = ssNone;
    int maxLength_ = 0;
    bool settingFromCode_ = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

// A combo box. OnChange fires only for the user's choice or typing; ItemIndex,
// Text and Items set from code fire nothing.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style);
    TStrings& Items() { return *items_; }
    const TStrings& Items() const { return *items_; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool on);
    void Clear();

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect; // after the user chose an item, following OnChange
    TNotifyEvent OnDropDown;

    // The user picks item index (OnChange, then OnSelect, fire).
    void ChooseItem(int index);
    // The user types into an editable combo box (OnChange per character).
    void TypeText(const std::string& text);

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyColor() override;
    void ApplyFont() override;
    QWidget* FocusWidget() const override;

private:
    friend class ComboItems;
    void UserChose(int index);
    void UserEdited();
    void SyncEditHooks();
    void SetEditPart(const QString& text);
    QComboBox* combo_;
    std::unique_ptr<TStrings> items_;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    int maxLength_ = 0;
    bool sorted_ = false;
    std::string editText_; // the edit part's text as last set or typed
};
using TCustomComboBox = TComboBox;

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box: OnClick for a click or space, and for Checked set from code to
// a different state.
class TCheckBox : public TWinControl {
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const;
    void SetChecked(bool on);
    TCheckBoxState State() const;
    void SetState(TCheckBoxState s);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool on);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a) { alignment_ = a; }
    // Toggles as a click of the user would.
    void Click() override;

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyFont() override;

private:
    QCheckBox* box_;
    bool allowGrayed_ = false;
    TAlignment alignment_ = taRightJustify;
};

// A radio button; the buttons with the same parent exclude each other.
class TRadioButton : public TWinControl {
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const;
    void SetChecked(bool on);
    void Click() override;

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyFont() override;

private:
    void UncheckSiblings();
    QRadioButton* button_;
};

// A push button; a ModalResult other than mrNone ends its form's modal show.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner);
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int mr) { modalResult_ = mr; }
    bool Default() const { return default_; }
    void SetDefault(bool on);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool on) { cancel_ = on; }
    void Click() override;

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyFont() override;
    QPushButton* button_;

private:
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};

enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

// A button with a picture beside its caption.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner);
    // Loads the picture from a bitmap file; false when it cannot be read.
    bool LoadGlyph(const std::string& fileName);
    bool HasGlyph() const { return hasGlyph_; }
    TBitBtnKind Kind() const { return kind_; }
    void SetKind(TBitBtnKind kind);

private:
    TBitBtnKind kind_ = bkCustom;
    bool hasGlyph_ = false;
};

// A list of texts to choose from; ItemIndex set from code fires nothing.
class TListBox : public TWinControl {
public:
    explicit TListBox(TComponent* owner);
    ~TListBox() override;
    TStrings& Items() { return *items_; }
    const TStrings& Items() const { return *items_; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool on);
    bool Selected(int index) const;
    void SetSelected(int index, bool on);
    int SelCount() const;
    bool Sorted() const { return sorted_; }
    void SetSorted(bool on);
    void Clear() { items_->Clear(); }
    int ItemAtPos(int x, int y) const; // -1 when none

    // The user clicks item index (selection follows, OnClick fires).
    void ChooseItem(int index);

protected:
    void ApplyColor() override;
    void ApplyFont() override;

private:
    friend class ListBoxItems;
    QListWidget* list_;
    std::unique_ptr<TStrings> items_;
    bool multiSelect_ = false;
    bool sorted_ = false;
};

// A framed box with a caption around other controls.
class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner);

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyFont() override;

private:
    QGroupBox* box_;
};

// A group of radio buttons made from Items. OnClick fires for the user's
// click and for a different ItemIndex set from code.
class TRadioGroup : public TWinControl {
public:
    explicit TRadioGroup(TComponent* owner);
    ~TRadioGroup() override;
    TStrings& Items() { return *items_; }
    const TStrings& Items() const { return *items_; }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);
    int Columns() const { return columns_; }
    void SetColumns(int n);
    // The user clicks button index.
    void ClickItem(int index);
    // The radio button of an item (for tests and pictures).
    TRadioButton* Buttons(int index) const;

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyFont() override;

private:
    friend class RadioItems;
    void Rebuild();
    void ArrangeButtons();
    QGroupBox* box_;
    std::unique_ptr<TStrings> items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

// A plain container with an optional centred caption and bevels.
class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut b);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut b);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;
    void ApplyColor() override;
    void ApplyFont() override;

private:
    friend class PanelWidget;
    std::string caption_;
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    TAlignment alignment_ = taCenter;
};

// A container that scrolls its children.
class TScrollBox : public TWinControl {
public:
    explicit TScrollBox(TComponent* owner);
    QWidget* ClientWidget() const override { return inner_; }
    int ClientWidth() const override;
    int ClientHeight() const override;
    // Grows the scrolled area to the children's extent.
    void UpdateScrollRange();

private:
    QScrollArea* area_;
    QWidget* inner_;
};

// A bar between aligned controls; dragging it resizes the control it follows.
class TSplitter : public TControl {
public:
    explicit TSplitter(TComponent* owner);
    int MinSize() const { return minSize_; }
    void SetMinSize(int v) { minSize_ = v; }
    // The aligned sibling this splitter resizes, or null.
    TControl* ResizedControl() const;
    // Moves the splitter by delta pixels as a drag would.
    void DragBy(int delta);

private:
    int minSize_ = 30;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

// A filled shape; Brush colour is the fill (the indicators use it).
class TShape : public TControl {
public:
    explicit TShape(TComponent* owner);
    TBrush& Brush() { return brush_; }
    const TBrush& Brush() const { return brush_; }
    TPen& Pen() { return pen_; }
    const TPen& Pen() const { return pen_; }
    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType s);

private:
    TBrush brush_;
    TPen pen_;
    TShapeType shape_ = stRectangle;
};

// A picture.
class TImage : public TControl {
public:
    explicit TImage(TComponent* owner);
    ~TImage() override;
    // Loads a picture file (formats Qt reads); false when it cannot be read.
    bool LoadFromFile(const std::string& fileName);
    // Takes 8-bit RGB pixels, row after row, width * 3 bytes a row.
    void SetRGB(int width, int height, const unsigned char* pixels);
    bool Empty() const;
    int PictureWidth() const;
    int PictureHeight() const;
    bool Stretch() const { return stretch_; }
    void SetStretch(bool on);
    bool Center() const { return center_; }
    void SetCenter(bool on);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);

private:
    friend class ImageWidget;
    void PictureChanged();
    struct Picture;
    std::unique_ptr<Picture> picture_;
    bool stretch_ = false;
    bool center_ = false;
    bool autoSize_ = false;
};
