#include "mib/DHCPVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

#define DHCP QV_AP ".2.7"

const QvPairDef dhcpStatusPairs[] = {{0, "OFF"}, {1, "ON"}, {0, nullptr}};
const QvPairDef dhcpFunctionPairs[] = {{0, "Disable"}, {1, "Enable"}, {0, nullptr}};

QvOptionList dhcpStatusList(dhcpStatusPairs);
QvOptionList dhcpFunctionList(dhcpFunctionPairs);

const QvSNMPVar dhcpPoolTable[] = {
    Var(DHCP ".2.1", "Dynamic IP Start", IpAddress, ReadWrite),
    Var(DHCP ".2.2", "Dynamic Range", Integer, ReadWrite),
    Var(DHCP ".2.3", "Dynamic Mask", IpAddress, ReadWrite),
    Var(DHCP ".2.4", "Dynamic Gateway", IpAddress, ReadWrite),
    Var(DHCP ".2.5", "Dynamic Wins", IpAddress, ReadWrite),
    Var(DHCP ".2.6", "Dynamic Dns", IpAddress, ReadWrite),
    Var(DHCP ".2.7", "Dynamic Domain", DisplayStr, ReadWrite),
    Var(DHCP ".2.8", "Dynamic Lease", Integer, ReadWrite),
    Var(DHCP ".2.9", "Dynamic Status", Integer, ReadWrite, &dhcpStatusList),
    kEnd};

const QvSNMPVar dhcpFunctionTable[] = {
    Var(DHCP ".1", "Dynamic IP Function", Integer, ReadWrite, &dhcpFunctionList), kEnd};

const QvSNMPVar dhcpStaticPoolTable[] = {
    Var("", "Index", Integer, NotAccess),
    Var(DHCP ".3.1.1", "IP", IpAddress, ReadWrite),
    Var(DHCP ".3.1.2", "MAC", MacAddress, ReadWrite),
    Var(DHCP ".3.1.3", "Mask", IpAddress, ReadWrite),
    Var(DHCP ".3.1.4", "Gateway", IpAddress, ReadWrite),
    Var(DHCP ".3.1.5", "DNS", IpAddress, ReadWrite),
    Var(DHCP ".3.1.6", "Wins", IpAddress, ReadWrite),
    Var(DHCP ".3.1.7", "Domain", DisplayStr, ReadWrite),
    Var(DHCP ".3.1.8", "Status", Integer, ReadWrite, &dhcpStatusList),
    kEnd};

const char* const staticpool::FreeRow[staticpool::Count] = {
    "", staticpool::FreeIP, staticpool::FreeMac, staticpool::FreeIP, staticpool::FreeIP,
    staticpool::FreeIP, staticpool::FreeIP, "", "OFF"};

const QvSNMPVar dhcpCurrentDynamicTable[] = {
    Var("", "Index", Integer, NotAccess),
    Var(DHCP ".4.1.1.1", "Current Dynamic MAC", MacAddress, ReadOnly),
    Var(DHCP ".4.1.1.2", "Current Dynamic Assigned IP", IpAddress, ReadOnly),
    Var(DHCP ".4.1.1.3", "Current Dynamic Lease", TimeTicks, ReadOnly),
    kEnd};

const QvSNMPVar dhcpCurrentStaticTable[] = {
    Var("", "Index", Integer, NotAccess),
    Var(DHCP ".4.2.1.1", "Current Static MAC", MacAddress, ReadOnly),
    Var(DHCP ".4.2.1.2", "Current Static Assigned IP", IpAddress, ReadOnly),
    kEnd};

const QvSNMPVar dhcpSystemAddressTable[] = {
    Var(QV_AP ".1.2.2", "hIPAddress", IpAddress, ReadWrite), kEnd};

#undef DHCP

} // namespace mib
