#include "mib/AdminVars.h"

#include "mib/Enterprise.h"

namespace mib {

const QvSNMPVar adminLoginTable[] = {
    {QV_ENTERPRISE ".11.37.4.3.1.1", "UserName", QvSyntax::DisplayStr, QvAccess::ReadWrite,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {QV_ENTERPRISE ".11.37.4.3.1.2", "Password", QvSyntax::DisplayStr, QvAccess::ReadWrite,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

} // namespace mib
