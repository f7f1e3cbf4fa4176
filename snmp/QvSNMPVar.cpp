#include "snmp/QvSNMPVar.h"

#include <cstring>

namespace {

const char* DupText(const char* text) {
    if (!text) return nullptr;
    size_t n = std::strlen(text) + 1;
    char* copy = new char[n];
    std::memcpy(copy, text, n);
    return copy;
}

void FreeText(const char* text) {
    delete[] text;
}

// A record owned by a list: its own texts, and a value and instance string
// even when the source had none.
QvSNMPVar* CopyVar(const QvSNMPVar& src) {
    auto* v = new QvSNMPVar{};
    v->Oid = DupText(src.Oid);
    v->Label = DupText(src.Label);
    v->Syntax = src.Syntax;
    v->Access = src.Access;
    v->OptionList = src.OptionList;
    v->GetExpression = DupText(src.GetExpression);
    v->SetExpression = DupText(src.SetExpression);
    v->Reserved = DupText(src.Reserved);
    v->Value = new std::string(src.Value ? *src.Value : std::string());
    v->Instance = new std::string(src.Instance ? *src.Instance : std::string());
    return v;
}

void FreeVar(QvSNMPVar* v) {
    FreeText(v->Oid);
    FreeText(v->Label);
    FreeText(v->GetExpression);
    FreeText(v->SetExpression);
    FreeText(v->Reserved);
    delete v->Value;
    delete v->Instance;
    delete v;
}

} // namespace

int QvSNMPVarList::CountVarTable(const QvSNMPVar* table) {
    int n = 0;
    if (table)
        while (table[n].Oid)
            ++n;
    return n;
}

QvSNMPVarList::QvSNMPVarList(const QvSNMPVar* table, uint8_t itemType, uint32_t keyCount)
    : PKeyCount(keyCount), ItemType(itemType) {
    AppendVarTable(table);
}

QvSNMPVarList::QvSNMPVarList(const QvSNMPVarList& other) {
    CopyFrom(other);
}

QvSNMPVarList& QvSNMPVarList::operator=(const QvSNMPVarList& other) {
    if (this != &other) {
        ReleaseVars();
        CopyFrom(other);
    }
    return *this;
}

QvSNMPVarList::~QvSNMPVarList() {
    ReleaseVars();
}

void QvSNMPVarList::CopyFrom(const QvSNMPVarList& other) {
    ItemType = other.ItemType;
    PKeyCount = other.PKeyCount;
    Name = other.Name;
    vars_.reserve(other.vars_.size());
    for (const QvSNMPVar* v : other.vars_)
        vars_.push_back(CopyVar(*v));
}

void QvSNMPVarList::ReleaseVars() {
    for (QvSNMPVar* v : vars_)
        FreeVar(v);
    vars_.clear();
}

void QvSNMPVarList::AppendVarTable(const QvSNMPVar* table) {
    int n = CountVarTable(table);
    vars_.reserve(vars_.size() + static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        vars_.push_back(CopyVar(table[i]));
}

bool QvSNMPVarList::IsReadable(int i) const {
    int a = Item(i)->Access;
    return !(a & QvAccess::Invalid) && (a & QvAccess::ReadOnly);
}

bool QvSNMPVarList::IsWritable(int i) const {
    int a = Item(i)->Access;
    if (a & QvAccess::Invalid) return false;
    // Index columns may be entered when a row is added.
    return (a & QvAccess::WriteOnly) || (IsTable() && static_cast<uint32_t>(i) < PKeyCount);
}

bool QvSNMPVarList::IsShown(int i) const {
    int a = Item(i)->Access;
    if (a & (QvAccess::Invalid | QvAccess::Hidden)) return false;
    return (a & (QvAccess::NotAccess | QvAccess::ReadOnly | QvAccess::Derived)) != 0;
}

int QvSNMPVarList::ShownCount() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        n += IsShown(i);
    return n;
}

bool QvSNMPVarList::IsHiddenColumn(int i) const {
    int a = Item(i)->Access;
    return a == QvAccess::WriteOnly || (a & (QvAccess::Invalid | QvAccess::Hidden));
}

int QvSNMPVarList::HiddenCount() const {
    int n = 0;
    for (int i = 0; i < Count(); ++i)
        n += IsHiddenColumn(i);
    return n;
}

bool QvSNMPVarList::HasFlag64(int i) const {
    return (Item(i)->Access & QvAccess::Implied) != 0;
}

namespace {

const QvPairDef kItemTypePairs[] = {
    {SVT_SV, "SVT_SV"},   {MVT_SV, "MVT_SV"}, {MVT_FMV, "MVT_FMV"},
    {MVT_UMV, "MVT_UMV"}, {0, nullptr},
};

const QvPairDef kSyntaxPairs[] = {
    {QvSyntax::Integer, "integer"},
    {QvSyntax::BitStr, "bitstr"},
    {QvSyntax::OctetStr, "octetstr"},
    {QvSyntax::Null, "null"},
    {QvSyntax::ObjectId, "objectid"},
    {QvSyntax::IpAddress, "ipaddress"},
    {QvSyntax::Counter, "counter"},
    {QvSyntax::Guage, "guage"},
    {QvSyntax::TimeTicks, "timeticks"},
    {QvSyntax::Opaque, "opaque"},
    {QvSyntax::NsapAddr, "nsapaddr"},
    {QvSyntax::Counter64, "counter64"},
    {QvSyntax::UInteger, "uinteger"},
    {QvSyntax::Double, "double"},
    {QvSyntax::MacAddress, "macaddress"},
    {QvSyntax::DateTime, "datetime"},
    {QvSyntax::BcDateTime, "bcdatetime"},
    {QvSyntax::DisplayStr, "displaystr"},
    {QvSyntax::Boolean, "boolean"},
    {QvSyntax::Bool8, "bool8"},
    {QvSyntax::Int8, "int8"},
    {QvSyntax::UInt8, "uint8"},
    {QvSyntax::Bool16, "bool16"},
    {QvSyntax::Int16, "int16"},
    {QvSyntax::UInt16, "uint16"},
    {0, nullptr},
};

const QvPairDef kAccessPairs[] = {
    {QvAccess::NotAccess, "notaccess"}, {QvAccess::ReadOnly, "readonly"},
    {QvAccess::WriteOnly, "writeonly"}, {QvAccess::ReadWrite, "readwrite"},
    {QvAccess::Derived, "derived"},     {QvAccess::Hidden, "hidden"},
    {QvAccess::Invalid, "invalid"},     {0, nullptr},
};

} // namespace

const QvOptionList& QvItemTypeNames() {
    static const QvOptionList list(kItemTypePairs);
    return list;
}

const QvOptionList& QvSyntaxNames() {
    static const QvOptionList list(kSyntaxPairs);
    return list;
}

const QvOptionList& QvAccessNames() {
    static const QvOptionList list(kAccessPairs);
    return list;
}
