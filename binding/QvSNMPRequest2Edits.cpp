#include "binding/QvSNMPRequest2Edits.h"

#include "binding/QvOptionControls.h"
#include "snmp/QvDateTime.h"
#include "snmp/QvErrors.h"
#include "snmp/QvNumList.h"
#include "snmp/QvSNMPVar.h"
#include "ui/Application.h"
#include "ui/ListView.h"
#include "ui/Strings.h"
#include "base/SysUtils.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>

namespace {

using namespace QvSyntax;

std::string Hex2(unsigned char b) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", b);
    return buf;
}

std::string Number(const std::string& text) {
    return IntToStr(LeadingInt(text));
}

// The hexadecimal pieces of several edits: "00" for an empty edit, a leading
// "0" before a single digit.
std::string JoinHex(const std::vector<TEdit*>& edits, size_t count) {
    std::string text;
    for (size_t k = 0; k < count && k < edits.size(); ++k) {
        std::string t = edits[k]->Text();
        if (t.empty())
            text += "00";
        else if (t.size() == 1)
            text += "0" + t;
        else
            text += t;
    }
    return text;
}

[[noreturn]] void Fail(int index) {
    RaiseQvSNMPError(index);
}

bool IsBooleanSyntax(int syntax) {
    return syntax == Boolean || syntax == Bool8 || syntax == Bool16;
}

// Bit b of an image: bit 7 - b % 8 of byte b / 8.
unsigned char BitMask(int b) {
    return static_cast<unsigned char>(1u << (7 - b % 8));
}

// The event through which a control reports a user's change: OnChange of a
// combo box, OnClick of a radio group or check box; null for the others.
TNotifyEvent* ChangeEventOf(TControl* c) {
    if (auto* combo = dynamic_cast<TComboBox*>(c)) return &combo->OnChange;
    if (auto* group = dynamic_cast<TRadioGroup*>(c)) return &group->OnClick;
    if (auto* box = dynamic_cast<TCheckBox*>(c)) return &box->OnClick;
    return nullptr;
}

} // namespace

QvSNMPRequest2Edits::QvSNMPRequest2Edits(TWinControl* ownerForm)
    : QvSNMPRequest2Controls(ownerForm),
      constraint_(std::make_unique<QvEditConstraint>(ownerForm, 1)) {}

QvSNMPRequest2Edits::~QvSNMPRequest2Edits() {
    // No completion may reach the overrides once this part is gone.
    Shutdown();
}

// --- associations -------------------------------------------------------------

QvOptionList* QvSNMPRequest2Edits::ResolveList(const ControlAssociation& a) const {
    if (a.optionList) return a.optionList;
    if (a.variable < 0 || a.variable >= request.vars.Count()) return nullptr;
    const QvSNMPVar* v = request.vars.Item(a.variable);
    if (a.offset == 0 && a.syntax == v->Syntax) return v->OptionList;
    return nullptr;
}

void QvSNMPRequest2Edits::TakeOverChange(ControlAssociation& a, size_t k) {
    TControl* c = a.controls[k];
    TNotifyEvent* event = ChangeEventOf(c);
    if (!event) return;
    // A control already taken over keeps its first saved handler only, so
    // OnControlChange calls the form's handler once.
    for (const auto& other : associations_)
        for (TControl* oc : other->controls)
            if (oc == c) return;
    for (size_t j = 0; j < k; ++j)
        if (a.controls[j] == c) return;
    a.savedHandlers[k] = *event;
    std::shared_ptr<bool> alive = alive_;
    TNotifyEvent saved = a.savedHandlers[k];
    *event = [this, alive, saved](TObject* sender) {
        if (*alive)
            OnControlChange(sender);
        else if (saved)
            saved(sender); // the group is gone: the form's own handler still runs
    };
}

void QvSNMPRequest2Edits::RestoreChange(ControlAssociation& a, size_t k) {
    TControl* c = a.controls[k];
    TNotifyEvent* event = ChangeEventOf(c);
    if (!event) return;
    // Another association still holding the control takes over its handler.
    for (const auto& other : associations_) {
        if (other.get() == &a) continue;
        for (size_t j = 0; j < other->controls.size(); ++j)
            if (other->controls[j] == c) {
                if (a.savedHandlers[k]) other->savedHandlers[j] = a.savedHandlers[k];
                return;
            }
    }
    *event = a.savedHandlers[k];
}

void QvSNMPRequest2Edits::Store(std::unique_ptr<ControlAssociation> a) {
    a->controlCount = static_cast<int>(a->controls.size());
    a->savedHandlers.assign(a->controls.size(), TNotifyEvent());
    for (size_t k = 0; k < a->controls.size(); ++k)
        TakeOverChange(*a, k);
    associations_.push_back(std::move(a));
}

void QvSNMPRequest2Edits::AssociateControl(int i, TControl* c) {
    auto a = std::make_unique<ControlAssociation>();
    a->variable = i;
    a->offset = 0;
    a->syntax = request.vars.Item(i)->Syntax;
    a->controls.push_back(c);
    QvOptionList* list = ResolveList(*a);
    if (auto* combo = dynamic_cast<TComboBox*>(c)) {
        if (!list) Fail(QVERR_NO_OPTION_LIST);
        // A prefix-matched list needs a second control for the rest of the value.
        if (list->KeyKind == QV_KEY_PREFIX) Fail(QVERR_TOO_FEW_CONTROLS);
        FillComboItems(*list, combo);
    } else if (auto* group = dynamic_cast<TRadioGroup*>(c)) {
        if (!list) Fail(QVERR_NO_OPTION_LIST);
        FillRadioItems(*list, group);
    }
    Store(std::move(a));
}

void QvSNMPRequest2Edits::AssociateComboBox(int i, TComboBox* c) {
    c->SetStyle(csDropDownList);
    AssociateControl(i, c);
}

void QvSNMPRequest2Edits::AssociatePart(int i, TControl* c, int) {
    AssociateControl(i, c);
}

void QvSNMPRequest2Edits::AssociateEdits(int i, const std::string& format,
                                         const std::vector<TControl*>& given) {
    std::vector<TControl*> controls;
    size_t next = 0;
    for (size_t k = 0; k < format.size(); ++k) {
        if (format[k] != '%') continue;
        if (k + 1 >= format.size()) break;
        if (std::strchr("shiufn", format[k + 1]) && format[k + 1] != '\0') {
            if (next < given.size()) controls.push_back(given[next++]);
            ++k;
        }
    }
    std::vector<TEdit*> edits;
    for (TControl* c : controls)
        edits.push_back(dynamic_cast<TEdit*>(c));
    constraint_->CheckAll(format, edits);
    auto a = std::make_unique<ControlAssociation>();
    a->variable = i;
    a->syntax = request.vars.Item(i)->Syntax;
    a->controls = controls;
    Store(std::move(a));
}

void QvSNMPRequest2Edits::AssociateChecks(int i, const std::string& bitNumbers,
                                          const std::vector<TControl*>& boxes) {
    QvNumList<int> numbers(',');
    numbers.Parse(bitNumbers);
    const std::vector<int>& bits = numbers.Items();
    auto a = std::make_unique<ControlAssociation>();
    a->variable = i;
    a->syntax = request.vars.Item(i)->Syntax;
    for (size_t k = 0; k < bits.size(); ++k)
        a->controls.push_back(k < boxes.size() ? boxes[k] : nullptr);
    a->bitNumbers = bits;
    // A bit number without its check box cannot be shown.
    if (std::find(a->controls.begin(), a->controls.end(), nullptr) != a->controls.end())
        Fail(QVERR_TOO_FEW_CONTROLS);
    Store(std::move(a));
}

void QvSNMPRequest2Edits::AssociateChecks(int i, const std::string& bitNumbers, TList* list) {
    std::vector<TControl*> boxes;
    if (list)
        for (int k = 0; k < list->Count(); ++k)
            boxes.push_back(static_cast<TControl*>(list->Items(k)));
    AssociateChecks(i, bitNumbers, boxes);
}

void QvSNMPRequest2Edits::UnbindVariable(int i) {
    for (size_t k = 0; k < associations_.size();) {
        ControlAssociation& a = *associations_[k];
        if (a.variable != i) {
            ++k;
            continue;
        }
        for (size_t j = 0; j < a.controls.size(); ++j) {
            if (auto* edit = dynamic_cast<TEdit*>(a.controls[j])) constraint_->Remove(edit);
            RestoreChange(a, j);
            // Unbound, it no longer stands for this group's failed read.
            if (a.controls[j] && std::erase(disabledByRead_, a.controls[j]))
                a.controls[j]->SetEnabled(true);
        }
        associations_.erase(associations_.begin() + static_cast<std::ptrdiff_t>(k));
    }
}

void QvSNMPRequest2Edits::OnControlChange(TObject* sender) {
    std::shared_ptr<bool> alive = alive_;
    // Copy first: a handler may change the associations.
    std::vector<TNotifyEvent> handlers;
    for (const auto& a : associations_)
        for (size_t k = 0; k < a->controls.size(); ++k)
            if (a->controls[k] == sender && a->savedHandlers[k])
                handlers.push_back(a->savedHandlers[k]);
    for (const TNotifyEvent& h : handlers) {
        h(sender);
        if (!*alive) return;
    }
}

void QvSNMPRequest2Edits::EnableControls(bool enabled) {
    // Disabling the focused control moves the focus, and its exit handler
    // may unbind associations or delete us.
    const std::vector<std::shared_ptr<ControlAssociation>> list = associations_;
    std::shared_ptr<bool> alive = alive_;
    for (const auto& a : list)
        for (size_t k = 0; k < a->controls.size(); ++k) {
            if (!*alive) return;
            if (!Bound(a.get())) break;
            if (TControl* c = a->controls[k]) c->SetEnabled(enabled);
        }
}

void QvSNMPRequest2Edits::ReadEnded() {
    std::shared_ptr<bool> alive = alive_;
    if (!ReadFailed()) {
        const std::vector<TControl*> back = std::move(disabledByRead_);
        disabledByRead_.clear();
        for (TControl* c : back) {
            c->SetEnabled(true);
            if (!*alive) return;
        }
        return;
    }
    const std::vector<std::shared_ptr<ControlAssociation>> list = associations_;
    for (const auto& a : list) {
        if (!Bound(a.get())) continue;
        for (TControl* c : a->controls) {
            if (!c || !c->Enabled()) continue;
            disabledByRead_.push_back(c);
            c->SetEnabled(false); // may move the focus and run exit handlers
            if (!*alive) return;
        }
    }
}

// --- list view -----------------------------------------------------------------

std::vector<int> QvSNMPRequest2Edits::ColumnOrder() const {
    std::vector<int> order;
    for (int i = 0; i < request.vars.Count(); ++i)
        if (request.vars.IsHiddenColumn(i)) order.push_back(i);
    for (int i = 0; i < request.vars.Count(); ++i)
        if (request.vars.IsShown(i) && !request.vars.IsHiddenColumn(i)) order.push_back(i);
    return order;
}

void QvSNMPRequest2Edits::BindListView(TListView* lv, bool select) {
    listView_ = lv;
    if (!lv) return;
    lv->SetReadOnly(true);
    lv->SetRowSelect(true);
    lv->SetGridLines(true);
    lv->SetHideSelection(false);
    lv->SetViewStyle(vsReport);
    savedSelect_ = lv->OnSelectItem;
    std::shared_ptr<bool> alive = alive_;
    auto saved = savedSelect_;
    lv->OnSelectItem = [this, alive, saved](TObject* sender, TListItem* item, bool selected) {
        if (*alive)
            OnListViewSelect(sender, item, selected);
        else if (saved)
            saved(sender, item, selected);
    };
    selectToEdit = select ? 1 : 0;
    BuildColumns();
}

void QvSNMPRequest2Edits::BuildColumns() {
    if (!listView_) return;
    const int n = request.vars.ShownCount() + request.vars.HiddenCount();
    TListColumns& columns = listView_->Columns();
    if (n <= columns.Count()) return;
    columns.Clear();
    for (int i : ColumnOrder()) {
        TListColumn* col = columns.Add();
        col->SetCaption(request.vars.Item(i)->Label ? request.vars.Item(i)->Label : "");
        col->SetAutoSize(false);
        col->SetWidth(request.vars.IsHiddenColumn(i) ? 0 : -2);
    }
}

void QvSNMPRequest2Edits::AddRow(const std::optional<std::string>& caption) {
    TListItem* item = listView_->Items().Add();
    bool first = true;
    for (int i : ColumnOrder()) {
        const std::string& value = *request.vars.Item(i)->Value;
        if (first)
            item->SetCaption(caption.value_or(value));
        else
            item->SubItems().Add(value);
        first = false;
    }
}

void QvSNMPRequest2Edits::SelectedRowToRequest() {
    if (!listView_) return;
    TListItem* item = listView_->Selected();
    if (!item) return;
    int k = 0;
    for (int i : ColumnOrder()) {
        std::string text;
        if (k == 0)
            text = item->Caption();
        else if (k - 1 < item->SubItems().Count())
            text = item->SubItems()[k - 1];
        *request.vars.Item(i)->Value = text;
        ++k;
    }
}

void QvSNMPRequest2Edits::OnListViewSelect(TObject* sender, TListItem* item, bool selected) {
    std::shared_ptr<bool> alive = alive_;
    if (savedSelect_) {
        auto saved = savedSelect_;
        saved(sender, item, selected);
        if (!*alive) return;
    }
    if (!selected) return;
    if (selectToEdit) EnableControls(true);
    SelectedRowToRequest();
    RequestToControls(-1);
}

// --- overridden operations ------------------------------------------------------

void QvSNMPRequest2Edits::BeforeRead() {
    if (listView_) {
        BuildColumns();
        listView_->Items().Clear();
    }
    if (OnBeforeRead) {
        auto hook = OnBeforeRead; // may delete this group
        hook();
    }
}

void QvSNMPRequest2Edits::BeforeWrite() {
    if (OnBeforeWrite) {
        auto hook = OnBeforeWrite; // may delete this group
        hook();
    }
}

void QvSNMPRequest2Edits::RowReceived() {
    if (listView_) {
        AddRow();
        // Long tables fill visibly; the caller checks whether we survived.
        Application->ProcessMessages();
    } else {
        RequestToControls(-1);
    }
}

void QvSNMPRequest2Edits::CollectValues() {
    for (int i = 0; i < request.vars.Count(); ++i)
        *request.vars.Item(i)->Value = "";
    if (listView_) SelectedRowToRequest();
    ControlsToRequest(-1);
}

void QvSNMPRequest2Edits::AfterRead() {
    if (listView_ && selectToEdit && request.vars.ItemType == MVT_FMV) EnableControls(false);
    if (OnAfterRead) {
        auto hook = OnAfterRead; // may delete this group
        hook();
    }
}

void QvSNMPRequest2Edits::AfterWrite() {
    if (OnAfterWrite) {
        auto hook = OnAfterWrite; // may delete this group
        hook();
    }
}

// --- variables to controls -----------------------------------------------------------

void QvSNMPRequest2Edits::RequestToControls(int i) {
    // A copy that keeps every association alive: showing a value fires change
    // handlers, which may unbind associations, bind new ones or delete us.
    const std::vector<std::shared_ptr<ControlAssociation>> list = associations_;
    std::shared_ptr<bool> alive = alive_;
    for (const auto& a : list) {
        if (!Bound(a.get())) continue; // unbound meanwhile: its controls may be gone
        if (i >= 0 && a->variable != i) continue;
        if (a->variable < 0 || a->variable >= request.vars.Count()) continue;
        if (request.vars.Item(a->variable)->Access & QvAccess::Invalid) continue;
        ShowAssociation(*a);
        if (!*alive) return;
    }
}

bool QvSNMPRequest2Edits::Bound(const ControlAssociation* a) const {
    for (const auto& b : associations_)
        if (b.get() == a) return true;
    return false;
}

void QvSNMPRequest2Edits::ShowAssociation(const ControlAssociation& a) {
    std::shared_ptr<bool> alive = alive_;
    const QvSNMPVar* v = request.vars.Item(a.variable);
    std::string text = *v->Value;
    if (v->OptionList) text = v->OptionList->TextToValue(text);
    QvOctetImage octets = TextToOctets(text, v->Syntax);
    QvOptionList* list = ResolveList(a);
    if (a.offset != 0 || a.syntax != v->Syntax) {
        octets = ExtractPartOctets(octets, a.offset, a.syntax);
        text = OctetsToText(octets, a.syntax);
    }
    if (list) text = list->ValueToText(text);
    TControl* first = a.controls.empty() ? nullptr : a.controls[0];
    if (dynamic_cast<TLabel*>(first) || dynamic_cast<TStaticText*>(first)) {
        first->SetCaption(text);
        return;
    }
    if (dynamic_cast<TCheckBox*>(first)) {
        if (!a.bitNumbers.empty()) {
            for (size_t k = 0; k < a.bitNumbers.size(); ++k) {
                const int b = a.bitNumbers[k];
                if (b < 0 || static_cast<size_t>(b / 8) >= octets.size())
                    Fail(QVERR_PARTIAL_INDEX_RANGE);
                if (!*alive || !Bound(&a)) return;
                auto* box = dynamic_cast<TCheckBox*>(a.controls[k]);
                if (box)
                    box->SetChecked((static_cast<unsigned char>(octets[b / 8]) & BitMask(b)) != 0);
            }
        } else if (list) {
            int n = list->IndexOfText(text);
            if (n < 0) n = list->IndexOfValue(text);
            static_cast<TCheckBox*>(first)->SetChecked(n > 0);
        } else if (IsBooleanSyntax(a.syntax)) {
            static_cast<TCheckBox*>(first)->SetChecked(text == "true");
        } else {
            Fail(QVERR_BAD_PARTIAL_SYNTAX);
        }
        return;
    }
    if (auto* combo = dynamic_cast<TComboBox*>(first)) {
        if (list) SelectComboItem(*list, combo, text);
        return;
    }
    if (auto* group = dynamic_cast<TRadioGroup*>(first)) {
        if (list) SelectRadioItem(*list, group, text);
        return;
    }
    if (!dynamic_cast<TEdit*>(first)) Fail(QVERR_BAD_CONTROL_TYPE);

    std::vector<TEdit*> edits;
    for (TControl* c : a.controls)
        edits.push_back(dynamic_cast<TEdit*>(c));
    auto put = [&](size_t k, const std::string& t) {
        if (!*alive || !Bound(&a)) return;
        if (k < edits.size() && edits[k]) {
            edits[k]->SetText(t);
            if (!*alive || !Bound(&a)) return;
            // What the device holds is a good value to come back to.
            constraint_->StoreText(edits[k]);
        }
    };
    const size_t n = edits.size();
    if (n == 1) {
        put(0, text);
        return;
    }
    const bool isNull = text == "(NULL)";
    switch (a.syntax) {
    case BitStr:
    case OctetStr:
    case Opaque:
        if (octets.size() > n) Fail(QVERR_TOO_FEW_CONTROLS);
        for (size_t k = 0; k < octets.size(); ++k)
            put(k, Hex2(static_cast<unsigned char>(octets[k])));
        break;
    case ObjectId: {
        std::vector<std::string> arcs;
        for (const std::string& part : SplitString(text, '.'))
            if (!part.empty()) arcs.push_back(part);
        if (isNull) arcs.clear();
        if (arcs.size() > n) Fail(QVERR_TOO_FEW_CONTROLS);
        for (size_t k = 0; k < arcs.size(); ++k)
            put(k, UIntToStr(static_cast<uint32_t>(LeadingInt(arcs[k]))));
        break;
    }
    case IpAddress:
    case NsapAddr:
        if (n < 4) Fail(QVERR_TOO_FEW_CONTROLS);
        if (isNull) break;
        for (size_t k = 0; k < 4; ++k)
            put(k, k < octets.size() ? UIntToStr(static_cast<unsigned char>(octets[k])) : "0");
        break;
    case TimeTicks: {
        if (n < 5) Fail(QVERR_TOO_FEW_CONTROLS);
        if (isNull) break;
        const auto t = static_cast<uint32_t>(QvHostOrderNumber(octets, 0, 4));
        put(0, UIntToStr(t / 8640000U));
        put(1, UIntToStr(t % 8640000U / 360000U));
        put(2, UIntToStr(t % 360000U / 6000U));
        put(3, UIntToStr(t % 6000U / 100U));
        put(4, UIntToStr(t % 100U));
        break;
    }
    case MacAddress:
        if (n < 6) Fail(QVERR_TOO_FEW_CONTROLS);
        if (isNull) break;
        for (size_t k = 0; k < 6 && k < octets.size(); ++k)
            put(k, Hex2(static_cast<unsigned char>(octets[k])));
        break;
    case DateTime: {
        if (n < 10) Fail(QVERR_TOO_FEW_CONTROLS);
        if (isNull) break;
        QvDateTime d = QvDateTime::Parse(text);
        put(0, UIntToStr(d.Year));
        put(1, UIntToStr(d.Month));
        put(2, UIntToStr(d.Day));
        put(3, UIntToStr(d.Hour));
        put(4, UIntToStr(d.Minutes));
        put(5, UIntToStr(d.Seconds));
        put(6, UIntToStr(d.DeciSeconds));
        put(7, std::string(1, d.Direction));
        put(8, UIntToStr(d.HoursFromUtc));
        put(9, UIntToStr(d.MinutesFromUtc));
        break;
    }
    case BcDateTime: {
        if (n < 7) Fail(QVERR_TOO_FEW_CONTROLS);
        if (isNull) break;
        int y, m, d, h, mi, s, ms;
        DecodeDateTime(std::bit_cast<double>(QvHostOrderNumber(octets, 0, 8)), y, m, d, h, mi, s,
                       ms);
        put(0, IntToStr(y));
        put(1, IntToStr(m));
        put(2, IntToStr(d));
        put(3, IntToStr(h));
        put(4, IntToStr(mi));
        put(5, IntToStr(s));
        put(6, IntToStr(ms));
        break;
    }
    default:
        put(0, text);
        break;
    }
}

// --- controls to variables -----------------------------------------------------------

std::optional<QvOctetImage> QvSNMPRequest2Edits::CollectPart(const ControlAssociation& a,
                                                             QvOptionList* list) {
    TControl* first = a.controls.empty() ? nullptr : a.controls[0];
    auto toValue = [&](std::string t) { return list ? list->TextToValue(t) : t; };
    if (dynamic_cast<TLabel*>(first) || dynamic_cast<TStaticText*>(first))
        return TextToOctets(toValue(first->Caption()), a.syntax);
    if (dynamic_cast<TCheckBox*>(first)) {
        if (!a.bitNumbers.empty()) {
            QvOctetImage part;
            for (size_t k = 0; k < a.bitNumbers.size(); ++k) {
                const int b = a.bitNumbers[k];
                if (b < 0) continue;
                const size_t byte = static_cast<size_t>(b / 8);
                if (part.size() < byte + 1) part.resize(byte + 1, '\0');
                auto* box = dynamic_cast<TCheckBox*>(a.controls[k]);
                unsigned char octet = static_cast<unsigned char>(part[byte]);
                if (box && box->Checked())
                    octet |= BitMask(b);
                else
                    octet &= static_cast<unsigned char>(~BitMask(b));
                part[byte] = static_cast<char>(octet);
            }
            return part;
        }
        const bool checked = static_cast<TCheckBox*>(first)->Checked();
        if (list) {
            std::string t;
            if (list->Count() > 0)
                t = list->GetPair(std::min(checked ? 1 : 0, list->Count() - 1))->Text;
            return TextToOctets(list->TextToValue(t), a.syntax);
        }
        if (!IsBooleanSyntax(a.syntax)) Fail(QVERR_BAD_PARTIAL_SYNTAX);
        return TextToOctets(checked ? "true" : "false", a.syntax);
    }
    // A list without a selection holds no value; its empty text would be
    // written as 0.
    if (auto* combo = dynamic_cast<TComboBox*>(first)) {
        const int k = combo->ItemIndex();
        const bool selected = k >= 0 && k < combo->Items().Count();
        if (!selected && combo->Style() == csDropDownList) return std::nullopt;
        std::string t = selected ? combo->Items()[k] : combo->Text();
        return TextToOctets(toValue(t), a.syntax);
    }
    if (auto* group = dynamic_cast<TRadioGroup*>(first)) {
        const int k = group->ItemIndex();
        if (k < 0 || k >= group->Items().Count()) return std::nullopt;
        return TextToOctets(toValue(group->Items()[k]), a.syntax);
    }
    if (!dynamic_cast<TEdit*>(first)) return QvOctetImage();

    std::vector<TEdit*> edits;
    for (TControl* c : a.controls)
        edits.push_back(dynamic_cast<TEdit*>(c));
    for (TEdit* e : edits)
        if (!e) Fail(QVERR_BAD_CONTROL_TYPE);
    const size_t n = edits.size();
    auto at = [&](size_t k) { return edits[k]->Text(); };
    std::string text;
    if (n == 1) {
        text = at(0);
    } else {
        switch (a.syntax) {
        case BitStr:
        case OctetStr:
        case Opaque:
            text = JoinHex(edits, n);
            break;
        case ObjectId:
            for (size_t k = 0; k < n; ++k)
                text += (k ? "." : "") + Number(at(k));
            break;
        case IpAddress:
        case NsapAddr:
            if (n < 4) Fail(QVERR_TOO_FEW_CONTROLS);
            for (size_t k = 0; k < 4; ++k)
                text += (k ? "." : "") + Number(at(k));
            break;
        case TimeTicks: {
            if (n < 5) Fail(QVERR_TOO_FEW_CONTROLS);
            auto num = [&](size_t k) { return static_cast<uint64_t>(LeadingInt(at(k))); };
            const uint64_t t = num(0) * 8640000ULL + num(1) * 360000ULL + num(2) * 6000ULL +
                               num(3) * 100ULL + num(4);
            text = QvTimeTicksToText(static_cast<uint32_t>(t));
            break;
        }
        case MacAddress:
            if (n < 6) Fail(QVERR_TOO_FEW_CONTROLS);
            text = JoinHex(edits, 6);
            break;
        case DateTime: {
            if (n < 10) Fail(QVERR_TOO_FEW_CONTROLS);
            auto num = [&](size_t k) { return static_cast<unsigned long long>(LeadingInt(at(k))); };
            const std::string dir = at(7);
            QvDateTime d(static_cast<uint16_t>(num(0)), static_cast<uint8_t>(num(1)),
                         static_cast<uint8_t>(num(2)), static_cast<uint8_t>(num(3)),
                         static_cast<uint8_t>(num(4)), static_cast<uint8_t>(num(5)),
                         static_cast<uint8_t>(num(6)), dir.empty() ? '+' : dir[0],
                         static_cast<uint8_t>(num(8)), static_cast<uint8_t>(num(9)));
            text = d.GetPrintable();
            break;
        }
        case BcDateTime: {
            if (n < 7) Fail(QVERR_TOO_FEW_CONTROLS);
            auto num = [&](size_t k) { return static_cast<int>(LeadingInt(at(k))); };
            text = FormatDateTime(
                "yyyy/mm/dd hh:nn:ss am/pm",
                EncodeDateTime(num(0), num(1), num(2), num(3), num(4), num(5), num(6)));
            break;
        }
        default:
            text = at(0);
            break;
        }
    }
    return TextToOctets(toValue(text), a.syntax);
}

void QvSNMPRequest2Edits::ControlsToRequest(int i) {
    for (int vi = 0; vi < request.vars.Count(); ++vi) {
        if (i >= 0 && vi != i) continue;
        if (!request.vars.IsWritable(vi)) continue;
        QvSNMPVar* v = request.vars.Item(vi);
        std::string text = *v->Value;
        if (v->OptionList) text = v->OptionList->TextToValue(text);
        QvOctetImage whole = TextToOctets(text, v->Syntax);
        bool any = false, empty = false;
        unsent_.erase(std::remove(unsent_.begin(), unsent_.end(), vi), unsent_.end());
        for (const auto& a : associations_) {
            if (a->variable != vi) continue;
            // A display string is rebuilt from its controls alone.
            if (!any && v->Syntax == DisplayStr) whole.clear();
            any = true;
            QvOptionList* list = ResolveList(*a);
            std::optional<QvOctetImage> part = CollectPart(*a, list);
            if (!part) {
                empty = true;
                continue;
            }
            const size_t end = static_cast<size_t>(a->offset) + part->size();
            if (whole.size() < end) whole.resize(end, '\0');
            whole.replace(static_cast<size_t>(a->offset), part->size(), *part);
        }
        if (!any) continue;
        // The variable keeps its text and stays out of the next write; a
        // table's key is never sent, so it simply keeps its text.
        if (empty) {
            if (!(request.vars.IsTable() && vi < static_cast<int>(request.vars.PKeyCount)))
                unsent_.push_back(vi);
            continue;
        }
        text = OctetsToText(whole, v->Syntax);
        if (v->OptionList) text = v->OptionList->ValueToText(text);
        *v->Value = text;
    }
}
