#pragma once
// What every unit of the program uses of the event loop without being a
// window: posting a call to the GUI thread, handling pending events, the
// millisecond tick count and Sleep. Qt Core only, so the SNMP core can use
// it without the GUI library.
#include <cstdint>
#include <functional>

// Runs fn after the current handler has returned, from the next loop (main,
// modal or ProcessMessages), in the order calls were posted.
void PostCall(std::function<void()> fn);
// Handles every pending event and posted call, then returns.
void ProcessMessages();
// The same without keyboard and mouse input: input that arrives meanwhile is
// kept and delivered by a later loop, in its order. For waits during which a
// click must not reach objects that are half destroyed.
void ProcessMessagesWithoutInput();

// While one lives, keyboard and mouse input is held back in the loop it was
// made in (a modal loop opened meanwhile still gets its own input); at its
// end the held input is posted again to the receivers still alive.
class UserInputHolder;
class UserInputHold {
public:
    UserInputHold();
    ~UserInputHold();
    UserInputHold(const UserInputHold&) = delete;
    UserInputHold& operator=(const UserInputHold&) = delete;

private:
    UserInputHolder* holder_ = nullptr; // null when an outer hold already holds
};
// Runs fn under the dispatch guard: the GUI layer installs one that shows an
// escaping exception instead of letting it unwind through the event loop.
// Posted calls and the SNMP completions run so. Without a guard fn runs bare.
void RunGuarded(const std::function<void()>& fn);
void SetDispatchGuard(std::function<void(const std::function<void()>&)> guard);

// Milliseconds since some start, wrapping at 2^32; replaceable for tests.
std::uint32_t GetTickCount();
void Sleep(std::uint32_t ms);
void SetTickCountSource(std::function<std::uint32_t()> source);   // null: the real clock
void SetSleepHandler(std::function<void(std::uint32_t)> handler); // null: really sleep
