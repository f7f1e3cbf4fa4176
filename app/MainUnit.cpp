#include "app/MainUnit.h"

#include <string>

const char* const g_ModelName = "LMR-7300AP";
const char* const g_ModelNameSuffix = "";
const char* const g_HelpPathValueName = "qvEnterprise.10.37.15";
const char* const g_SingleInstanceMessage = "Another LMR7300AP module is running!";
const char* const g_Setting11gError = "IEEE802.11g Setting Error!";
const char* const g_Setting11gSuccess = "IEEE802.11g Setting Success!";
const char* const g_BandCaption = "IEEE 802.11g";

int ModelSeriesDigit() {
    const std::string name = g_ModelName;
    if (name.size() < 6) return 0;
    const char c = name[5];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}
