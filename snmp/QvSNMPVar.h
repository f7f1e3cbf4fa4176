#pragma once
// Variable descriptors and named groups of them. Forms keep static tables of
// QvSNMPVar records ending with a record whose Oid is null; a QvSNMPVarList
// holds deep copies that one request reads or writes as a whole.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "snmp/QvOptionList.h"

// Syntax codes: 2-6 and 64-71 are the ASN.1 universal and application tags,
// the rest are the module's own.
namespace QvSyntax {
constexpr int Boolean = 1;
constexpr int Integer = 2;
constexpr int BitStr = 3;
constexpr int OctetStr = 4;
constexpr int Null = 5;
constexpr int ObjectId = 6;
constexpr int IpAddress = 64;
constexpr int Counter = 65;
constexpr int Guage = 66;
constexpr int TimeTicks = 67;
constexpr int Opaque = 68;
constexpr int NsapAddr = 69;
constexpr int Counter64 = 70;
constexpr int UInteger = 71;
constexpr int Double = 72;
constexpr int MacAddress = 73;
constexpr int DateTime = 74;
constexpr int BcDateTime = 75;
constexpr int DisplayStr = 76;
constexpr int Bool8 = 193;
constexpr int Int8 = 194;
constexpr int UInt8 = 195;
constexpr int Bool16 = 196;
constexpr int Int16 = 197;
constexpr int UInt16 = 198;
} // namespace QvSyntax

// Access flags (a bit set).
namespace QvAccess {
constexpr int NotAccess = 1; // neither read nor written, but shown in a list view
constexpr int ReadOnly = 2;
constexpr int WriteOnly = 4;
constexpr int ReadWrite = 6;
constexpr int Derived = 8;  // computed by its expression
constexpr int Hidden = 16;  // never shown in a list view
constexpr int Invalid = 32; // left out of every request
constexpr int Implied = 64; // last index column encoded without a length prefix
} // namespace QvAccess

// Item kinds of a variable list.
constexpr uint8_t SVT_SV = 0;  // scalars: ".0" is appended to every Oid
constexpr uint8_t MVT_SV = 1;  // single values whose Oid carries the instance
constexpr uint8_t MVT_FMV = 2; // table with a fixed set of rows
constexpr uint8_t MVT_UMV = 3; // table whose rows may be added and deleted

// Ten fields in this order; in static tables Value and Instance stay null.
// An empty Oid marks the index row of a list-view table.
struct QvSNMPVar {
    const char* Oid = nullptr;
    const char* Label = nullptr;
    int Syntax = 0;
    int Access = 0;
    QvOptionList* OptionList = nullptr; // shared, lives for the whole run
    const char* GetExpression = nullptr;
    const char* SetExpression = nullptr;
    const char* Reserved = nullptr;
    std::string* Value = nullptr;    // display text; owned by a list's record
    std::string* Instance = nullptr; // full identifier last sent or received
};

class QvSNMPVarList {
public:
    QvSNMPVarList() = default;
    QvSNMPVarList(const QvSNMPVar* table, uint8_t itemType, uint32_t keyCount);
    // Copying takes kind, key count, Name and every record with its value,
    // but neither InstanceSuffix nor the owned option lists.
    QvSNMPVarList(const QvSNMPVarList& other);
    QvSNMPVarList& operator=(const QvSNMPVarList& other);
    ~QvSNMPVarList();

    std::string InstanceSuffix;
    uint32_t PKeyCount = 0;
    uint8_t ItemType = SVT_SV;
    std::string Name;

    // Appends deep copies of the records before the first null Oid.
    void AppendVarTable(const QvSNMPVar* table);
    // No bound check: 0 <= i < Count().
    QvSNMPVar* Item(int i) const { return vars_[static_cast<size_t>(i)]; }
    int Count() const { return static_cast<int>(vars_.size()); }

    bool IsReadable(int i) const;
    bool IsWritable(int i) const;
    bool IsShown(int i) const;
    int ShownCount() const;
    bool IsHiddenColumn(int i) const;
    int HiddenCount() const;
    bool HasFlag64(int i) const;
    bool IsTable() const { return ItemType == MVT_FMV || ItemType == MVT_UMV; }

    // Option lists that live and die with this variable list.
    std::vector<std::unique_ptr<QvOptionList>>& OwnedOptionLists() { return ownedLists_; }

    // Records of a static table before its terminator (an empty Oid counts).
    static int CountVarTable(const QvSNMPVar* table);

private:
    void ReleaseVars();
    void CopyFrom(const QvSNMPVarList& other);

    std::vector<QvSNMPVar*> vars_;
    std::vector<std::unique_ptr<QvOptionList>> ownedLists_;
};

// Text form of item kinds, syntaxes and access flags (integer keys, names
// compared without case).
const QvOptionList& QvItemTypeNames();
const QvOptionList& QvSyntaxNames();
const QvOptionList& QvAccessNames();
