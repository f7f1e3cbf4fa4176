#include "binding/QvFailureCapture.h"

#include "base/Exception.h"
#include "binding/QvSNMPRequest2Controls.h"

namespace {
QvFailureCapture* g_innermost = nullptr;
} // namespace

QvFailureCapture::QvFailureCapture(QvSNMPRequest& request)
    : request_(request), callback_(request.ResultCallback), outer_(g_innermost) {
    request_.ResultCallback = &QvFailureCapture::Take;
    g_innermost = this;
}

QvFailureCapture::~QvFailureCapture() {
    request_.ResultCallback = callback_;
    g_innermost = outer_;
}

void QvFailureCapture::Take(QvSNMPError* record) {
    QvFailureCapture* c = g_innermost;
    while (c) {
        if (record && record->Code != 0 && !c->failed_) {
            c->failed_ = true;
            c->first_ = *record;
        }
        if (c->callback_ != &QvFailureCapture::Take) {
            if (c->callback_) c->callback_(record);
            return;
        }
        // The callback it replaced is an outer capture's on the same
        // request: that one hears the record next.
        QvFailureCapture* outer = c->outer_;
        while (outer && &outer->request_ != &c->request_)
            outer = outer->outer_;
        c = outer;
    }
}

std::string QvFailureCapture::Text() const {
    if (!first_.Message.empty()) return first_.Message;
    return "(QvSNMP++) " + request_.vars.Name;
}

void QvReadOrRaise(QvSNMPRequest2Controls& group) {
    std::string text;
    int code = 0;
    {
        QvFailureCapture capture(group.request);
        if (group.Read()) return;
        text = capture.Text();
        code = capture.First().Code;
    }
    throw Exception(text, code);
}
