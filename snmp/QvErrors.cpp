#include "snmp/QvErrors.h"

#include <cstdio>

#include "os/Path.h"
#include "base/Exception.h"
#include "base/SysUtils.h"

namespace {

// clang-format off
const char* const kPduTexts[] = {
    "(SNMP) Response PDU Too Big!",
    "(SNMP) Variable does not exist!",
    "(SNMP) Cannot modify variable: Bad Value!",
    "(SNMP) Cannot modify object, Read Only!",
    "(SNMP) Cannot perform operation, General Error!",
    "(SNMP) Cannot access variable, No Access!",
    "(SNMP) Cannot create/modify variable, Wrong Type!",
    "(SNMP) Cannot create/set variable, Wrong Length!",
    "(SNMP) Cannot create/set variable, Wrong Encoding!",
    "(SNMP) Cannot create/set variable, Wrong Value!",
    "(SNMP) Cannot create variable, Creation Not Allowed!",
    "(SNMP) Cannot create/set variable, Inconsistent Value!",
    "(SNMP) Cannot create/set variable, Resource Unavailable!",
    "(SNMP) Cannot create/set variable, Commit Failed!",
    "(SNMP) Cannot create/set variable, Undo Failed!",
    "(SNMP) Cannot perform operation, Authorization Error!",
    "(SNMP) Cannot create/set variable, Not Writable!",
    "(SNMP) Cannot create variable, Inconsistent Name!",
    "(SNMP) Cannot download the overdue firmware!",
};

const char* const kSnmpV3Texts[] = {
    "(SNMPv3) Unsupported Security Model!",
    "(SNMPv3) Message not in Time Window!",
    "(SNMPv3) Received same Message twice!",
    "(SNMPv3) Invalid Message!",
    "(SNMPv3) Invalid EngineID!",
    "(SNMPv3) v3MP not initialized!",
    "(SNMPv3) Parse Error!",
    "(SNMPv3) Received Message with unknown MsgID!",
    "(SNMPv3) Message does not match known message!",
    "(SNMPv3) Community format error!",
    "(SNMPv3) Unknown UserName!",
    "(SNMPv3) Build error!",
    "(SNMPv3) USM: error!",
    "(SNMPv3) Unknown pdu handlers!",
    "(SNMPv3) Unavailable Context!",
    "(SNMPv3) Unknown Context!",
    "(SNMPv3) Report sent!",
};

const char* const kSnmpUsmTexts[] = {
    "(SNMPv3USM) error!",
    "(SNMPv3USM) Configfile write error!",
    "(SNMPv3USM) Unsupported SecurityLevel!",
    "(SNMPv3USM) Unknown SecurityName!",
    "(SNMPv3USM) Encryption error!",
    "(SNMPv3USM) Decryption error!",
    "(SNMPv3USM) Authentication error!",
    "(SNMPv3USM) Authentication failure!",
    "(SNMPv3USM) Parse error!",
    "(SNMPv3USM) Unknown EngineID!",
    "(SNMPv3USM) Message not in TimeWindow!",
    "(SNMPv3USM) Unsupported AuthProtocol!",
    "(SNMPv3USM) Unsupported PrivProtocol!",
    "(SNMPv3USM) Address error!",
};

const char* const kSnmpClassTexts[] = {
    "(SNMPClass) Operation failed!",
    "(SNMPClass) Resource unavailable!",
    "(SNMPClass) Internal error!",
    "(SNMPClass) Unsupported function!",
    "(SNMPClass) SNMP request timed out!",
    "(SNMPClass) Received SNMP Response!",
    "(SNMPClass) Received SNMP Notification (trap or inform)!",
    "(SNMPClass) Closing session with outstanding requests!",
    "(SNMPClass)Unknown error code!",
    "(SNMPClass) Class not valid!",
    "(SNMPClass) Invalid Pdu!",
    "(SNMPClass) Invalid Target!",
    "(SNMPClass) Invalid (null) Callback Function!",
    "(SNMPClass) Invalid Request Id!",
    "(SNMPClass) Invalid Notification Id!",
    "(SNMPClass) SNMP Operation not supported on specified Target!",
    "(SNMPClass) Invalid Object Identifier!",
    "(SNMPClass) Invalid Address!",
    "(SNMPClass) Agent indicates error in SNMP request!",
    "(SNMP Class) Transport is not supported!",
    "(SNMPClass) Transport is in use!",
    "(SNMPClass) Transport operation failed!",
    "(SNMPClass) Blocked Mode Shutdown!",
};

const char* const kQvSnmpTexts[] = {
    "(QvSNMP++) Ok!",
    "(QvSNMP++) Fail to read SNMP variables from file([FILENAME])!",
    "(QvSNMP++) Bad format at line([LINENO])in SNMP variables file([FILENAME])!",
    "(QvSNMP++) Bad item type at line([LINENO])in SNMP variables file([FILENAME])!",
    "(QvSNMP++) Bad syntax at line([LINENO])in SNMP variables file([FILENAME])!",
    "(QvSNMP++) Bad access type at line([LINENO])in SNMP variables file([FILENAME])!",
    "(QvSNMP++) Cannot create the global QvSNMP++ session!",
    "(QvSNMP++) Error when loading SNMP engine boots counter!",
    "(QvSNMP++) Error when saving SNMP engine boots counter!",
    "(QvSNMP++) Invalid IP Address or DNS name!",
    "(QvSNMP++) Can't send get-next command for a SNMP variable list with single value!",
    "(QvSNMP++) Bad SNMP syntax!",
    "(QvSNMP++) Null value in the expression!",
    "(QvSNMP++) Bad SNMP syntax in the expression!",
    "(QvSNMP++) Bad key count of SNMP variable list!",
    "(QvSNMP++) Bad item type of SNMP variable list!",
    "(QvSNMP++) Bad item type of associated SNMP variable list!",
    "(QvSNMP++) Bad syntax of the associated SNMP variable's (partial) data!",
    "(QvSNMP++) Bad value of the associated SNMP variable's (partial) data!",
    "(QvSNMP++) Out of range for the bit(byte) index of the associated SNMP variable's (partial) data!",
    "(QvSNMP++) No reference option list for a SNMP variable's (partial) data associating with a optional visual control!",
    "(QvSNMP++) Bad type of the associated visual control!",
    "(QvSNMP++) Count of the associated visual controls is not enough!",
    "(QvSNMP++) No system start time for the time whose data source is the SNMP variable's (partial) data with syntax timeticks!",
    "(QvSNMP++) Count of the value items for the chart's history data is not enough!",
    "(QvSNMP++) Log database is not connected!",
    "(QvSNMP++) Log database field not found!",
    "(QvSNMP++) Bad syntax for the history chart of log!",
    "(QvSNMP++) Unknown error code!",
};

const char* const kReportTemplates[] = {
    "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].",
    "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].",
};

const char* const kCommonTexts[] = {
    "(QvCommon) Ok!",
    "(QvCommon) Bad logic operand!",
    "(QvCommon) Bad format specifier of edit's constraint!",
    "(QvCommon) Empty value is not allowed!",
    "(QvCommon) Please enter a string whose length is less than [MAXLEN]!",
    "(QvCommon) Please enter a string whose length is [LEN]!",
    "(QvCommon) Please enter a hex string whose length is less than [MAXLEN]!",
    "(QvCommon) Please enter a hex string whose length is [LEN]!",
    "(QvCommon) Please enter a number between [MIN] and [MAX]!",
    "(QvCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the number is less than [MAXCOUNT]!",
    "(QvCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,the count of the number is equal to [COUNT]!",
    "(QvCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\nHere,each number is between [MIN] and [MAX]!",
    "(QvCommon) Out of range at index of array or list!",
    "(QvCommon) Destination buffer is undersize!",
    "(QvCommon) The source to dncrypt is not encrypted!",
    "(QvCommon) Fail to read data from file([FILENAME])!",
    "(QvCommon) Fail to write data to file([FILENAME])!",
    "(QvCommon) Fail to write value in ini file([FILENAME])!",
    "(QvCommon) Fail to read option data from file([FILENAME])!",
};
// clang-format on

template <size_t N> constexpr int CountOf(const char* const (&)[N]) {
    return static_cast<int>(N);
}

} // namespace

constinit QvMessageTable g_PduMessages(kPduTexts, CountOf(kPduTexts));
constinit QvMessageTable g_SnmpV3Messages(kSnmpV3Texts, CountOf(kSnmpV3Texts));
constinit QvMessageTable g_SnmpUsmMessages(kSnmpUsmTexts, CountOf(kSnmpUsmTexts));
constinit QvMessageTable g_SnmpClassMessages(kSnmpClassTexts, CountOf(kSnmpClassTexts));
constinit QvMessageTable g_QvSnmpMessages(kQvSnmpTexts, CountOf(kQvSnmpTexts));
constinit QvMessageTable g_ReportTemplates(kReportTemplates, CountOf(kReportTemplates));
constinit QvMessageTable g_CommonMessages(kCommonTexts, CountOf(kCommonTexts));

std::string QvMessageTable::operator[](int index) const {
    if (index >= 0 && static_cast<size_t>(index) < replaced_.size())
        return replaced_[static_cast<size_t>(index)];
    return BuiltIn(index);
}

std::string QvMessageTable::BuiltIn(int index) const {
    if (index < 0 || index >= count_) return std::string();
    return builtIn_[index];
}

void MapSnmpError(int status, int* code, std::string* message) {
    int c;
    std::string text;
    if (status == 0 || status == 1400 || status == -1401) {
        c = 0;
        text = g_QvSnmpMessages[QVERR_OK];
    } else if (status >= 1401 && status <= 1414) {
        c = 1100 - status;
        text = g_SnmpUsmMessages[status - 1401];
    } else if (status >= -1418 && status <= -1402) {
        c = status + 1201;
        text = g_SnmpV3Messages[-1402 - status];
    } else if (status >= 1 && status <= 19) {
        c = -100 - status;
        text = g_PduMessages[status - 1];
    } else if (status >= -23 && status <= -1) {
        c = status - 400;
        text = g_SnmpClassMessages[-1 - status];
    } else {
        c = QvLayerErrorCode(QVERR_UNKNOWN);
        text = g_QvSnmpMessages[QVERR_UNKNOWN];
    }
    if (code) *code = c;
    if (message) *message = std::move(text);
}

void RaiseQvSNMPError(int index) {
    RaiseQvSNMPError(index, g_QvSnmpMessages[index]);
}

void RaiseQvSNMPError(int index, const std::string& message) {
    throw Exception(message, QvLayerErrorCode(index));
}

void RaiseQvCommonError(int index) {
    RaiseQvCommonError(index, g_CommonMessages[index]);
}

void RaiseQvCommonError(int index, const std::string& message) {
    throw Exception(message, -index);
}

namespace {

constexpr int kLinePiece = 1024;

bool IsBlank(const char* line) {
    return Trim(line).empty();
}

// Line end removed; blanks at either end kept.
std::string CutLineEnd(std::string line) {
    size_t n = line.size();
    if (n >= 2 && line[n - 2] == '\r')
        line.resize(n - 2);
    else if (n >= 1 && line[n - 1] == '\n')
        line.resize(n - 1);
    return line;
}

} // namespace

bool LoadMessageTable(QvMessageTable& table, const std::string& fileName) {
    std::string path = os::ResolvePath(fileName);
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) return false;
    char buf[kLinePiece];
    int nonBlank = 0;
    while (std::fgets(buf, sizeof buf, f))
        if (!IsBlank(buf)) ++nonBlank;
    if (nonBlank == 0) {
        std::fclose(f);
        return false;
    }
    std::rewind(f);
    std::vector<std::string> texts;
    texts.reserve(static_cast<size_t>(nonBlank));
    while (std::fgets(buf, sizeof buf, f))
        if (!IsBlank(buf)) texts.push_back(CutLineEnd(buf));
    std::fclose(f);
    table.Replace(std::move(texts));
    return true;
}
