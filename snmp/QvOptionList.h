#pragma once
// Value/text pairs of an enumerated variable: the names shown in combo boxes
// and radio groups, and the conversions between a value and its name.
#include <cstdint>
#include <string>
#include <vector>

// Key kinds of an option list.
constexpr uint32_t QV_KEY_INTEGER = 1; // the value is an integer
constexpr uint32_t QV_KEY_TEXT = 2;    // the value is a text, matched whole
constexpr uint32_t QV_KEY_PREFIX = 3;  // the value is a text, matched as a prefix

// The value word of a static pair: an integer, or a text for the text kinds.
struct QvPairValue {
    constexpr QvPairValue(int value) : Int(value), Text(nullptr) {}
    constexpr QvPairValue(const char* text) : Int(0), Text(text) {}
    int Int;
    const char* Text;
};

// One entry of a static pair table; a table ends with an entry whose Text is
// null, e.g. {{4, "Disable"}, {1, "Enable"}, {0, nullptr}}.
struct QvPairDef {
    QvPairValue Value;
    const char* Text;
};

// An owned copy of a pair.
struct QvOptionPair {
    int Value = 0;         // integer lists
    std::string ValueText; // text lists
    std::string Text;
};

class QvOptionList {
public:
    QvOptionList() = default;
    explicit QvOptionList(const QvPairDef* table, uint32_t keyKind = QV_KEY_INTEGER,
                          uint8_t caseSensitive = 0);
    ~QvOptionList();
    QvOptionList(const QvOptionList&) = delete;
    QvOptionList& operator=(const QvOptionList&) = delete;

    uint32_t KeyKind = QV_KEY_INTEGER;
    uint8_t CaseSensitive = 0;

    int Count() const { return static_cast<int>(pairs_.size()); }
    // Appends copies of the entries up to the first null text; null adds nothing.
    void AddPairs(const QvPairDef* table);
    void Clear();
    // No bound check: 0 <= i < Count().
    const QvOptionPair* GetPair(int i) const { return &pairs_[static_cast<size_t>(i)]; }

    int IndexOfText(const std::string& text) const;
    int IndexOfValue(const std::string& valueText) const;
    // Unmatched input comes back unchanged.
    std::string ValueToText(const std::string& valueText) const;
    std::string TextToValue(const std::string& text) const;

    // Number of entries of a static pair table before its terminator.
    static int CountPairs(const QvPairDef* table);

private:
    bool Matches(const std::string& pairText, const std::string& text) const;

    std::vector<QvOptionPair> pairs_;
};
