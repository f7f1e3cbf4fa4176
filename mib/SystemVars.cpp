#include "mib/SystemVars.h"

#include "mib/Enterprise.h"

namespace mib {

const QvPairDef systemTrueFalsePairs[] = {{1, "True"}, {2, "False"}, {0, nullptr}};

QvOptionList systemTrueFalseList(systemTrueFalsePairs);

const QvSNMPVar systemRestartTable[] = {
    {QV_ENTERPRISE ".11.37.4.3.2.1", "Restart", QvSyntax::Integer, QvAccess::ReadWrite,
     &systemTrueFalseList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {QV_ENTERPRISE ".11.37.4.3.2.2", "FactoryDefault", QvSyntax::Integer, QvAccess::ReadWrite,
     &systemTrueFalseList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

} // namespace mib
