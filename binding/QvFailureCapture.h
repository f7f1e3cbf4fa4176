#pragma once
// A blocking request hands its failures only to its result callback, a plain
// function without context. While a capture lives, the first failure its
// request reports is kept here, and the callback that was set still gets
// every record. Captures nest: the innermost one takes the records.
#include "snmp/QvSNMPRequest.h"

#include <string>

class QvSNMPRequest2Controls;

class QvFailureCapture {
public:
    explicit QvFailureCapture(QvSNMPRequest& request);
    ~QvFailureCapture();
    QvFailureCapture(const QvFailureCapture&) = delete;
    QvFailureCapture& operator=(const QvFailureCapture&) = delete;

    bool Failed() const { return failed_; }
    const QvSNMPError& First() const { return first_; }
    // The first failure's text, or the request's name when it had none.
    std::string Text() const;

private:
    static void Take(QvSNMPError* record);

    QvSNMPRequest& request_;
    QvResultCallback callback_;
    QvFailureCapture* outer_;
    QvSNMPError first_;
    bool failed_ = false;
};

// Reads a group at once; a failed read raises an Exception with the
// failure's text and code (the group's name when the request reported none),
// so that it ends the running handler and the application shows it.
void QvReadOrRaise(QvSNMPRequest2Controls& group);
