#include "mib/AdminVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

const QvSNMPVar adminLoginTable[] = {Var(QV_AP ".3.1.1", "UserName", DisplayStr, ReadWrite),
                                     Var(QV_AP ".3.1.2", "Password", DisplayStr, ReadWrite), kEnd};

} // namespace mib
