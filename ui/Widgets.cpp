#include "ui/Widgets.h"

#include "ui/Application.h"
#include "ui/Form.h"
#include "base/SysUtils.h"
#include "ui/detail/Hooks.h"
#include "ui/detail/Qt.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringList>
#include <QValidator>

#include <algorithm>

using namespace lmrui;

namespace {

Qt::Alignment ToQt(TAlignment a) {
    switch (a) {
    case taRightJustify:
        return Qt::AlignRight | Qt::AlignVCenter;
    case taCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

// Sends a typed character to a widget as key press and release events.
void SendChar(QWidget* w, char c) {
    const QString text(QChar(static_cast<unsigned char>(c)));
    int key = 0;
    const auto u = static_cast<unsigned char>(c);
    if (c == '\r')
        key = Qt::Key_Return;
    else if (c == '\b')
        key = Qt::Key_Backspace;
    else if (c == '\t')
        key = Qt::Key_Tab;
    else if (c == '\x1b')
        key = Qt::Key_Escape;
    else if (u >= 'a' && u <= 'z')
        key = Qt::Key_A + (u - 'a');
    else if (u >= 'A' && u <= 'Z')
        key = Qt::Key_A + (u - 'A');
    else if (u < 0x80)
        key = u;
    else
        key = Qt::Key_unknown;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

// The list behind a control's items: every change goes to the widget too.
// With a sorted flag, Add keeps the texts in case-insensitive order, an equal
// text going after the ones already there.
class WidgetStrings : public TStrings {
public:
    explicit WidgetStrings(const bool* sorted = nullptr) : sorted_(sorted) {}
    int Add(const std::string& text) override {
        if (!sorted_ || !*sorted_) return TStrings::Add(text);
        int i = 0;
        while (i < Count() && CompareText(Strings(i), text) <= 0)
            ++i;
        Insert(i, text);
        return i;
    }
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Strings(int index) const override {
        CheckIndex(index, Count());
        return items_[static_cast<size_t>(index)].text;
    }
    void SetStrings(int index, const std::string& text) override {
        CheckIndex(index, Count());
        items_[static_cast<size_t>(index)].text = text;
        Changed(Change::Set, index);
    }
    void Insert(int index, const std::string& text) override {
        if (index < 0 || index > Count()) IndexError(index);
        items_.insert(items_.begin() + index, Item{text, nullptr});
        Changed(Change::Insert, index);
    }
    void Delete(int index) override {
        CheckIndex(index, Count());
        items_.erase(items_.begin() + index);
        Changed(Change::Delete, index);
    }
    void Clear() override {
        items_.clear();
        if (updating_ > 0) clearedInUpdate_ = true;
        Changed(Change::Clear, -1);
    }
    TObject* Objects(int index) const override {
        CheckIndex(index, Count());
        return items_[static_cast<size_t>(index)].object;
    }
    void SetObjects(int index, TObject* o) override {
        CheckIndex(index, Count());
        items_[static_cast<size_t>(index)].object = o;
    }
    void BeginUpdate() override { ++updating_; }
    void EndUpdate() override {
        if (updating_ > 0 && --updating_ == 0) {
            Changed(Change::Clear, -2);
            clearedInUpdate_ = false;
        }
    }
    // Puts the texts already there in the order Add keeps (objects move along).
    void Sort() {
        std::stable_sort(items_.begin(), items_.end(), [](const Item& a, const Item& b) {
            return CompareText(a.text, b.text) < 0;
        });
        BeginUpdate();
        EndUpdate();
    }

    enum class Change { Set, Insert, Delete, Clear };
    // index -2: rebuild everything after an update.
    std::function<void(Change, int)> OnChanged;
    // Whether the update being ended began with a Clear: nothing stays chosen.
    bool ClearedInUpdate() const { return clearedInUpdate_; }

protected:
    void Changed(Change c, int index) {
        if (updating_ > 0) return;
        if (OnChanged) OnChanged(c, index);
    }
    QStringList Texts() const {
        QStringList texts;
        for (const Item& item : items_)
            texts.append(Q(item.text));
        return texts;
    }
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    std::vector<Item> items_;
    int updating_ = 0;
    bool clearedInUpdate_ = false;

private:
    const bool* sorted_;
};

// Limits typing (not text set by code) to MaxLength: excess characters just
// typed or pasted are cut off at the cursor.
class LengthLimit : public QValidator {
public:
    LengthLimit(QObject* parent, int* maxLength, std::string* last)
        : QValidator(parent), max_(maxLength), last_(last) {}
    State validate(QString& input, int& pos) const override {
        if (*max_ <= 0) return Acceptable;
        const int limit = std::max(*max_, static_cast<int>(last_->size()));
        const int excess = static_cast<int>(input.size()) - limit;
        if (excess <= 0) return Acceptable;
        if (pos - excess < 0) return Invalid;
        input.remove(pos - excess, excess);
        pos -= excess;
        return Acceptable;
    }

private:
    int* max_;
    std::string* last_;
};

} // namespace

// --- TLabel -----------------------------------------------------------------------

TLabel::TLabel(TComponent* owner) : TControl(owner) {
    label_ = new QLabel;
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(ToQt(alignment_));
    SetWidget(label_);
    WatchMouse(this, label_);
    label_->resize(65, 17);
}

TLabel* NewLabel(TComponent* owner, TWinControl* parent, const std::string& caption, int left,
                 int top, const std::string& name) {
    auto* l = new TLabel(owner);
    if (!name.empty()) l->SetName(name);
    l->SetParent(parent);
    l->SetCaption(caption);
    l->SetLeft(left);
    l->SetTop(top);
    return l;
}

void TLabel::SetBounds(int left, int top, int width, int height) {
    TControl::SetBounds(left, top, width, height);
    Fit(); // an auto-sized label keeps the size of its caption
}

std::string TLabel::GetText() const {
    return caption_;
}

void TLabel::SetTextValue(const std::string& text) {
    caption_ = text;
    label_->setText(Q(text));
    Fit();
}

void TLabel::Fit() {
    if (!autoSize_) return;
    if (wordWrap_) {
        label_->resize(label_->width(), label_->heightForWidth(label_->width()));
    } else {
        const QSize s = label_->sizeHint();
        label_->resize(s.width(), std::max(s.height(), 13));
    }
    if (Align() != alNone) RequestRealign();
}

void TLabel::SetAutoSize(bool on) {
    autoSize_ = on;
    Fit();
}
void TLabel::SetWordWrap(bool on) {
    wordWrap_ = on;
    label_->setWordWrap(on);
    Fit();
}
void TLabel::SetAlignment(TAlignment a) {
    alignment_ = a;
    label_->setAlignment(ToQt(a));
}
void TLabel::SetTransparent(bool on) {
    transparent_ = on;
    ApplyColor();
}
void TLabel::ApplyColor() {
    if (transparent_) {
        label_->setAutoFillBackground(false);
        return;
    }
    TControl::ApplyColor();
    label_->setAutoFillBackground(true);
}
void TLabel::ApplyFont() {
    TControl::ApplyFont();
    Fit();
}

// --- TStaticText ---------------------------------------------------------------

TStaticText::TStaticText(TComponent* owner) : TWinControl(owner) {
    label_ = new QLabel;
    label_->setTextFormat(Qt::PlainText);
    SetWidget(label_);
    WatchWidget(label_);
    WatchMouse(this, label_);
    SetTabStop(false);
    label_->resize(65, 17);
}
std::string TStaticText::GetText() const {
    return caption_;
}
void TStaticText::SetTextValue(const std::string& text) {
    caption_ = text;
    label_->setText(Q(text));
    Fit();
}
void TStaticText::Fit() {
    if (!autoSize_) return;
    const QSize s = label_->sizeHint();
    label_->resize(s.width() + 2, std::max(s.height(), 13) + 2);
}
void TStaticText::SetAutoSize(bool on) {
    autoSize_ = on;
    Fit();
}
void TStaticText::SetBorderStyle(TStaticBorderStyle s) {
    border_ = s;
    label_->setFrameStyle(s == sbsNone     ? QFrame::NoFrame
                          : s == sbsSingle ? (QFrame::Box | QFrame::Plain)
                                           : (QFrame::Panel | QFrame::Sunken));
}
void TStaticText::SetAlignment(TAlignment a) {
    alignment_ = a;
    label_->setAlignment(ToQt(a));
}
void TStaticText::ApplyFont() {
    TControl::ApplyFont();
    Fit();
}

// --- TEdit ------------------------------------------------------------------------

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    edit_ = new QLineEdit;
    edit_->setMaxLength(1 << 30);
    edit_->setValidator(new LengthLimit(edit_, &maxLength_, &lastText_));
    SetWidget(edit_);
    WatchWidget(edit_);
    SetColor(clWindow);
    edit_->resize(121, 21);
    QObject::connect(edit_, &QLineEdit::textEdited, edit_,
                     [this](const QString&) { UserEdited(); });
}

TEdit::~TEdit() = default;

std::string TEdit::GetText() const {
    return S(edit_->text());
}

void TEdit::SetTextValue(const std::string& text) {
    if (text == GetText()) return;
    {
        const QSignalBlocker block(edit_);
        lastText_ = text;
        edit_->setText(Q(text));
    }
    SafeNotify(OnChange, this);
}

void TEdit::UserEdited() {
    lastText_ = S(edit_->text());
    modified_ = true;
    SafeNotify(OnChange, this);
}

void TEdit::TakeReplacedKey(char key) {
    if (readOnly_) return;
    edit_->insert(QString(QChar(static_cast<unsigned char>(key)))); // reports textEdited
}

void TEdit::SetReadOnly(bool on) {
    readOnly_ = on;
    edit_->setReadOnly(on);
}
void TEdit::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
}
void TEdit::SetPasswordChar(char c) {
    passwordChar_ = c;
    edit_->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}
int TEdit::SelStart() const {
    return edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
}
void TEdit::SetSelStart(int pos) {
    edit_->setCursorPosition(pos);
}
int TEdit::SelLength() const {
    return static_cast<int>(edit_->selectedText().size());
}
void TEdit::SetSelLength(int length) {
    edit_->setSelection(SelStart(), length);
}
std::string TEdit::SelText() const {
    return S(edit_->selectedText());
}
void TEdit::SelectAll() {
    edit_->selectAll();
}

void TEdit::TypeText(const std::string& text) {
    for (char c : text)
        SendChar(edit_, c);
}

void TEdit::PasteText(const std::string& text) {
    if (readOnly_) return;
    edit_->insert(Q(text)); // reports textEdited, subject to MaxLength
}

void TEdit::ApplyColor() {
    SetBaseColor(edit_, Color());
}
void TEdit::ApplyFont() {
    TControl::ApplyFont();
    ApplyColor();
}

// --- TMemo ------------------------------------------------------------------------

class MemoLines : public TStrings {
public:
    explicit MemoLines(TMemo* memo) : memo_(memo) {}
    std::vector<std::string> Split() const {
        std::vector<std::string> lines;
        const std::string text = S(memo_->memo_->toPlainText());
        if (text.empty()) return lines;
        size_t start = 0;
        for (;;) {
            const size_t nl = text.find('\n', start);
            if (nl == std::string::npos) {
                lines.push_back(text.substr(start));
                break;
            }
            lines.push_back(text.substr(start, nl - start));
            start = nl + 1;
            if (start == text.size()) break;
        }
        return lines;
    }
    void Join(const std::vector<std::string>& lines) {
        std::string text;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i) text += '\n';
            text += lines[i];
        }
        memo_->SetTextValue(text);
    }
    int Count() const override { return static_cast<int>(Split().size()); }
    std::string Strings(int index) const override {
        auto lines = Split();
        CheckIndex(index, static_cast<int>(lines.size()));
        return lines[static_cast<size_t>(index)];
    }
    void SetStrings(int index, const std::string& text) override {
        auto lines = Split();
        CheckIndex(index, static_cast<int>(lines.size()));
        lines[static_cast<size_t>(index)] = text;
        Join(lines);
    }
    void Insert(int index, const std::string& text) override {
        auto lines = Split();
        if (index < 0 || index > static_cast<int>(lines.size())) IndexError(index);
        lines.insert(lines.begin() + index, text);
        Join(lines);
        if (index == static_cast<int>(lines.size()) - 1) {
            // An appended line scrolls into view, as reports expect.
            auto* bar = memo_->memo_->verticalScrollBar();
            bar->setValue(bar->maximum());
        }
    }
    void Delete(int index) override {
        auto lines = Split();
        CheckIndex(index, static_cast<int>(lines.size()));
        lines.erase(lines.begin() + index);
        Join(lines);
    }
    void Clear() override { memo_->SetTextValue(""); }

private:
    TMemo* memo_;
};

TMemo::TMemo(TComponent* owner) : TWinControl(owner) {
    memo_ = new QPlainTextEdit;
    lines_ = std::make_unique<MemoLines>(this);
    SetWidget(memo_);
    WatchWidget(memo_);
    SetColor(clWindow);
    memo_->resize(185, 89);
    QObject::connect(memo_, &QPlainTextEdit::textChanged, memo_, [this] {
        if (settingFromCode_) return;
        SafeNotify(OnChange, this);
    });
}

TMemo::~TMemo() = default;

std::string TMemo::GetText() const {
    return S(memo_->toPlainText());
}

void TMemo::SetTextValue(const std::string& text) {
    if (text == GetText()) return;
    settingFromCode_ = true;
    memo_->setPlainText(Q(text));
    settingFromCode_ = false;
    SafeNotify(OnChange, this);
}

void TMemo::SetReadOnly(bool on) {
    readOnly_ = on;
    memo_->setReadOnly(on);
}
void TMemo::SetWordWrap(bool on) {
    wordWrap_ = on;
    memo_->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}
void TMemo::SetScrollBars(TScrollStyle s) {
    scrollBars_ = s;
    memo_->setVerticalScrollBarPolicy((s == ssVertical || s == ssBoth) ? Qt::ScrollBarAlwaysOn
                                                                       : Qt::ScrollBarAsNeeded);
    memo_->setHorizontalScrollBarPolicy((s == ssHorizontal || s == ssBoth) ? Qt::ScrollBarAlwaysOn
                                                                           : Qt::ScrollBarAsNeeded);
}
void TMemo::TypeText(const std::string& text) {
    for (char c : text)
        SendChar(memo_, c);
}
void TMemo::ApplyColor() {
    SetBaseColor(memo_, Color());
}
void TMemo::ApplyFont() {
    TControl::ApplyFont();
    ApplyColor();
}

// --- TComboBox -------------------------------------------------------------------

class ComboItems : public WidgetStrings {
public:
    explicit ComboItems(TComboBox* combo) : WidgetStrings(&combo->sorted_), combo_(combo) {
        OnChanged = [this](Change c, int index) { Apply(c, index); };
    }

private:
    void Apply(Change c, int index) {
        QComboBox* q = combo_->combo_;
        const QSignalBlocker block(q);
        const QString editText = q->isEditable() ? q->currentText() : QString();
        const int chosen = q->currentIndex();
        switch (c) {
        case Change::Set:
            q->setItemText(index, Q(Strings(index)));
            break;
        case Change::Insert:
            q->insertItem(index, Q(Strings(index)));
            break;
        case Change::Delete:
            q->removeItem(index);
            break;
        case Change::Clear:
            q->clear();
            if (index == -2) q->addItems(Texts());
            break;
        }
        if (q->isEditable()) {
            if (c == Change::Clear && index == -1)
                combo_->SetEditPart(QString());
            else if (q->currentText() != editText)
                combo_->SetEditPart(editText);
        } else if (c == Change::Insert && q->count() == 1) {
            q->setCurrentIndex(-1); // adding items selects none
        } else if (c == Change::Clear && index == -2) {
            // A list filled anew shows no choice until one is made.
            q->setCurrentIndex(ClearedInUpdate() || chosen >= q->count() ? -1 : chosen);
        }
    }
    TComboBox* combo_;
};

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    combo_ = new QComboBox;
    items_ = std::make_unique<ComboItems>(this);
    SetWidget(combo_);
    WatchWidget(combo_);
    SetColor(clWindow);
    combo_->resize(145, 21);
    combo_->setInsertPolicy(QComboBox::NoInsert);
    SetStyle(csDropDown);
    QObject::connect(combo_, QOverload<int>::of(&QComboBox::activated), combo_,
                     [this](int index) { UserChose(index); });
}

TComboBox::~TComboBox() = default;

QWidget* TComboBox::FocusWidget() const {
    return combo_;
}

void TComboBox::SyncEditHooks() {
    if (QLineEdit* le = combo_->lineEdit()) {
        // MaxLength limits typing only, as in an edit box; a text set by code
        // stays whole, so the limit looks at the text before each edit.
        le->setMaxLength(1 << 30);
        le->setValidator(new LengthLimit(le, &maxLength_, &editText_));
        editText_ = S(le->text());
        WatchWidget(le);
        QObject::connect(le, &QLineEdit::textEdited, combo_,
                         [this](const QString&) { UserEdited(); });
    }
}

void TComboBox::SetStyle(TComboBoxStyle style) {
    const bool editable = style != csDropDownList;
    style_ = style;
    if (combo_->isEditable() == editable && combo_->lineEdit()) return;
    const QSignalBlocker block(combo_);
    const int index = combo_->currentIndex();
    combo_->setEditable(editable);
    if (editable) {
        SyncEditHooks();
    } else {
        combo_->setCurrentIndex(index);
    }
}

int TComboBox::ItemIndex() const {
    if (!combo_->isEditable()) return combo_->currentIndex();
    // In an editable box the index follows the typed text.
    const int i = combo_->currentIndex();
    if (i >= 0 && combo_->itemText(i) == combo_->currentText()) return i;
    return combo_->findText(combo_->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void TComboBox::SetItemIndex(int index) {
    const QSignalBlocker block(combo_);
    if (index < 0 || index >= combo_->count()) {
        combo_->setCurrentIndex(-1);
        if (combo_->isEditable()) SetEditPart(QString());
        return;
    }
    combo_->setCurrentIndex(index);
    if (combo_->isEditable()) SetEditPart(combo_->itemText(index));
}

std::string TComboBox::GetText() const {
    return S(combo_->currentText());
}

void TComboBox::SetTextValue(const std::string& text) {
    const QSignalBlocker block(combo_);
    if (combo_->isEditable()) {
        const int i = combo_->findText(Q(text), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (i >= 0) combo_->setCurrentIndex(i);
        SetEditPart(Q(text));
        return;
    }
    const int i = items_->IndexOf(text);
    if (i >= 0) combo_->setCurrentIndex(i);
}

void TComboBox::SetDropDownCount(int n) {
    dropDownCount_ = n;
    combo_->setMaxVisibleItems(std::max(1, n));
}
void TComboBox::SetMaxLength(int length) {
    maxLength_ = std::max(0, length);
}
void TComboBox::SetSorted(bool on) {
    sorted_ = on;
    if (on) static_cast<WidgetStrings&>(*items_).Sort();
}
void TComboBox::Clear() {
    items_->Clear();
    SetItemIndex(-1);
}

void TComboBox::UserChose(int index) {
    if (combo_->isEditable() && index >= 0) {
        const QSignalBlocker block(combo_);
        SetEditPart(combo_->itemText(index));
    }
    SafeNotify(OnChange, this);
    SafeNotify(OnSelect, this);
}

void TComboBox::SetEditPart(const QString& text) {
    editText_ = S(text); // before the edit part sees it, so MaxLength lets it through
    combo_->setEditText(text);
}

void TComboBox::UserEdited() {
    editText_ = S(combo_->currentText());
    SafeNotify(OnChange, this);
}

void TComboBox::ChooseItem(int index) {
    if (index < 0 || index >= combo_->count() || !Enabled()) return;
    {
        const QSignalBlocker block(combo_);
        combo_->setCurrentIndex(index);
    }
    UserChose(index);
}

void TComboBox::TypeText(const std::string& text) {
    if (QLineEdit* le = combo_->lineEdit())
        for (char c : text)
            SendChar(le, c);
}

void TComboBox::ApplyColor() {
    SetBaseColor(combo_, Color());
}
void TComboBox::ApplyFont() {
    TControl::ApplyFont();
    ApplyColor();
}

// --- TCheckBox --------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    box_ = new QCheckBox;
    SetWidget(box_);
    WatchWidget(box_);
    box_->resize(97, 17);
    QObject::connect(box_, &QCheckBox::clicked, box_, [this](bool) { TControl::Click(); });
}

bool TCheckBox::Checked() const {
    return box_->checkState() == Qt::Checked;
}

void TCheckBox::SetChecked(bool on) {
    SetState(on ? cbChecked : cbUnchecked);
}

TCheckBoxState TCheckBox::State() const {
    switch (box_->checkState()) {
    case Qt::Checked:
        return cbChecked;
    case Qt::PartiallyChecked:
        return cbGrayed;
    default:
        return cbUnchecked;
    }
}

void TCheckBox::SetState(TCheckBoxState s) {
    if (s == State()) return;
    {
        const QSignalBlocker block(box_);
        box_->setCheckState(s == cbChecked  ? Qt::Checked
                            : s == cbGrayed ? Qt::PartiallyChecked
                                            : Qt::Unchecked);
    }
    TControl::Click();
}

void TCheckBox::SetAllowGrayed(bool on) {
    allowGrayed_ = on;
    box_->setTristate(on);
}

void TCheckBox::Click() {
    if (!Enabled()) return;
    SetChecked(!Checked());
}

std::string TCheckBox::GetText() const {
    return S(box_->text());
}
void TCheckBox::SetTextValue(const std::string& text) {
    box_->setText(Q(text));
}
void TCheckBox::ApplyFont() {
    TControl::ApplyFont();
}

// --- TRadioButton --------------------------------------------------------------

TRadioButton::TRadioButton(TComponent* owner) : TWinControl(owner) {
    button_ = new QRadioButton;
    button_->setAutoExclusive(false); // siblings are unchecked by the layer
    SetWidget(button_);
    WatchWidget(button_);
    button_->resize(113, 17);
    QObject::connect(button_, &QRadioButton::clicked, button_, [this](bool) {
        if (!button_->isChecked()) {
            // A click on a checked button leaves it checked.
            const QSignalBlocker block(button_);
            button_->setChecked(true);
            return;
        }
        UncheckSiblings();
        TControl::Click();
    });
}

bool TRadioButton::Checked() const {
    return button_->isChecked();
}

void TRadioButton::UncheckSiblings() {
    if (!Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
        if (other && other != this && other->button_->isChecked()) {
            const QSignalBlocker block(other->button_);
            other->button_->setChecked(false);
        }
    }
}

void TRadioButton::SetChecked(bool on) {
    if (on == Checked()) return;
    {
        const QSignalBlocker block(button_);
        button_->setChecked(on);
    }
    if (!on) return;
    UncheckSiblings();
    TControl::Click();
}

void TRadioButton::Click() {
    if (!Enabled()) return;
    SetChecked(true);
}

std::string TRadioButton::GetText() const {
    return S(button_->text());
}
void TRadioButton::SetTextValue(const std::string& text) {
    button_->setText(Q(text));
}
void TRadioButton::ApplyFont() {
    TControl::ApplyFont();
}

// --- TButton / TBitBtn -------------------------------------------------------------

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    button_ = new QPushButton;
    button_->setAutoDefault(false);
    SetWidget(button_);
    WatchWidget(button_);
    button_->resize(75, 25);
    QObject::connect(button_, &QPushButton::clicked, button_,
                     [this](bool) { SafeDispatch([this] { Click(); }); });
}

void TButton::Click() {
    const std::uint64_t serial = Serial();
    if (modalResult_ != mrNone)
        if (TForm* form = ParentForm()) form->SetModalResult(modalResult_);
    if (FindControl(serial)) TControl::Click();
}

void TButton::SetDefault(bool on) {
    default_ = on;
    button_->setDefault(on);
}
std::string TButton::GetText() const {
    return S(button_->text());
}
void TButton::SetTextValue(const std::string& text) {
    button_->setText(Q(text));
}
void TButton::ApplyFont() {
    TControl::ApplyFont();
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner) {}

bool TBitBtn::LoadGlyph(const std::string& fileName) {
    QImage image;
    if (!image.load(Q(fileName))) return false;
    button_->setIcon(QIcon(QPixmap::fromImage(image)));
    hasGlyph_ = true;
    return true;
}

void TBitBtn::SetKind(TBitBtnKind kind) {
    kind_ = kind;
    static const struct {
        TBitBtnKind kind;
        const char* caption;
        int result;
    } kinds[] = {{bkOK, "OK", mrOk},           {bkCancel, "Cancel", mrCancel},
                 {bkYes, "&Yes", mrYes},       {bkNo, "&No", mrNo},
                 {bkClose, "&Close", mrNone},  {bkAbort, "Abort", mrAbort},
                 {bkRetry, "&Retry", mrRetry}, {bkIgnore, "&Ignore", mrIgnore},
                 {bkAll, "&All", mrAll},       {bkHelp, "&Help", mrNone}};
    for (const auto& k : kinds)
        if (k.kind == kind) {
            SetCaption(k.caption);
            SetModalResult(k.result);
        }
}

// --- TListBox -------------------------------------------------------------------

class ListBoxItems : public WidgetStrings {
public:
    explicit ListBoxItems(TListBox* box) : WidgetStrings(&box->sorted_), box_(box) {
        OnChanged = [this](Change c, int index) { Apply(c, index); };
    }

private:
    void Apply(Change c, int index) {
        QListWidget* q = box_->list_;
        const QSignalBlocker block(q);
        switch (c) {
        case Change::Set:
            q->item(index)->setText(Q(Strings(index)));
            break;
        case Change::Insert:
            q->insertItem(index, Q(Strings(index)));
            break;
        case Change::Delete:
            delete q->takeItem(index);
            break;
        case Change::Clear:
            q->clear();
            if (index == -2) q->addItems(Texts());
            break;
        }
        if (c == Change::Insert && q->count() == 1) q->setCurrentRow(-1);
    }
    TListBox* box_;
};

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    list_ = new QListWidget;
    items_ = std::make_unique<ListBoxItems>(this);
    SetWidget(list_);
    WatchWidget(list_);
    SetColor(clWindow);
    list_->resize(121, 97);
    QObject::connect(list_, &QListWidget::itemClicked, list_,
                     [this](QListWidgetItem*) { TControl::Click(); });
    QObject::connect(list_, &QListWidget::itemDoubleClicked, list_,
                     [this](QListWidgetItem*) { SafeNotify(OnDblClick, this); });
}

TListBox::~TListBox() = default;

int TListBox::ItemIndex() const {
    return list_->currentRow();
}
void TListBox::SetItemIndex(int index) {
    const QSignalBlocker block(list_);
    list_->setCurrentRow(index >= 0 && index < list_->count() ? index : -1);
    if (index < 0) list_->clearSelection();
}
void TListBox::SetMultiSelect(bool on) {
    multiSelect_ = on;
    list_->setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                               : QAbstractItemView::SingleSelection);
}
bool TListBox::Selected(int index) const {
    QListWidgetItem* item = list_->item(index);
    if (!item) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return item->isSelected();
}
void TListBox::SetSelected(int index, bool on) {
    QListWidgetItem* item = list_->item(index);
    if (!item) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    const QSignalBlocker block(list_);
    item->setSelected(on);
}
int TListBox::SelCount() const {
    return static_cast<int>(list_->selectedItems().size());
}
void TListBox::SetSorted(bool on) {
    sorted_ = on;
    if (on) static_cast<WidgetStrings&>(*items_).Sort();
}
int TListBox::ItemAtPos(int x, int y) const {
    QListWidgetItem* item = list_->itemAt(QPoint(x, y));
    return item ? list_->row(item) : -1;
}
void TListBox::ChooseItem(int index) {
    if (index < 0 || index >= list_->count() || !Enabled()) return;
    {
        const QSignalBlocker block(list_);
        list_->setCurrentRow(index);
    }
    TControl::Click();
}
void TListBox::ApplyColor() {
    SetBaseColor(list_, Color());
}
void TListBox::ApplyFont() {
    TControl::ApplyFont();
    ApplyColor();
}

// --- TGroupBox ---------------------------------------------------------------------

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    box_ = new QGroupBox;
    SetWidget(box_);
    WatchWidget(box_);
    WatchMouse(this, box_);
    SetTabStop(false);
    box_->resize(185, 105);
}
std::string TGroupBox::GetText() const {
    return S(box_->title());
}
void TGroupBox::SetTextValue(const std::string& text) {
    box_->setTitle(Q(text));
}
void TGroupBox::ApplyFont() {
    TControl::ApplyFont();
}

// --- TRadioGroup -------------------------------------------------------------------

class RadioItems : public WidgetStrings {
public:
    explicit RadioItems(TRadioGroup* group) {
        OnChanged = [group](Change, int) { group->Rebuild(); };
    }
};

TRadioGroup::TRadioGroup(TComponent* owner) : TWinControl(owner) {
    box_ = new QGroupBox;
    items_ = std::make_unique<RadioItems>(this);
    SetWidget(box_);
    WatchWidget(box_);
    SetTabStop(false);
    box_->resize(185, 105);
    OnWidgetResize(box_, [this] { ArrangeButtons(); });
}

TRadioGroup::~TRadioGroup() {
    // The buttons are owned by the group and freed with it.
    buttons_.clear();
}

void TRadioGroup::Rebuild() {
    for (TRadioButton* b : buttons_)
        delete b;
    buttons_.clear();
    for (int i = 0; i < items_->Count(); ++i) {
        auto* b = new TRadioButton(this);
        b->SetCaption(items_->Strings(i));
        b->SetTabStop(i == 0);
        b->OnClick = [this, i](TObject*) {
            if (i == itemIndex_) return;
            itemIndex_ = i;
            if (OnClick) OnClick(this);
        };
        buttons_.push_back(b);
    }
    if (itemIndex_ >= items_->Count()) itemIndex_ = -1;
    if (itemIndex_ >= 0) {
        auto* b = buttons_[static_cast<size_t>(itemIndex_)];
        const QSignalBlocker block(b->Widget());
        static_cast<QRadioButton*>(b->Widget())->setChecked(true);
    }
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
    const int n = static_cast<int>(buttons_.size());
    if (n == 0) return;
    const int cols = std::max(1, columns_);
    const int rows = (n + cols - 1) / cols;
    const int top = 20, side = 8;
    const int w = std::max(10, (Width() - 2 * side) / cols);
    const int h = std::max(18, (Height() - top - 4) / std::max(1, rows));
    for (int i = 0; i < n; ++i) {
        const int col = i / rows, row = i % rows;
        buttons_[static_cast<size_t>(i)]->SetBounds(side + col * w, top + row * h, w, 17);
    }
}

void TRadioGroup::SetItemIndex(int index) {
    if (index < -1 || index >= items_->Count()) index = -1;
    if (index == itemIndex_) return;
    itemIndex_ = index;
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
        auto* q = static_cast<QRadioButton*>(buttons_[static_cast<size_t>(i)]->Widget());
        const QSignalBlocker block(q);
        q->setChecked(i == index);
    }
    TControl::Click();
}

void TRadioGroup::SetColumns(int n) {
    columns_ = std::clamp(n, 1, 16);
    ArrangeButtons();
}

void TRadioGroup::ClickItem(int index) {
    if (index < 0 || index >= static_cast<int>(buttons_.size()) || !Enabled()) return;
    buttons_[static_cast<size_t>(index)]->Click();
}

TRadioButton* TRadioGroup::Buttons(int index) const {
    if (index < 0 || index >= static_cast<int>(buttons_.size())) return nullptr;
    return buttons_[static_cast<size_t>(index)];
}

std::string TRadioGroup::GetText() const {
    return S(box_->title());
}
void TRadioGroup::SetTextValue(const std::string& text) {
    box_->setTitle(Q(text));
}
void TRadioGroup::ApplyFont() {
    TControl::ApplyFont();
}

// --- TPanel ----------------------------------------------------------------------

class PanelWidget : public QFrame {
public:
    explicit PanelWidget(TPanel* panel) : panel_(panel) {}

protected:
    void paintEvent(QPaintEvent* e) override {
        QFrame::paintEvent(e);
        QPainter p(this);
        const QRect r = rect();
        auto bevel = [&](TBevelCut cut, const QRect& box) {
            if (cut == bvNone || cut == bvSpace) return;
            const QColor light(255, 255, 255), dark(160, 160, 160);
            const QColor& tl = cut == bvRaised ? light : dark;
            const QColor& br = cut == bvRaised ? dark : light;
            p.setPen(tl);
            p.drawLine(box.topLeft(), box.topRight());
            p.drawLine(box.topLeft(), box.bottomLeft());
            p.setPen(br);
            p.drawLine(box.bottomLeft(), box.bottomRight());
            p.drawLine(box.topRight(), box.bottomRight());
        };
        bevel(panel_->bevelOuter_, r.adjusted(0, 0, -1, -1));
        bevel(panel_->bevelInner_, r.adjusted(1, 1, -2, -2));
        if (!panel_->caption_.empty()) {
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(r.adjusted(3, 3, -3, -3), static_cast<int>(ToQt(panel_->alignment_)),
                       Q(panel_->caption_));
        }
    }

private:
    TPanel* panel_;
};

TPanel::TPanel(TComponent* owner) : TWinControl(owner) {
    auto* w = new PanelWidget(this);
    SetWidget(w);
    WatchWidget(w);
    WatchMouse(this, w);
    SetTabStop(false);
    w->resize(185, 41);
}
std::string TPanel::GetText() const {
    return caption_;
}
void TPanel::SetTextValue(const std::string& text) {
    caption_ = text;
    Invalidate();
}
void TPanel::SetBevelOuter(TBevelCut b) {
    bevelOuter_ = b;
    Invalidate();
}
void TPanel::SetBevelInner(TBevelCut b) {
    bevelInner_ = b;
    Invalidate();
}
void TPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    Invalidate();
}
void TPanel::ApplyColor() {
    TControl::ApplyColor();
}
void TPanel::ApplyFont() {
    TControl::ApplyFont();
}

// --- TScrollBox -------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TWinControl(owner) {
    area_ = new QScrollArea;
    inner_ = new QWidget;
    area_->setWidget(inner_);
    area_->setWidgetResizable(false);
    area_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    SetWidget(area_);
    WatchWidget(area_);
    WatchWidget(area_->viewport());
    SetTabStop(false);
    area_->resize(185, 41);
    inner_->resize(area_->viewport()->size());
}

int TScrollBox::ClientWidth() const {
    return area_->viewport()->width();
}
int TScrollBox::ClientHeight() const {
    return area_->viewport()->height();
}

void TScrollBox::UpdateScrollRange() {
    int w = area_->viewport()->width(), h = area_->viewport()->height();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c->Align() != alNone) continue;
        w = std::max(w, c->Left() + c->Width());
        h = std::max(h, c->Top() + c->Height());
    }
    if (inner_->size() != QSize(w, h)) inner_->resize(w, h);
}

// --- TSplitter -------------------------------------------------------------------

namespace {
class SplitterWidget : public QFrame {
public:
    explicit SplitterWidget(TSplitter* s) : splitter_(s) {}

protected:
    void mousePressEvent(QMouseEvent* e) override {
        last_ = e->globalPosition().toPoint();
        dragging_ = true;
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!dragging_) return;
        const QPoint p = e->globalPosition().toPoint();
        const bool horizontal = splitter_->Align() == alTop || splitter_->Align() == alBottom;
        const int delta = horizontal ? p.y() - last_.y() : p.x() - last_.x();
        last_ = p;
        if (delta) splitter_->DragBy(delta);
    }
    void mouseReleaseEvent(QMouseEvent*) override { dragging_ = false; }

private:
    TSplitter* splitter_;
    QPoint last_;
    bool dragging_ = false;
};
} // namespace

TSplitter::TSplitter(TComponent* owner) : TControl(owner) {
    auto* w = new SplitterWidget(this);
    w->setCursor(Qt::SplitHCursor);
    SetWidget(w);
    w->resize(3, 100);
    SetAlign(alLeft);
}

TControl* TSplitter::ResizedControl() const {
    TWinControl* p = Parent();
    if (!p) return nullptr;
    TControl* found = nullptr;
    for (int i = 0; i < p->ControlCount(); ++i) {
        TControl* c = p->Controls(i);
        if (c == this) break;
        if (c->Align() == Align() && c->Visible()) found = c;
    }
    return found;
}

void TSplitter::DragBy(int delta) {
    TControl* c = ResizedControl();
    if (!c) return;
    switch (Align()) {
    case alLeft:
        c->SetWidth(std::max(minSize_, c->Width() + delta));
        break;
    case alRight:
        c->SetWidth(std::max(minSize_, c->Width() - delta));
        break;
    case alTop:
        c->SetHeight(std::max(minSize_, c->Height() + delta));
        break;
    case alBottom:
        c->SetHeight(std::max(minSize_, c->Height() - delta));
        break;
    default:
        break;
    }
}

// --- TShape ---------------------------------------------------------------------

namespace {
class ShapeWidget : public QWidget {
public:
    explicit ShapeWidget(TShape* s) : shape_(s) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const int pw = std::max(1, shape_->Pen().Width());
        p.setPen(QPen(ToQColor(shape_->Pen().Color()), pw));
        if (shape_->Brush().Style() == bsClear)
            p.setBrush(Qt::NoBrush);
        else
            p.setBrush(ToQColor(shape_->Brush().Color()));
        QRect r = rect().adjusted(pw / 2, pw / 2, -(pw + 1) / 2, -(pw + 1) / 2);
        const TShapeType t = shape_->Shape();
        if (t == stSquare || t == stRoundSquare || t == stCircle) {
            const int side = std::min(r.width(), r.height());
            r = QRect(r.x() + (r.width() - side) / 2, r.y() + (r.height() - side) / 2, side, side);
        }
        switch (t) {
        case stEllipse:
        case stCircle:
            p.drawEllipse(r);
            break;
        case stRoundRect:
        case stRoundSquare:
            p.drawRoundedRect(r, r.width() / 4.0, r.height() / 4.0);
            break;
        default:
            p.drawRect(r);
            break;
        }
    }

private:
    TShape* shape_;
};
} // namespace

TShape::TShape(TComponent* owner) : TControl(owner) {
    auto* w = new ShapeWidget(this);
    SetWidget(w);
    WatchMouse(this, w);
    w->resize(65, 65);
    brush_.OnChange = [this] { Invalidate(); };
    pen_.OnChange = [this] { Invalidate(); };
}

void TShape::SetShape(TShapeType s) {
    shape_ = s;
    Invalidate();
}

// --- TImage --------------------------------------------------------------------

struct TImage::Picture {
    QImage image;
};

class ImageWidget : public QWidget {
public:
    explicit ImageWidget(TImage* image) : image_(image) {}

protected:
    void paintEvent(QPaintEvent*) override {
        const QImage& img = image_->picture_->image;
        if (img.isNull()) return;
        QPainter p(this);
        if (image_->stretch_) {
            p.drawImage(rect(), img);
        } else if (image_->center_) {
            p.drawImage((width() - img.width()) / 2, (height() - img.height()) / 2, img);
        } else {
            p.drawImage(0, 0, img);
        }
    }

private:
    TImage* image_;
};

TImage::TImage(TComponent* owner) : TControl(owner), picture_(std::make_unique<Picture>()) {
    auto* w = new ImageWidget(this);
    SetWidget(w);
    WatchMouse(this, w);
    w->resize(105, 105);
}

TImage::~TImage() = default;

bool TImage::LoadFromFile(const std::string& fileName) {
    QImage img;
    if (!img.load(Q(fileName))) return false;
    picture_->image = img;
    PictureChanged();
    return true;
}

void TImage::SetRGB(int width, int height, const unsigned char* pixels) {
    if (width <= 0 || height <= 0 || !pixels) {
        picture_->image = QImage();
    } else {
        picture_->image = QImage(pixels, width, height, width * 3, QImage::Format_RGB888).copy();
    }
    PictureChanged();
}

bool TImage::Empty() const {
    return picture_->image.isNull();
}
int TImage::PictureWidth() const {
    return picture_->image.width();
}
int TImage::PictureHeight() const {
    return picture_->image.height();
}

void TImage::PictureChanged() {
    if (autoSize_ && !picture_->image.isNull())
        SetBounds(Left(), Top(), picture_->image.width(), picture_->image.height());
    Invalidate();
}

void TImage::SetStretch(bool on) {
    stretch_ = on;
    Invalidate();
}
void TImage::SetCenter(bool on) {
    center_ = on;
    Invalidate();
}
void TImage::SetAutoSize(bool on) {
    autoSize_ = on;
    PictureChanged();
}
