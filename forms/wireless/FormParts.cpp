#include "forms/wireless/FormParts.h"

#include "binding/QvSNMPRequest2Controls.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/PageControl.h"
#include "ui/Widgets.h"

#include <exception>

namespace formparts {

void Fill(TComboBox* c, std::initializer_list<const char*> items) {
    c->Items().Clear();
    for (const char* s : items)
        c->Items().Add(s);
}

BandPages MakeBandPages(TForm* form, const std::string& name, const std::string& band1Name,
                        const std::string& band2Name, int l, int t, int w, int h) {
    BandPages b{};
    b.pages = NewControl<TPageControl>(form, form, name, l, t, w, h);
    b.band1 = new TTabSheet(b.pages);
    b.band1->SetName(band1Name);
    b.band1->SetCaption("IEEE 802.11a");
    b.band2 = new TTabSheet(b.pages);
    b.band2->SetName(band2Name);
    b.band2->SetCaption("IEEE 802.11g");
    b.band2->SetTabVisible(false);
    return b;
}

bool IsKeyMask(const std::string& text) {
    return !text.empty() && text.find_first_not_of('*') == std::string::npos;
}

std::string KeyMask(int length) { return std::string(length > 0 ? length : 0, '*'); }

bool IsHexText(const std::string& text) {
    for (char c : text) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
        if (!hex) return false;
    }
    return true;
}

std::string AsciiToHex(const std::string& text, HexCase hexCase) {
    const char* digits = hexCase == HexCase::Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    std::string out;
    out.reserve(2 * text.size());
    for (unsigned char c : text) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string HexToAscii(const std::string& text) {
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return 0;
    };
    std::string out;
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        out += static_cast<char>(16 * nibble(text[i]) + nibble(text[i + 1]));
    return out;
}

int KeyLength(bool ascii, int sizeIndex) {
    static const int hex[] = {10, 26, 32};
    static const int chars[] = {5, 13, 16};
    const int size = sizeIndex >= 0 && sizeIndex < 3 ? sizeIndex : 0;
    return ascii ? chars[size] : hex[size];
}

int KeySizeOfHexLength(size_t length) {
    if (length == 10) return 0;
    if (length == 26) return 1;
    if (length == 32) return 2;
    return -1;
}

KeyUse OutgoingKey(TEdit* edit, bool ascii, HexCase hexCase, std::string* value) {
    const std::string text = edit->Text();
    // An empty key is never sent; the forms' length checks refuse it first.
    if (text.empty() || IsKeyMask(text)) return KeyUse::Keep;
    if (ascii) {
        if (value) *value = AsciiToHex(text, hexCase);
        return KeyUse::Send;
    }
    if (!IsHexText(text)) {
        ShowMessage("Please input  Hexadecimal digits!");
        edit->Clear();
        return KeyUse::Refused;
    }
    if (value) *value = text;
    return KeyUse::Send;
}

void CollectingGroup::CollectValues() {
    QvSNMPRequest2Edits::CollectValues();
    if (OnCollected) {
        auto hook = OnCollected;
        hook();
    }
}

bool ReadNow(QvSNMPRequest2Controls* group) {
    try {
        return group->Read();
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace formparts
