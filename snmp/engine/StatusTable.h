// Outcomes of the SNMP library translated into the status numbers of the
// access layer. One table holds every translation.
#pragma once

#include <cstddef>

namespace snmpeng {

// Status numbers of the access layer (the message tables' keys).
enum Status : int {
    kOk = 0,
    kOperationFailed = -1,
    kResourceUnavailable = -2,
    kInternalError = -3,
    kUnsupportedFunction = -4,
    kTimeout = -5,
    kSessionClosing = -8,
    kClassInvalid = -10,
    kInvalidPdu = -11,
    kInvalidTarget = -12,
    kNotSupportedOnTarget = -16,
    kInvalidOid = -17,
    kInvalidAddress = -18,
    kTransportInUse = -21,
    kTransportFailed = -22,
    kPduNoSuchName = 2,
    kUsmError = 1401,
    kUsmUnsupportedSecurityLevel = 1403,
    kUsmUnknownSecurityName = 1404,
    kUsmEncryptionError = 1405,
    kUsmDecryptionError = 1406,
    kUsmAuthenticationError = 1407,
    kUsmAuthenticationFailure = 1408,
    kUsmParseError = 1409,
    kUsmUnknownEngineId = 1410,
    kUsmNotInTimeWindow = 1411,
    kUsmUnsupportedAuthProtocol = 1412,
    kUsmUnsupportedPrivProtocol = 1413,
    kMpUnsupportedSecurityModel = -1402,
    kMpInvalidMessage = -1405,
    kMpInvalidEngineId = -1406,
    kMpParseError = -1408,
    kMpBuildError = -1413,
};

// Conditions found by the adapter itself, in the same table as the library's
// error numbers (kept below the library's range).
enum Condition : int {
    kCondUnsupportedVersion = -1001,
    kCondUnsupportedAuth = -1002,
    kCondUnsupportedPriv = -1003,
    kCondAuthPasswordRefused = -1004,
    kCondPrivPasswordRefused = -1005,
    kCondUnsupportedSecurityModel = -1006,
};

struct StatusRow {
    int condition; // a library error number (0 or negative) or a Condition
    int status;    // the access layer's status
    const char* what;
};

const StatusRow* StatusRows(std::size_t* count);
// The status of a library error number or Condition; an unlisted one gives
// kOperationFailed.
int StatusOf(int condition);

} // namespace snmpeng
