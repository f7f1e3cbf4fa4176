#pragma once
// A list of numbers parsed from delimited text such as "0,2" or "192.168.0.1".
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

template <class T> class QvNumList {
    static_assert(std::is_integral_v<T>, "integer lists only");

public:
    explicit QvNumList(char delimiter = '.') : Delimiter(delimiter) {}

    char Delimiter;

    // One item more than there are delimiters ("" gives none). Each item is
    // read as far as it goes: an optional "-", decimal digits, and a "."
    // (when it is not the delimiter) starts a fraction that is dropped.
    // Values wrap to T's width; nothing is raised.
    void Parse(const std::string& text) {
        items_.clear();
        if (text.empty()) return;
        size_t start = 0;
        for (;;) {
            size_t end = text.find(Delimiter, start);
            items_.push_back(ReadItem(text, start, end == std::string::npos ? text.size() : end));
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }

    int Count() const { return static_cast<int>(items_.size()); }
    // No bound check: 0 <= i < Count().
    T operator[](int i) const { return items_[static_cast<size_t>(i)]; }
    T Item(int i) const { return items_[static_cast<size_t>(i)]; }
    const std::vector<T>& Items() const { return items_; }

    // True when every item lies in [minimum, maximum]; an empty list is.
    bool AllInRange(T minimum, T maximum) const {
        for (T v : items_)
            if (v < minimum || v > maximum) return false;
        return true;
    }

    int IndexOf(T value) const {
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i] == value) return static_cast<int>(i);
        return -1;
    }

private:
    static T ReadItem(const std::string& text, size_t pos, size_t end) {
        bool negative = pos < end && text[pos] == '-';
        if (negative) ++pos;
        uint64_t v = 0;
        for (; pos < end && text[pos] >= '0' && text[pos] <= '9'; ++pos)
            v = v * 10u + static_cast<uint64_t>(text[pos] - '0'); // wraps, never overflows UB
        if (negative) v = 0u - v;
        return static_cast<T>(v);
    }

    std::vector<T> items_;
};
