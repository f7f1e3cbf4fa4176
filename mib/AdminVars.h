#pragma once
// Variables of the first-generation administrator form: the login only.
#include "snmp/QvSNMPVar.h"

namespace mib {

// User name, password (scalars).
extern const QvSNMPVar adminLoginTable[];

} // namespace mib
