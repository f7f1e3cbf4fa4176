#include "mib/FilterVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

#define ACC QV_AP ".2.4"

namespace {
const QvPairDef accessPairs[] = {{1, "Accept"}, {2, "Reject"}, {3, "Disable"}, {0, nullptr}};
const QvPairDef enablePairs[] = {{1, "Enable"}, {0, "Disable"}, {0, nullptr}};
} // namespace

QvOptionList accessControlList(accessPairs);
QvOptionList filterEnableList(enablePairs);

const QvSNMPVar filterTable[] = {
    Var(ACC ".1.1.1.1", "adAccSettingWirelessAccessControl", Integer, Invalid, &accessControlList),
    Var(ACC ".3.1.1.1", "adInternalStationConnection", Integer, Invalid, &filterEnableList),
    Var(ACC ".3.1.2.1", "adEthernet2WLANAccess", Integer, Invalid, &filterEnableList),
    Var(ACC ".3.1.3.1", "adInternaStationConnectionBetweenag", Integer, Invalid, &filterEnableList),
    Var(ACC ".1.1.1.2", "adAccSettingWirelessAccessControl", Integer, Invalid, &accessControlList),
    Var(ACC ".3.1.1.2", "adInternalStationConnection", Integer, Invalid, &filterEnableList),
    Var(ACC ".3.1.2.2", "adEthernet2WLANAccess", Integer, Invalid, &filterEnableList),
    Var(ACC ".3.1.3.2", "adInternaStationConnectionBetweenag", Integer, Invalid, &filterEnableList),
    kEnd};

const QvSNMPVar filterMacTableA[] = {Var("", "No.", Integer, NotAccess),
                                     Var(ACC ".2.1.2.1", "MAC Address", MacAddress, ReadWrite),
                                     kEnd};

const QvSNMPVar filterMacTableG[] = {Var("", "No.", Integer, NotAccess),
                                     Var(ACC ".2.1.2.2", "MAC Address", MacAddress, ReadWrite),
                                     kEnd};

#undef ACC

} // namespace mib
