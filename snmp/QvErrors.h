#pragma once
// Error codes and message tables. Every failure is one negative code and one
// text; SNMP library statuses map onto the module's codes by MapSnmpError.
// The seven tables are built in and may be replaced from message files.
#include <cstdint>
#include <string>
#include <vector>

#include "base/Exception.h"

// The agent: address text and UDP port. The result record carries the one
// that answered; the connection defaults hold the one to ask.
struct QvSNMPDevice {
    std::string Address = "127.0.0.1";
    uint16_t Port = 161;
};

// Result of a request, handed to result callbacks and completion closures.
struct QvSNMPError {
    int Code = 0;       // module code, 0 on success
    int ErrorIndex = 0; // agent's error index (asynchronous completions)
    std::string Message;
    QvSNMPDevice Device; // who answered (asynchronous completions)
    uint8_t Finished = 0;
    int64_t FailureCount = 0;
};

// A message table: its built-in texts, and the lines of a message file that
// replaced them. An index the file did not supply keeps its built-in text.
class QvMessageTable {
public:
    constexpr QvMessageTable(const char* const* builtIn, int count)
        : builtIn_(builtIn), count_(count) {}

    // "" for an index outside both.
    std::string operator[](int index) const;
    int BuiltInCount() const { return count_; }
    std::string BuiltIn(int index) const;
    void Replace(std::vector<std::string> texts) { replaced_ = std::move(texts); }
    void Restore() { replaced_.clear(); }
    const std::vector<std::string>& Replaced() const { return replaced_; }

private:
    const char* const* builtIn_;
    int count_;
    std::vector<std::string> replaced_;
};

extern QvMessageTable g_CommonMessages;    // utilities: code -index
extern QvMessageTable g_PduMessages;       // agent error status 1..19
extern QvMessageTable g_SnmpV3Messages;    // message processing -1402..-1418
extern QvMessageTable g_SnmpUsmMessages;   // user-based security 1401..1414
extern QvMessageTable g_SnmpClassMessages; // library class errors -1..-23
extern QvMessageTable g_QvSnmpMessages;    // the layer's own: code -500 - index
extern QvMessageTable g_ReportTemplates;   // 0 read, 1 write

// Indices of the layer's own texts.
enum QvLayerError : int {
    QVERR_OK = 0,
    QVERR_READ_VAR_FILE = 1,
    QVERR_VAR_FILE_FORMAT = 2,
    QVERR_VAR_FILE_ITEM_TYPE = 3,
    QVERR_VAR_FILE_SYNTAX = 4,
    QVERR_VAR_FILE_ACCESS = 5,
    QVERR_CREATE_SESSION = 6,
    QVERR_LOAD_BOOT_COUNTER = 7,
    QVERR_SAVE_BOOT_COUNTER = 8,
    QVERR_INVALID_ADDRESS = 9,
    QVERR_GETNEXT_SINGLE_VALUE = 10,
    QVERR_BAD_SYNTAX = 11,
    QVERR_NULL_IN_EXPRESSION = 12,
    QVERR_BAD_EXPRESSION_SYNTAX = 13,
    QVERR_BAD_KEY_COUNT = 14,
    QVERR_BAD_ITEM_TYPE = 15,
    QVERR_BAD_ASSOC_ITEM_TYPE = 16,
    QVERR_BAD_PARTIAL_SYNTAX = 17,
    QVERR_BAD_PARTIAL_VALUE = 18,
    QVERR_PARTIAL_INDEX_RANGE = 19,
    QVERR_NO_OPTION_LIST = 20,
    QVERR_BAD_CONTROL_TYPE = 21,
    QVERR_TOO_FEW_CONTROLS = 22,
    QVERR_NO_START_TIME = 23,
    QVERR_TOO_FEW_CHART_ITEMS = 24,
    QVERR_LOG_DB_NOT_CONNECTED = 25,
    QVERR_LOG_DB_FIELD = 26,
    QVERR_BAD_CHART_SYNTAX = 27,
    QVERR_UNKNOWN = 28,
};

// Indices of the utilities' texts.
enum QvCommonError : int {
    QVCOM_OK = 0,
    QVCOM_BAD_LOGIC_OPERAND = 1,
    QVCOM_BAD_CONSTRAINT_FORMAT = 2,
    QVCOM_EMPTY_VALUE = 3,
    QVCOM_STRING_TOO_LONG = 4,
    QVCOM_STRING_LENGTH = 5,
    QVCOM_HEX_TOO_LONG = 6,
    QVCOM_HEX_LENGTH = 7,
    QVCOM_NUMBER_RANGE = 8,
    QVCOM_NUMLIST_MAX_COUNT = 9,
    QVCOM_NUMLIST_COUNT = 10,
    QVCOM_NUMLIST_RANGE = 11,
    QVCOM_INDEX_RANGE = 12,
    QVCOM_BUFFER_UNDERSIZE = 13,
    QVCOM_NOT_ENCRYPTED = 14,
    QVCOM_READ_FILE = 15,
    QVCOM_WRITE_FILE = 16,
    QVCOM_WRITE_INI = 17,
    QVCOM_READ_OPTION_FILE = 18,
};

// Maps a status of the SNMP library onto a module code and its text; never fails.
void MapSnmpError(int status, int* code, std::string* message);

// The layer's failure of that index: code -500 - index.
inline int QvLayerErrorCode(int index) {
    return index == 0 ? 0 : -500 - index;
}

// Raise the class library's Exception with the table text as its message and
// the code as its help context.
[[noreturn]] void RaiseQvSNMPError(int index);
[[noreturn]] void RaiseQvCommonError(int index);
// The same with a text whose placeholders have been filled in.
[[noreturn]] void RaiseQvSNMPError(int index, const std::string& message);
[[noreturn]] void RaiseQvCommonError(int index, const std::string& message);

// Replaces a table by the non-blank lines of a text file (a longer line than
// 1023 bytes arrives as several). A file that cannot be read, or holds only
// blank lines, leaves the table as it is. True when the table was replaced.
bool LoadMessageTable(QvMessageTable& table, const std::string& fileName);
