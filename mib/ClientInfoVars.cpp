#include "mib/ClientInfoVars.h"

#include "mib/Enterprise.h"

namespace mib {

#define CL QV_ENTERPRISE ".11.37.4.4.5.2.1"
#define VAR(oid, label, syntax, access, list)                                                  \
    {oid, label, syntax, access, list, nullptr, nullptr, nullptr, nullptr, nullptr}
#define END {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}
#define RO QvAccess::ReadOnly

const QvPairDef clientAuthPairs[] = {{0, "Open System"}, {1, "Shared Key"},   {2, "WPA-EAP"},
                                     {3, "WPA-PSK"},     {4, "Auto"},         {5, "WPA2-EAP"},
                                     {6, "WPA2-PSK"},    {7, "WPA-Auto-EAP"}, {8, "WPA-Auto-PSK"},
                                     {0, nullptr}};

namespace {
const QvPairDef getClientPairs[] = {{0, "Nothing"}, {1, "acquire"}, {0, nullptr}};
} // namespace

QvOptionList clientGetList(getClientPairs);
QvOptionList clientAuthList(clientAuthPairs);

const QvSNMPVar clientGetVars[] = {VAR(QV_ENTERPRISE ".11.37.4.4.5.1.1.1.1", "adGetClient",
                                       QvSyntax::Integer, QvAccess::ReadWrite, &clientGetList),
                                   END};

#define COLUMNS(authList)                                                                      \
    VAR("", "Index", QvSyntax::Integer, QvAccess::NotAccess, nullptr),                         \
        VAR(CL ".2", "Client MAC Address", QvSyntax::MacAddress, RO, nullptr),                 \
        VAR(CL ".3", "Band", QvSyntax::Integer, RO, nullptr),                                  \
        VAR(CL ".4", "Authentication", QvSyntax::Integer, RO, authList),                       \
        VAR(CL ".5", "Signal", QvSyntax::Integer, RO, nullptr),                                \
        VAR(CL ".6", "Power Saving Mode", QvSyntax::Integer, RO, nullptr)

const QvSNMPVar clientTableVars[] = {COLUMNS(nullptr), END};
const QvSNMPVar clientTableSsidVars[] = {
    COLUMNS(&clientAuthList), VAR(CL ".7", "SSID", QvSyntax::DisplayStr, RO, nullptr), END};

#undef COLUMNS
#undef RO
#undef END
#undef VAR
#undef CL

} // namespace mib
