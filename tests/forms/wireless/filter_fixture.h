#pragma once
// Shared by the filter and MAC table tests: the administration fixture (the
// simulated device, a main window that is made but not started, recorded
// boxes, the waiting dialog caught) with the access-control objects named
// short, and a bounded wait for the table form's asynchronous requests.
#include "binding/QvWaitIdle.h"
#include "tests/forms/admin/admin_fixture.h"

#include <functional>
#include <string>
#include <vector>

namespace filtertest {

inline const std::string kArc = "qvEnterprise.11.37.4.";
inline const std::vector<std::string> kFilterObjects = {
    "2.4.1.1.1.1", "2.4.3.1.1.1", "2.4.3.1.2.1", "2.4.3.1.3.1",
    "2.4.1.1.1.2", "2.4.3.1.1.2", "2.4.3.1.2.2", "2.4.3.1.3.2"};

// The MAC cell of entry n of a band.
inline std::string MacCell(int band, int n) {
    return "2.4.2.1.2." + std::to_string(band) + "." + std::to_string(n);
}

// Every cell of both bands' tables.
inline std::vector<std::string> MacCells() {
    std::vector<std::string> out;
    for (int band = 1; band <= 2; ++band)
        for (int n = 1; n <= 32; ++n)
            out.push_back(MacCell(band, n));
    return out;
}

class FilterTest : public admintest::AdminFormTest {
protected:
    // Runs the loop until done() holds, at most ms.
    static bool Until(const std::function<bool()>& done, std::uint32_t ms = 8000) {
        return QvWaitWhile([&] { return !done(); }, ms);
    }
    // A picture of a form that is already on screen (a modal one, say).
    static void Picture(TForm* form, const std::string& name) {
        const char* folder = std::getenv("LMR_SCREENSHOT_DIR");
        if (!folder || !*folder) return;
        Application->ProcessMessages();
        form->Widget()->grab().save(QString::fromStdString(std::string(folder) + "/" + name));
    }
    std::string Peek(const std::string& oid) {
        return dev->peek(kArc + oid).value_or("(absent)");
    }
};

} // namespace filtertest
