#include "snmp/engine/StatusTable.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

namespace snmpeng {

namespace {

const StatusRow kRows[] = {
    {SNMPERR_SUCCESS, kOk, "success"},
    {SNMPERR_GENERR, kOperationFailed, "general failure"},
    {SNMPERR_TIMEOUT, kTimeout, "no reply within the retries"},
    {SNMPERR_BAD_ADDRESS, kInvalidAddress, "address that does not resolve"},
    {SNMPERR_BAD_LOCPORT, kTransportInUse, "local port in use"},
    {SNMPERR_NO_SOCKET, kTransportFailed, "no socket"},
    {SNMPERR_BAD_SENDTO, kTransportFailed, "send failed"},
    {SNMPERR_BAD_RECVFROM, kTransportFailed, "receive failed"},
    {SNMPERR_BAD_SESSION, kClassInvalid, "session not valid"},
    {SNMPERR_MALLOC, kResourceUnavailable, "out of memory"},
    {SNMPERR_NULL_PDU, kInvalidPdu, "no PDU"},
    {SNMPERR_UNKNOWN_PDU, kInvalidPdu, "unknown PDU type"},
    {SNMPERR_TOO_LONG, kInvalidPdu, "message too long"},
    {SNMPERR_VAR_TYPE, kInvalidPdu, "bad value type"},
    {SNMPERR_VALUE, kInvalidPdu, "bad value"},
    {SNMPERR_V2_IN_V1, kInvalidPdu, "SNMPv2 type in an SNMPv1 PDU"},
    {SNMPERR_BAD_NAME, kInvalidOid, "bad object identifier"},
    {SNMPERR_BAD_SUBID, kInvalidOid, "bad sub-identifier"},
    {SNMPERR_LONG_OID, kInvalidOid, "object identifier too long"},
    {SNMPERR_BAD_VERSION, kNotSupportedOnTarget, "version the library refuses"},
    {kCondUnsupportedVersion, kNotSupportedOnTarget, "version code other than 0-3"},
    {SNMPERR_BAD_ASN1_BUILD, kMpBuildError, "message cannot be encoded"},
    {SNMPERR_ASN_PARSE_ERR, kMpParseError, "reply cannot be decoded"},
    {SNMPERR_BAD_PARSE, kMpParseError, "reply cannot be parsed"},
    {SNMPERR_INVALID_MSG, kMpInvalidMessage, "invalid message"},
    {SNMPERR_BAD_ENG_ID, kMpInvalidEngineId, "bad engine id"},
    {SNMPERR_UNKNOWN_SEC_MODEL, kMpUnsupportedSecurityModel, "unknown security model"},
    {kCondUnsupportedSecurityModel, kMpUnsupportedSecurityModel, "security model other than USM"},
    {SNMPERR_UNKNOWN_ENG_ID, kUsmUnknownEngineId, "unknown engine id report"},
    {SNMPERR_USM_UNKNOWNENGINEID, kUsmUnknownEngineId, "unknown engine id"},
    {SNMPERR_UNKNOWN_USER_NAME, kUsmUnknownSecurityName, "unknown user name report"},
    {SNMPERR_USM_UNKNOWNSECURITYNAME, kUsmUnknownSecurityName, "unknown user name"},
    {SNMPERR_BAD_SEC_NAME, kUsmUnknownSecurityName, "bad security name"},
    {SNMPERR_UNSUPPORTED_SEC_LEVEL, kUsmUnsupportedSecurityLevel, "unsupported level report"},
    {SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL, kUsmUnsupportedSecurityLevel, "unsupported level"},
    {SNMPERR_BAD_SEC_LEVEL, kUsmUnsupportedSecurityLevel, "bad security level"},
    {SNMPERR_AUTHENTICATION_FAILURE, kUsmAuthenticationFailure, "wrong digest report"},
    {SNMPERR_USM_AUTHENTICATIONFAILURE, kUsmAuthenticationFailure, "wrong digest"},
    {SNMPERR_NOT_IN_TIME_WINDOW, kUsmNotInTimeWindow, "not in time window report"},
    {SNMPERR_USM_NOTINTIMEWINDOW, kUsmNotInTimeWindow, "not in time window"},
    {SNMPERR_DECRYPTION_ERR, kUsmDecryptionError, "decryption error report"},
    {SNMPERR_USM_DECRYPTIONERROR, kUsmDecryptionError, "decryption error"},
    {SNMPERR_USM_ENCRYPTIONERROR, kUsmEncryptionError, "encryption error"},
    {SNMPERR_USM_PARSEERROR, kUsmParseError, "security parameters cannot be parsed"},
    {SNMPERR_USM_GENERICERROR, kUsmError, "user-based security failure"},
    {SNMPERR_UNKNOWN_REPORT, kUsmError, "report of an unknown kind"},
    {kCondUnsupportedAuth, kUsmUnsupportedAuthProtocol, "authentication protocol not served"},
    {kCondUnsupportedPriv, kUsmUnsupportedPrivProtocol, "privacy protocol not served"},
    {kCondAuthPasswordRefused, kUsmAuthenticationError, "authentication password too short"},
    {kCondPrivPasswordRefused, kUsmEncryptionError, "privacy password too short"},
};

} // namespace

const StatusRow* StatusRows(std::size_t* count) {
    *count = sizeof kRows / sizeof kRows[0];
    return kRows;
}

int StatusOf(int condition) {
    for (const StatusRow& row : kRows)
        if (row.condition == condition) return row.status;
    return kOperationFailed;
}

} // namespace snmpeng
