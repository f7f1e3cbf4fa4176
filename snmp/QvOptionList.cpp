#include "snmp/QvOptionList.h"

#include "base/Exception.h"
#include "base/SysUtils.h"


QvOptionList::QvOptionList(const QvPairDef* table, uint32_t keyKind, uint8_t caseSensitive)
    : KeyKind(keyKind), CaseSensitive(caseSensitive) {
    AddPairs(table);
}

QvOptionList::~QvOptionList() {
    Clear();
}

int QvOptionList::CountPairs(const QvPairDef* table) {
    int n = 0;
    if (table)
        while (table[n].Text)
            ++n;
    return n;
}

void QvOptionList::AddPairs(const QvPairDef* table) {
    int n = CountPairs(table);
    pairs_.reserve(pairs_.size() + static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        QvOptionPair p;
        if (KeyKind == QV_KEY_INTEGER)
            p.Value = table[i].Value.Int;
        else if (table[i].Value.Text)
            p.ValueText = table[i].Value.Text;
        p.Text = table[i].Text;
        pairs_.push_back(std::move(p));
    }
}

void QvOptionList::Clear() {
    pairs_.clear();
}

// Whole-text match for the integer and text kinds; for the prefix kind the
// pair's text must begin the given one.
bool QvOptionList::Matches(const std::string& pairText, const std::string& text) const {
    if (KeyKind == QV_KEY_PREFIX) {
        if (pairText.size() > text.size()) return false;
        std::string head = text.substr(0, pairText.size());
        return CaseSensitive ? head == pairText : SameText(head, pairText);
    }
    return CaseSensitive ? text == pairText : SameText(text, pairText);
}

int QvOptionList::IndexOfText(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (Matches(pairs_[static_cast<size_t>(i)].Text, text)) return i;
    return -1;
}

int QvOptionList::IndexOfValue(const std::string& valueText) const {
    if (KeyKind == QV_KEY_INTEGER) {
        if (valueText == "(NULL)") return -1;
        long long v;
        try {
            v = StrToInt(valueText);
        } catch (const EConvertError&) {
            return -1;
        }
        for (int i = 0; i < Count(); ++i)
            if (pairs_[static_cast<size_t>(i)].Value == v) return i;
        return -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (Matches(pairs_[static_cast<size_t>(i)].ValueText, valueText)) return i;
    return -1;
}

std::string QvOptionList::ValueToText(const std::string& valueText) const {
    int i = IndexOfValue(valueText);
    if (i < 0) return valueText;
    const QvOptionPair& p = pairs_[static_cast<size_t>(i)];
    if (KeyKind == QV_KEY_PREFIX) return p.Text + valueText.substr(p.ValueText.size());
    return p.Text;
}

std::string QvOptionList::TextToValue(const std::string& text) const {
    int i = IndexOfText(text);
    if (i < 0) return text;
    const QvOptionPair& p = pairs_[static_cast<size_t>(i)];
    if (KeyKind == QV_KEY_INTEGER) return IntToStr(p.Value);
    if (KeyKind == QV_KEY_PREFIX) return p.ValueText + text.substr(p.Text.size());
    return p.ValueText;
}
