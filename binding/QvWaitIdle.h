#pragma once
// Bounded waits for asynchronous work of a request group: events other than
// user input keep running (replies, timers, posted calls), the thread sleeps
// briefly between checks, and the wait gives up once its bound has passed,
// so a device that never answers cannot hang a closing window.
#include <cstdint>
#include <functional>

class QvSNMPRequest;
class QvSNMPRequest2Controls;

// The longest one reply of r can take: its time-out (hundredths of a second)
// times its sends (the first try and every retry), in milliseconds.
std::uint32_t QvReplyBoundMs(const QvSNMPRequest& r);

// Handles pending non-input events until busy() turns false or boundMs have
// passed on the tick count; true when busy() turned false.
bool QvWaitWhile(const std::function<bool()>& busy, std::uint32_t boundMs);

// Waits while the group is busy. When the bound passes first, the operation
// is ended: the request accepts no more replies (its alive flag stays clear)
// and the group is no longer busy. Returns whether the group became idle.
bool WaitWhileBusy(QvSNMPRequest2Controls& group, std::uint32_t boundMs);
