#include "ui/Strings.h"

#include "base/Exception.h"
#include "base/SysUtils.h"

#include <algorithm>
#include <fstream>
#include <sstream>

TObject* TStrings::Objects(int index) const {
    CheckIndex(index, Count());
    return nullptr;
}

void TStrings::SetObjects(int index, TObject*) {
    CheckIndex(index, Count());
}

void TStrings::IndexError(int index) {
    throw EListError("List index out of bounds (" + IntToStr(index) + ")");
}

void TStrings::CheckIndex(int index, int count) const {
    if (index < 0 || index >= count) IndexError(index);
}

int TStrings::Add(const std::string& text) {
    const int index = Count();
    Insert(index, text);
    return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
    const int index = Add(text);
    SetObjects(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings& other) {
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i)
        AddObject(other.Strings(i), other.Objects(i));
    EndUpdate();
}

void TStrings::Assign(const TStrings& other) {
    if (&other == this) return;
    BeginUpdate();
    Clear();
    AddStrings(other);
    EndUpdate();
}

void TStrings::Exchange(int a, int b) {
    const std::string ta = Strings(a);
    TObject* oa = Objects(a);
    SetStrings(a, Strings(b));
    SetObjects(a, Objects(b));
    SetStrings(b, ta);
    SetObjects(b, oa);
}

int TStrings::IndexOf(const std::string& text) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Strings(i), text)) return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i)
        if (Objects(i) == object) return i;
    return -1;
}

std::string TStrings::Text() const {
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        out += Strings(i);
        out += '\n';
    }
    return out;
}

void TStrings::SetText(const std::string& text) {
    BeginUpdate();
    Clear();
    std::string line;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            Add(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
        }
        ++i;
    }
    if (!line.empty()) Add(line);
    EndUpdate();
}

std::string TStrings::CommaText() const {
    std::string out;
    for (int i = 0; i < Count(); ++i) {
        if (i) out += ',';
        const std::string s = Strings(i);
        const bool quote = s.empty() || s.find_first_of(" ,\"") != std::string::npos;
        if (!quote) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

void TStrings::LoadFromFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) throw EFOpenError("Cannot open file \"" + fileName + "\"");
    std::ostringstream buffer;
    buffer << in.rdbuf();
    SetText(buffer.str());
}

void TStrings::SaveToFile(const std::string& fileName) const {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) throw EFCreateError("Cannot create file \"" + fileName + "\"");
    const std::string text = Text();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) throw EFCreateError("Cannot write file \"" + fileName + "\"");
}

std::vector<std::string> TStrings::ToVector() const {
    std::vector<std::string> v;
    v.reserve(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i)
        v.push_back(Strings(i));
    return v;
}

// --- TStringList ---------------------------------------------------------------

TStringList::TStringList(std::initializer_list<std::string> items) {
    for (const auto& s : items)
        items_.push_back({s, nullptr});
}

std::string TStringList::Strings(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].text;
}

void TStringList::SetStrings(int index, const std::string& text) {
    CheckIndex(index, Count());
    items_[static_cast<size_t>(index)].text = text;
    Changed();
}

void TStringList::Insert(int index, const std::string& text) {
    if (index < 0 || index > Count()) IndexError(index);
    items_.insert(items_.begin() + index, Item{text, nullptr});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count());
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    items_.clear();
    Changed();
}

TObject* TStringList::Objects(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::SetObjects(int index, TObject* object) {
    CheckIndex(index, Count());
    items_[static_cast<size_t>(index)].object = object;
}

int TStringList::Compare(const std::string& a, const std::string& b) const {
    return caseSensitive_ ? CompareStr(a, b) : CompareText(a, b);
}

int TStringList::Add(const std::string& text) {
    if (!sorted_) return TStrings::Add(text);
    int index = 0;
    if (Find(text, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError)
            throw EStringListError("String list does not allow duplicates");
    }
    items_.insert(items_.begin() + index, Item{text, nullptr});
    Changed();
    return index;
}

int TStringList::IndexOf(const std::string& text) const {
    if (!sorted_) {
        for (int i = 0; i < Count(); ++i)
            if (Compare(items_[static_cast<size_t>(i)].text, text) == 0) return i;
        return -1;
    }
    int index = 0;
    return Find(text, index) ? index : -1;
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == sorted_) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::Sort() {
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
    Changed();
}

bool TStringList::Find(const std::string& text, int& index) const {
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = Compare(items_[static_cast<size_t>(mid)].text, text);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

void TStringList::Changed() {
    if (OnChange) OnChange(this);
}

// --- TList ---------------------------------------------------------------------

void* TList::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return items_[static_cast<size_t>(index)];
}

void TList::SetItems(int index, void* item) {
    Items(index);
    items_[static_cast<size_t>(index)] = item;
}

int TList::Add(void* item) {
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
    Items(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item) {
    const int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

int TList::IndexOf(const void* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}
