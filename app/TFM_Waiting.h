#pragma once
// The modal dialog a form shows after it has written settings or asked the
// device to restart: it counts down in 1.2 s ticks, sends the restart
// command itself after a short delay (unless told not to), and closes once
// the main window's LAN indicator shows the device answering again, or after
// six ticks that found it silent.
#include <cstdint>
#include <functional>
#include <memory>

#include "ui/Form.h"

class TEdit;
class TLabel;
class TTimer;
class QvSNMPRequest2Edits;

class TFM_Waiting : public TForm {
public:
    explicit TFM_Waiting(TComponent* owner);
    ~TFM_Waiting() override;

    TLabel* Label2 = nullptr;  // "Settings saved."
    TLabel* Label3 = nullptr;  // "The device is restarting."
    TLabel* Label1 = nullptr;  // "Please wait for"
    TLabel* La_Time = nullptr; // ticks left
    TLabel* Label4 = nullptr;  // "seconds"
    TEdit* Ed_Reboot = nullptr;
    TEdit* Ed_FwVer = nullptr;
    TTimer* Timer1 = nullptr;

    // What callers may set before showing the dialog.
    int Countdown = 25;
    uint8_t RebootFlag = 1;   // 0: send no restart command
    int RebootDelayTicks = 2; // ticks before the restart command goes out

    int FailureCount = 0;      // ticks spent waiting for the device
    uint8_t PendingReboot = 1; // until the restart step has run once

    std::unique_ptr<QvSNMPRequest2Edits> FirmwareRequest;
    std::unique_ptr<QvSNMPRequest2Edits> RebootRequest;

    void FormCreate(TObject* sender);
    void Timer1Timer(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);

    // The main window's LAN indicator is lime (false without a main window).
    static bool DeviceAnswering();
    // Shows a new dialog modally, as FM_Waiting, until it closes; prepare
    // sets it up first.
    static void Run(const std::function<void(TFM_Waiting&)>& prepare = nullptr);

    static constexpr unsigned TickMs = 1200;
    static constexpr int MaxFailures = 6;

private:
    void SendRestart();
};

// The dialog while a form shows it.
extern TFM_Waiting* FM_Waiting;
