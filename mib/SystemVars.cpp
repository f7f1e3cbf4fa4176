#include "mib/SystemVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

const QvPairDef systemTrueFalsePairs[] = {{1, "True"}, {2, "False"}, {0, nullptr}};

QvOptionList systemTrueFalseList(systemTrueFalsePairs);

const QvSNMPVar systemRestartTable[] = {
    Var(QV_AP ".3.2.1", "Restart", Integer, ReadWrite, &systemTrueFalseList),
    Var(QV_AP ".3.2.2", "FactoryDefault", Integer, ReadWrite, &systemTrueFalseList), kEnd};

} // namespace mib
