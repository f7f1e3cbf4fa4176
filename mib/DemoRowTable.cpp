#include "mib/DemoRowTable.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

#define DEMO_ENTRY QV_AP ".98.1.1"

const QvPairDef demoRowStatusPairs[] = {{1, "active"},      {2, "notInService"},
                                        {4, "createAndGo"}, {5, "createAndWait"},
                                        {6, "destroy"},     {0, nullptr}};

QvOptionList demoRowStatusList(demoRowStatusPairs);

const QvSNMPVar demoRowTable[] = {
    Var("", "Index", Integer, NotAccess),
    Var(DEMO_ENTRY ".2", "Name", DisplayStr, ReadWrite),
    Var(DEMO_ENTRY ".3", "Address", IpAddress, ReadWrite),
    Var(DEMO_ENTRY ".4", "Status", Integer, ReadWrite, &demoRowStatusList),
    kEnd};

#undef DEMO_ENTRY

} // namespace mib
