#pragma once
// What the static variable tables are written with: one record builder, the
// terminator, and names for syntaxes and access flags. The table files bring
// the names in with `using namespace mib::table;`; other files holding a table
// or two take only the builder and the terminator.
#include "mib/Enterprise.h"
#include "snmp/QvOptionList.h"
#include "snmp/QvSNMPVar.h"

namespace mib::table {

using namespace QvSyntax;
using namespace QvAccess;

// A static record has no expressions, and no value or instance until a
// variable list copies it.
constexpr QvSNMPVar Var(const char* oid, const char* label, int syntax, int access,
                        QvOptionList* list = nullptr) {
    return {oid, label, syntax, access, list, nullptr, nullptr, nullptr, nullptr, nullptr};
}

// Ends every table.
inline constexpr QvSNMPVar kEnd = Var(nullptr, nullptr, 0, 0);

// Short names, for tables whose rows read best in aligned columns.
inline constexpr int I = Integer;
inline constexpr int S = DisplayStr;
inline constexpr int M = MacAddress;
inline constexpr int RW = ReadWrite;
inline constexpr int RO = ReadOnly;
inline constexpr int NA = NotAccess;
inline constexpr int IV = Invalid;

} // namespace mib::table
