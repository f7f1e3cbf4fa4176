#include "binding/QvEditConstraint.h"

#include "snmp/QvErrors.h"
#include "snmp/QvExpression.h"
#include "snmp/QvNumList.h"
#include "ui/Application.h"
#include "ui/Dialogs.h"
#include "base/SysUtils.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <cfloat>
#include <memory>
#include <utility>

namespace {

[[noreturn]] void BadFormat() {
    RaiseQvCommonError(QVCOM_BAD_CONSTRAINT_FORMAT);
}

bool IsPlaceholder(const std::string& text) {
    return text == "(NOTDONE)" || text == "(NULL)";
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// A bound of an "n" list: the double truncated into the 32-bit range.
unsigned int ListBound(double v) {
    if (!(v > 0)) return 0;
    if (v >= 4294967295.0) return 4294967295U;
    return static_cast<unsigned int>(v);
}

// Every occurrence of a placeholder, left to right.
std::string Fill(const std::string& text, const std::string& key, const std::string& value) {
    return StringReplaceAll(text, key, value);
}

} // namespace

int QvShowOwnedMessage(TWinControl* owner, const std::string& text) {
    return MessageBox(owner, text, ApplicationTitle(), MB_OK);
}

QvEditConstraint::QvEditConstraint(TWinControl* owner, uint8_t storeFlag)
    : owner_(owner), storeFlag_(storeFlag), self_(std::make_shared<QvEditConstraint*>(this)) {}

QvEditConstraint::~QvEditConstraint() {
    // Handlers still installed on edits that outlive us pass straight on.
    *self_ = nullptr;
    for (_EditConstraint_s* b : bindings_)
        delete b;
}

void QvEditConstraint::Parse(const std::string& text, _EditConstraint_s& c) {
    if (text.size() < 2 || text[0] != '%') BadFormat();
    char type = text[1];
    if (std::string("fhinsu").find(type) == std::string::npos) BadFormat();
    size_t at = 2;
    char delimiter = 0;
    if (type == 'n') {
        if (text.size() < 3) BadFormat();
        delimiter = text[2];
        at = 3;
    }
    double minimum = DBL_MIN, maximum = DBL_MAX;
    if (type == 'i') {
        minimum = -2147483648.0;
        maximum = 2147483647.0;
    } else if (type == 'u') {
        minimum = 0;
        maximum = 4294967295.0;
    }
    int length = 0, width = 0;
    uint16_t flags = 0;
    char exitChar = 0;
    if (at < text.size()) {
        if (text[at] != '{' || text.back() != '}' || text.size() < at + 2) BadFormat();
        const std::string items = text.substr(at + 1, text.size() - at - 2);
        size_t i = 0;
        auto number = [&](const char* chars) {
            size_t start = i;
            while (i < items.size() && std::string(chars).find(items[i]) != std::string::npos)
                ++i;
            if (i == start) BadFormat();
            return items.substr(start, i - start);
        };
        while (i < items.size()) {
            char letter = items[i++];
            switch (letter) {
            case 'n':
                minimum = LeadingFloat(number("-0123456789."));
                break;
            case 'x':
                maximum = LeadingFloat(number("-0123456789."));
                break;
            case 'l': {
                length = static_cast<int>(
                    std::min<long long>(LeadingInt(number("0123456789")), 0x7FFFFFFF));
                flags = 0;
                for (int k = 0; k < 3 && i < items.size(); ++k) {
                    char f = items[i];
                    if (f == 'a')
                        flags |= QV_EC_AUTO_ADVANCE;
                    else if (f == 'f')
                        flags |= QV_EC_EXACT_LENGTH;
                    else if (f == 'n')
                        flags |= QV_EC_REQUIRED;
                    else
                        break;
                    ++i;
                }
                break;
            }
            case 'w':
                width = static_cast<int>(
                    std::min<long long>(LeadingInt(number("0123456789")), 0x7FFFFFFF));
                break;
            case 'e':
                if (i >= items.size()) BadFormat();
                exitChar = items[i++];
                break;
            default:
                BadFormat();
            }
        }
    }
    c.type = type;
    c.delimiter = delimiter;
    c.minimum = minimum;
    c.maximum = maximum;
    c.length = length;
    c.flags = flags;
    c.exitChar = exitChar;
    c.width = width;
}

int QvEditConstraint::FirstRefused(const _EditConstraint_s& c, const std::string& text) {
    bool dotSeen = false;
    for (size_t k = 0; k < text.size(); ++k) {
        char ch = text[k];
        bool ok = true;
        switch (c.type) {
        case 'h':
            ok = IsHexDigit(ch);
            break;
        case 'i':
            ok = IsDigit(ch) || (ch == '-' && k == 0);
            break;
        case 'u':
            ok = IsDigit(ch);
            break;
        case 'f':
            if (ch == '.') {
                ok = !dotSeen;
                dotSeen = true;
            } else {
                ok = IsDigit(ch) || (ch == '-' && k == 0);
            }
            break;
        case 'n':
            if (ch == c.delimiter)
                ok = k > 0 && text[k - 1] != c.delimiter;
            else
                ok = IsDigit(ch);
            break;
        default: // "s": anything
            break;
        }
        if (!ok) return static_cast<int>(k);
    }
    return -1;
}

std::string QvEditConstraint::ExitMessage(const _EditConstraint_s& c, const std::string& text) {
    if (text.empty())
        return (c.flags & QV_EC_REQUIRED) ? g_CommonMessages[QVCOM_EMPTY_VALUE] : std::string();
    const bool exact = (c.flags & QV_EC_EXACT_LENGTH) != 0;
    switch (c.type) {
    case 's':
    case 'h': {
        if (c.length <= 0) return "";
        const int len = static_cast<int>(text.size());
        if (exact && len != c.length)
            return Fill(g_CommonMessages[c.type == 's' ? QVCOM_STRING_LENGTH : QVCOM_HEX_LENGTH],
                        "[LEN]", IntToStr(c.length));
        if (!exact && len > c.length)
            return Fill(
                g_CommonMessages[c.type == 's' ? QVCOM_STRING_TOO_LONG : QVCOM_HEX_TOO_LONG],
                "[MAXLEN]", IntToStr(c.length));
        return "";
    }
    case 'f':
    case 'i':
    case 'u': {
        double v = LeadingFloat(text);
        if (v < c.minimum || v > c.maximum)
            return Fill(Fill(g_CommonMessages[QVCOM_NUMBER_RANGE], "[MIN]", FloatToStr(c.minimum)),
                        "[MAX]", FloatToStr(c.maximum));
        return "";
    }
    case 'n': {
        QvNumList<unsigned int> items(c.delimiter);
        items.Parse(text);
        const std::string delim(1, c.delimiter);
        const int count = items.Count();
        if (c.length > 0) {
            if (exact && count != c.length)
                return Fill(Fill(g_CommonMessages[QVCOM_NUMLIST_COUNT], "[DELIMITER]", delim),
                            "[COUNT]", IntToStr(c.length));
            if (!exact && count > c.length)
                return Fill(Fill(g_CommonMessages[QVCOM_NUMLIST_MAX_COUNT], "[DELIMITER]", delim),
                            "[MAXCOUNT]", IntToStr(c.length));
        }
        const unsigned int lo = ListBound(c.minimum), hi = ListBound(c.maximum);
        if (!items.AllInRange(lo, hi))
            return Fill(Fill(Fill(g_CommonMessages[QVCOM_NUMLIST_RANGE], "[DELIMITER]", delim),
                             "[MIN]", UIntToStr(lo)),
                        "[MAX]", UIntToStr(hi));
        return "";
    }
    }
    return "";
}

void QvEditConstraint::CheckEdit(TEdit* edit, const std::string& constraint) {
    if (!edit) return;
    _EditConstraint_s parsed;
    Parse(constraint, parsed);
    Remove(edit);
    auto* b = new _EditConstraint_s(parsed);
    b->edit = edit;
    if (b->width > 0) edit->SetWidth(b->width);
    edit->SetMaxLength(b->length);
    b->previousChange = edit->OnChange;
    b->previousExit = edit->OnExit;
    std::shared_ptr<QvEditConstraint*> self = self_;
    // Once the constraint object is gone, the edit's own handlers still run.
    TNotifyEvent change = b->previousChange, exit = b->previousExit;
    edit->OnChange = [self, change](TObject* sender) {
        if (*self)
            (*self)->NormalizeEdit(sender);
        else if (change)
            change(sender);
    };
    edit->OnExit = [self, exit](TObject* sender) {
        if (*self)
            (*self)->ValidateEdit(sender);
        else if (exit)
            exit(sender);
    };
    bindings_.push_back(b);
}

void QvEditConstraint::CheckAll(const std::string& format, const std::vector<TEdit*>& edits) {
    std::vector<std::string> pieces;
    size_t start = 0;
    for (size_t k = 1; k <= format.size(); ++k) {
        if (k == format.size() || format[k] == '%') {
            pieces.push_back(format.substr(start, k - start));
            start = k;
        }
    }
    // Only a "%" with a type letter is a constraint and takes an edit; text
    // after a constraint (the dots of "%u.%u.%u.%u") separates, it does not
    // belong to it.
    size_t next = 0;
    std::vector<std::pair<TEdit*, std::string>> pairs;
    for (const std::string& piece : pieces) {
        if (piece.size() < 2 || piece[0] != '%' ||
            std::string("fhinsu").find(piece[1]) == std::string::npos)
            continue;
        size_t head = piece[1] == 'n' ? 3 : 2;
        std::string constraint = piece;
        if (head <= piece.size() && (head == piece.size() || piece[head] != '{'))
            constraint = piece.substr(0, head);
        else if (size_t close = piece.rfind('}'); close != std::string::npos && close > head)
            constraint = piece.substr(0, close + 1);
        if (next >= edits.size()) break;
        pairs.emplace_back(edits[next++], constraint);
    }
    // A bad constraint anywhere binds none of them.
    for (const auto& [edit, constraint] : pairs) {
        _EditConstraint_s probe;
        Parse(constraint, probe);
    }
    for (const auto& [edit, constraint] : pairs)
        CheckEdit(edit, constraint);
}

void QvEditConstraint::Remove(TEdit* edit) {
    auto it = std::find_if(bindings_.begin(), bindings_.end(),
                           [edit](const _EditConstraint_s* b) { return b->edit == edit; });
    if (it == bindings_.end()) return;
    _EditConstraint_s* b = *it;
    bindings_.erase(it);
    edit->OnChange = b->previousChange;
    edit->OnExit = b->previousExit;
    delete b;
}

const _EditConstraint_s* QvEditConstraint::Find(const TEdit* edit) const {
    for (const _EditConstraint_s* b : bindings_)
        if (b->edit == edit) return b;
    return nullptr;
}

_EditConstraint_s* QvEditConstraint::FindMutable(const TObject* edit) {
    for (_EditConstraint_s* b : bindings_)
        if (b->edit == edit) return b;
    return nullptr;
}

void QvEditConstraint::StoreText(TEdit* edit) {
    if (_EditConstraint_s* b = FindMutable(edit)) b->savedText = edit->Text();
}

void QvEditConstraint::PostNextControl() {
    if (owner_) PostMessage(owner_, WM_NEXTDLGCTL, 0, 0);
}

void QvEditConstraint::NormalizeEdit(TObject* sender) {
    _EditConstraint_s* b = FindMutable(sender);
    if (!b) return;
    TEdit* edit = b->edit;
    std::string text = edit->Text();
    if (text.empty() || IsPlaceholder(text)) return;
    if (b->exitChar) {
        size_t at = text.find(b->exitChar);
        if (at != std::string::npos) {
            text.erase(at, 1);
            PostNextControl();
            edit->SetText(text);
            return;
        }
    }
    int refused = FirstRefused(*b, text);
    if (refused >= 0) {
        text.erase(static_cast<size_t>(refused), 1);
        Beep(1000, 200);
        // The rewritten text raises a new change event, which scans again.
        edit->SetText(text);
        edit->SetSelStart(refused);
        return;
    }
    auto self = self_;
    TNotifyEvent previous = b->previousChange;
    if (previous) {
        previous(sender);
        if (!*self) return;
        b = FindMutable(sender);
        if (!b) return;
    }
    if (edit->Tag() == -1) return;
    if ((b->flags & QV_EC_AUTO_ADVANCE) && b->length > 0 &&
        static_cast<int>(edit->Text().size()) == b->length)
        PostNextControl();
}

bool QvEditConstraint::CheckNow(TEdit* edit) {
    _EditConstraint_s* b = FindMutable(edit);
    if (!b) return true;
    const std::string text = edit->Text();
    if (IsPlaceholder(text)) return true;
    if (text.empty() && !(b->flags & QV_EC_REQUIRED)) return true;
    const std::string message = ExitMessage(*b, text);
    if (message.empty()) return true;
    auto self = self_;
    QvShowOwnedMessage(owner_, message);
    if (!*self || !(b = FindMutable(edit))) return false;
    edit->SetText(b->savedText);
    edit->SetFocus();
    return false;
}

void QvEditConstraint::ValidateEdit(TObject* sender) {
    _EditConstraint_s* b = FindMutable(sender);
    if (!b) return;
    TEdit* edit = b->edit;
    const std::string text = edit->Text();
    if (IsPlaceholder(text)) return;
    if (text.empty() && !(b->flags & QV_EC_REQUIRED)) return;
    const std::string message = ExitMessage(*b, text);
    auto self = self_;
    if (!message.empty()) {
        QvShowOwnedMessage(owner_, message);
        if (!*self || !(b = FindMutable(sender))) return;
        edit->SetText(b->savedText);
        edit->SetFocus();
        return;
    }
    TNotifyEvent previous = b->previousExit;
    if (previous) {
        previous(sender);
        if (!*self || !(b = FindMutable(sender))) return;
    }
    if (edit->Tag() == -1) {
        edit->SetText(b->savedText);
        return;
    }
    if (storeFlag_) b->savedText = edit->Text();
}
