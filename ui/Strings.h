#pragma once
// Lists: TStrings (the abstract list of texts that controls expose as Items or
// Lines), TStringList (a stand-alone one) and TList (a list of pointers).
#include "ui/Component.h"
#include "base/Exception.h"
#include <memory>
#include <string>
#include <vector>

class TStrings : public TObject {
public:
    ~TStrings() override = default;

    virtual int Count() const = 0;
    virtual std::string Strings(int index) const = 0;
    virtual void SetStrings(int index, const std::string& text) = 0;
    virtual void Insert(int index, const std::string& text) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual TObject* Objects(int index) const;
    virtual void SetObjects(int index, TObject* object);
    // Bracket many changes; controls repaint once at the end.
    virtual void BeginUpdate() {}
    virtual void EndUpdate() {}

    std::string operator[](int index) const { return Strings(index); }
    // Appends and returns the new index (a sorted list returns where it went).
    virtual int Add(const std::string& text);
    int AddObject(const std::string& text, TObject* object);
    void AddStrings(const TStrings& other);
    void Assign(const TStrings& other);
    void Exchange(int a, int b);
    // First index whose text equals text without case, -1 when none.
    virtual int IndexOf(const std::string& text) const;
    int IndexOfObject(const TObject* object) const;
    bool Empty() const { return Count() == 0; }

    // Every line followed by a line break; SetText splits at CR, LF or CR LF.
    std::string Text() const;
    void SetText(const std::string& text);
    std::string CommaText() const;

    // Raises Exception when the file cannot be read or written.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    std::vector<std::string> ToVector() const;

protected:
    // Raises the class library's "List index out of bounds (n)".
    [[noreturn]] static void IndexError(int index);
    void CheckIndex(int index, int count) const;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(std::initializer_list<std::string> items);

    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Strings(int index) const override;
    void SetStrings(int index, const std::string& text) override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;
    TObject* Objects(int index) const override;
    void SetObjects(int index, TObject* object) override;
    int Add(const std::string& text) override;
    int IndexOf(const std::string& text) const override;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates d) { duplicates_ = d; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool on) { caseSensitive_ = on; }
    void Sort();
    // Binary search of a sorted list: true when found; index = place either way.
    bool Find(const std::string& text, int& index) const;

    TNotifyEvent OnChange;

private:
    int Compare(const std::string& a, const std::string& b) const;
    void Changed();
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupAccept;
};

class TList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    void* Items(int index) const;
    void* operator[](int index) const { return Items(index); }
    void SetItems(int index, void* item);
    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item); // the index it had, -1 when absent
    int IndexOf(const void* item) const;
    void Clear() { items_.clear(); }
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

private:
    std::vector<void*> items_;
};

// Failures of lists and files, all of them the layer's Exception.
class EListError : public Exception {
public:
    using Exception::Exception;
};
class EStringListError : public EListError {
public:
    using EListError::EListError;
};
class EFOpenError : public Exception {
public:
    using Exception::Exception;
};
class EFCreateError : public Exception {
public:
    using Exception::Exception;
};
