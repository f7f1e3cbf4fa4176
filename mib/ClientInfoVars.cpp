#include "mib/ClientInfoVars.h"

#include "mib/VarTable.h"

namespace mib {

using namespace table;

#define CL QV_AP ".4.5.2.1"

const QvPairDef clientAuthPairs[] = {{0, "Open System"}, {1, "Shared Key"},   {2, "WPA-EAP"},
                                     {3, "WPA-PSK"},     {4, "Auto"},         {5, "WPA2-EAP"},
                                     {6, "WPA2-PSK"},    {7, "WPA-Auto-EAP"}, {8, "WPA-Auto-PSK"},
                                     {0, nullptr}};

namespace {
const QvPairDef getClientPairs[] = {{0, "Nothing"}, {1, "acquire"}, {0, nullptr}};
} // namespace

QvOptionList clientGetList(getClientPairs);
QvOptionList clientAuthList(clientAuthPairs);

const QvSNMPVar clientGetVars[] = {
    Var(QV_AP ".4.5.1.1.1.1", "adGetClient", Integer, ReadWrite, &clientGetList), kEnd};

#define COLUMNS(authList)                                                                          \
    Var("", "Index", Integer, NotAccess),                                                          \
        Var(CL ".2", "Client MAC Address", MacAddress, ReadOnly),                                  \
        Var(CL ".3", "Band", Integer, ReadOnly),                                                   \
        Var(CL ".4", "Authentication", Integer, ReadOnly, authList),                               \
        Var(CL ".5", "Signal", Integer, ReadOnly),                                                 \
        Var(CL ".6", "Power Saving Mode", Integer, ReadOnly)

const QvSNMPVar clientTableVars[] = {COLUMNS(nullptr), kEnd};
const QvSNMPVar clientTableSsidVars[] = {
    COLUMNS(&clientAuthList), Var(CL ".7", "SSID", DisplayStr, ReadOnly), kEnd};

#undef COLUMNS
#undef CL

} // namespace mib
