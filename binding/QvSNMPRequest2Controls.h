#pragma once
// The read and write driver between one request and a form: a whole read (a
// get, or a get-next walk of a table) or a whole write (one set, then an
// optional re-read of a table), synchronous or asynchronous, bracketed by
// virtual hooks; every received row goes to RowReceived. Results of
// asynchronous work are reported to a status bar, a status panel or a memo,
// else in a message box.
//
// An asynchronous completion is handled from a call posted by the request's
// closure, once the request has finished with its reply: a form may then
// delete the driver from any hook, row or closure, and a completion never
// reaches a driver that is gone. Every asynchronous operation ends with
// exactly one done closure, also when a row or an after hook raised, and the
// driver is no longer busy when hooks after the operation and closures run.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "snmp/QvErrors.h"
#include "snmp/QvOctets.h"
#include "snmp/QvSNMPRequest.h"

class TObject;
class TStrings;
class TWinControl;
class QvSNMPRequest2Controls;

// How the last read of a group went. A group whose read failed is not
// written (QvWriteSequence leaves it out) and its controls cannot be edited.
enum class QvReadState : uint8_t { None, Running, Succeeded, Failed };

// Fired when an asynchronous read or write ends.
using QvSNMPDoneEvent = std::function<void(QvSNMPRequest2Controls* sender, QvSNMPError* error)>;

class QvSNMPRequest2Controls {
public:
    explicit QvSNMPRequest2Controls(TWinControl* owner);
    virtual ~QvSNMPRequest2Controls();
    QvSNMPRequest2Controls(const QvSNMPRequest2Controls&) = delete;
    QvSNMPRequest2Controls& operator=(const QvSNMPRequest2Controls&) = delete;

    QvSNMPRequest request;
    QvSNMPDoneEvent OnReadDone;
    QvSNMPDoneEvent OnWriteDone;
    uint8_t mode = 1; // 0 synchronous, 1 asynchronous; anything else does nothing
    uint8_t busy = 0;
    TWinControl* owner;
    int rowsRead = 0;
    TObject* statusBar = nullptr; // TStatusBar, TStatusPanel or TMemo
    int lastOperation = 0;        // 0 read, 1 write
    uint8_t rereadAfterWrite = 1;
    QvSNMPRequest* filterSource = nullptr;
    std::string filterText;

    // Every group alive now, oldest first: lets a window (or a test) find out
    // whether any work of its groups is still outstanding.
    static const std::vector<QvSNMPRequest2Controls*>& Live();

    void SetStatusBar(TObject* target) { statusBar = target; }
    // The same for the generic panels' memo.
    void SetStatusBar2(TObject* target) { statusBar = target; }

    bool Read();
    // numbers: comma-separated variable indices to send (empty: the whole
    // list); values: their value texts in the same order, or null.
    bool Write(bool reread, bool collect, const std::string& numbers, TStrings* values);
    void ReportToStatusBar(const std::string& errorText);
    std::string BuildFilterText();

    QvReadState ReadState() const { return readState_; }
    bool ReadSucceeded() const { return readState_ == QvReadState::Succeeded; }
    bool ReadFailed() const { return readState_ == QvReadState::Failed; }
    // The failure that ended the last read (empty unless ReadFailed()).
    const QvSNMPError& LastReadFailure() const { return lastReadFailure_; }

    void OnAsyncReadDone(QvSNMPError* error);
    void OnAsyncWriteDone(QvSNMPError* error);

    // Octet images of display texts (they use no member of the driver).
    static QvOctetImage TextToOctets(const std::string& text, int syntax) {
        return QvTextToOctets(text, syntax);
    }
    static std::string OctetsToText(const QvOctetImage& octets, int syntax) {
        return QvOctetsToText(octets, syntax);
    }
    static QvOctetImage ExtractPartOctets(const QvOctetImage& octets, int offset, int syntax) {
        return QvExtractPartOctets(octets, offset, syntax);
    }

    // The record handed to the result callback after a successful operation.
    static QvSNMPError SuccessRecord();

    // Virtual operations, in slot order.
    virtual void BeforeRead() {}
    virtual void BeforeWrite() {}
    virtual void RowReceived() = 0;
    virtual void CollectValues() {}
    virtual void ReportReadResult(QvSNMPError* error);
    virtual void ReportWriteResult(QvSNMPError* error);
    virtual void AfterRead() {}
    virtual void AfterWrite() {}

protected:
    // Called whenever a read ends, before AfterRead and the done closure.
    virtual void ReadEnded() {}
    // Stops every completion from reaching this object. Derived destructors
    // call it first, before their own members go.
    void Shutdown();
    // Variables whose controls hold no value (a list without a selection):
    // the next Write leaves them out, so the device keeps what it has.
    std::vector<int> unsent_;
    // Cleared by Shutdown; held by code that calls out (hooks, closures, rows)
    // to find out whether the object survived the call.
    std::shared_ptr<bool> alive_;

private:
    void EndRead(const QvSNMPError* failure);
    QvReadState readState_ = QvReadState::None;
    QvSNMPError lastReadFailure_;
    bool RowPasses(const std::string& filter);
    // Hands a row that passes the filter to RowReceived; false when that
    // deleted the driver.
    bool TakeRow(const std::string& filter);
    // The closure of an asynchronous request: it posts the reply to done on
    // the GUI thread, unless the driver is gone by then.
    QvDoneClosure Completion(void (QvSNMPRequest2Controls::*done)(QvSNMPError*));
    void EndIfSendFailed(int64_t failuresBefore);
    void StartAsyncRead(bool first);
    // Ends an asynchronous operation whose completion raised: the report,
    // then the done closure with the failure's code.
    void EndWithFailure(int operation, const QvSNMPDoneEvent& done, const std::exception& e);
    void ReportFailure(const std::string& message);
    void Fire(const QvSNMPDoneEvent& event, QvSNMPError* error);
    void CallResultCallback();
};
