#include "mib/DemoRowTable.h"

#include "mib/Enterprise.h"

namespace mib {

#define DEMO_ENTRY QV_ENTERPRISE ".11.37.4.98.1.1"

const QvPairDef demoRowStatusPairs[] = {{1, "active"},      {2, "notInService"},
                                        {4, "createAndGo"}, {5, "createAndWait"},
                                        {6, "destroy"},     {0, nullptr}};

QvOptionList demoRowStatusList(demoRowStatusPairs);

const QvSNMPVar demoRowTable[] = {
    {"", "Index", QvSyntax::Integer, QvAccess::NotAccess, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {DEMO_ENTRY ".2", "Name", QvSyntax::DisplayStr, QvAccess::ReadWrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {DEMO_ENTRY ".3", "Address", QvSyntax::IpAddress, QvAccess::ReadWrite, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {DEMO_ENTRY ".4", "Status", QvSyntax::Integer, QvAccess::ReadWrite, &demoRowStatusList, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};

#undef DEMO_ENTRY

} // namespace mib
