#pragma once
// The names of the access point's operating modes in the lists that show
// them. Firmware that renamed them shows modes 4 and 5 as "Universal
// Repeater" and "Wireless Client"; older firmware as "AP Repeater" and
// "AP Client".
#include "snmp/QvOptionList.h"

namespace mib {

inline constexpr QvPairDef apModeNewNamePairs[] = {
    {1, "Access Point"},    {2, "PtP Bridge"},  {3, "PtMP Bridge"},  {4, "Universal Repeater"},
    {5, "Wireless Client"}, {6, "PtP Without"}, {7, "P2MP Without"}, {0, nullptr}};
inline constexpr QvPairDef apModeOldNamePairs[] = {
    {1, "Access Point"}, {2, "PtP Bridge"},  {3, "PtMP Bridge"},  {4, "AP Repeater"},
    {5, "AP Client"},    {6, "PtP Without"}, {7, "P2MP Without"}, {0, nullptr}};

} // namespace mib
