// Set-up of the cross-form integrity tables: the administration fixture (the
// simulated device, a main window made but not started, the waiting dialog
// caught) with boxes answered as a user who agrees to every question, a
// bounded wait for every group and write sequence alive, the device's whole
// state as a map, and the objects a group of a form reads, as the group
// itself names them.
#pragma once

#include "binding/QvSNMPRequest2Controls.h"
#include "binding/QvWaitIdle.h"
#include "binding/QvWriteSequence.h"
#include "forms/admin/TransferServer.h"
#include "support/TempDir.h"
#include "tests/forms/admin/admin_fixture.h"
#include "ui/Dialogs.h"
#include "ui/StatusBar.h"

#include <algorithm>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace integritytest {

// Records every box and answers Yes where offered, else OK.
class AgreeingSink : public MessageSink {
public:
    int Show(const BoxRequest& r) override {
        texts.push_back(r.text);
        if (r.buttons & mbYes) return IDYES;
        if (r.buttons & mbOK) return IDOK;
        return r.EscapeAnswer();
    }
    std::vector<std::string> texts;
};

// What a group of a form reads: identifiers with their instances, and
// whether the group walks a table (a walk cannot fail with noSuchName: the
// device just shows no rows, so a walk is made to fail by a time-out).
struct GroupObjects {
    std::vector<std::string> oids;
    bool walk = false;
    bool found = false;
    std::uint32_t replyBoundMs = 0; // the longest a reply may take
};

inline std::string FirstOid(const QvSNMPVar* table) {
    for (const QvSNMPVar* v = table; v->Oid; ++v)
        if (*v->Oid) return v->Oid;
    return {};
}

// Whether the group was made from this table: the same first identifier,
// and every identifier of the table among the group's.
inline bool MadeFrom(const QvSNMPRequest2Controls& g, const QvSNMPVar* table) {
    const QvSNMPVarList& vars = g.request.vars;
    std::set<std::string> own;
    std::string first;
    for (int i = 0; i < vars.Count(); ++i) {
        const char* oid = vars.Item(i)->Oid;
        if (!oid || !*oid) continue;
        if (first.empty()) first = oid;
        own.insert(oid);
    }
    if (first.empty() || first != FirstOid(table)) return false;
    for (const QvSNMPVar* v = table; v->Oid; ++v)
        if (*v->Oid && !own.count(v->Oid)) return false;
    return true;
}

// The objects of every live group made from the table.
inline GroupObjects ObjectsOf(const QvSNMPVar* table) {
    GroupObjects out;
    std::set<std::string> seen;
    for (const QvSNMPRequest2Controls* g : QvSNMPRequest2Controls::Live()) {
        if (!MadeFrom(*g, table)) continue;
        out.found = true;
        const QvSNMPVarList& vars = g->request.vars;
        if (vars.IsTable()) out.walk = true;
        out.replyBoundMs = std::max(out.replyBoundMs, QvReplyBoundMs(g->request));
        for (int i = 0; i < vars.Count(); ++i) {
            const QvSNMPVar* v = vars.Item(i);
            if (!v->Oid || !*v->Oid) continue;
            if (v->Access & (QvAccess::Invalid | QvAccess::Derived | QvAccess::NotAccess)) continue;
            std::string oid = g->request.BaseOid(i);
            if (vars.ItemType == SVT_SV) oid += ".0";
            if (seen.insert(oid).second) out.oids.push_back(oid);
        }
    }
    return out;
}

// Any group or write sequence still at work.
inline bool AnythingBusy() {
    if (QvWriteSequence::AnyRunning()) return true;
    for (const QvSNMPRequest2Controls* g : QvSNMPRequest2Controls::Live())
        if (g->busy || g->request.Outstanding > 0) return true;
    return false;
}

class IntegrityTest : public admintest::AdminFormTest {
protected:
    void SetUp() override {
        AdminFormTest::SetUp();
        oldSink_ = SetMessageSink(&boxes);
        movers_ = MovingObjects();
        // The transfer forms look for this computer in the device's network:
        // this computer's own interfaces and gateways must not decide what a
        // row sees.
        LocalInterfaceSource() = [] {
            return std::vector<os::NetInterface>{
                {"lo", "127.0.0.1", "255.0.0.0", "127.255.255.255"}};
        };
        LocalGatewaySource() = [](TStrings&) {};
    }
    void TearDown() override {
        LocalInterfaceSource() = nullptr;
        LocalGatewaySource() = nullptr;
        SetMessageSink(oldSink_);
        AdminFormTest::TearDown();
    }

    // Runs the loop until nothing has been at work for a while, at most ms:
    // a finished step may post the next one.
    // quietly: a group still at work after ms is no failure (a walk the
    // device holds back on purpose).
    void Settle(std::uint32_t ms = 20000, bool quietly = false) {
        const std::uint32_t start = GetTickCount();
        int quiet = 0;
        while (quiet < 5 && GetTickCount() - start < ms) {
            QvWaitWhile(AnythingBusy, ms - (GetTickCount() - start));
            Application->ProcessMessages();
            g_SnmpEventProcessor.OnTimer();
            quiet = AnythingBusy() ? 0 : quiet + 1;
            Sleep(5);
        }
        if (!AnythingBusy() || quietly) return;
        std::string who = QvWriteSequence::AnyRunning() ? " a write sequence" : "";
        for (const QvSNMPRequest2Controls* g : QvSNMPRequest2Controls::Live())
            if (g->busy || g->request.Outstanding > 0)
                who += " [" + g->request.vars.Name + " " +
                       (g->request.vars.Count() ? g->request.vars.Item(0)->Oid : "") + " busy " +
                       std::to_string(g->busy) + " outstanding " +
                       std::to_string(g->request.Outstanding) + "]";
        ADD_FAILURE() << "still at work after " << ms << " ms:" << who;
    }

    // Every value of the device, but for counters that move by themselves.
    std::map<std::string, std::string> State() {
        lmrtest::TempDir folder("integrity");
        const std::string path = folder.path() + "/state";
        std::map<std::string, std::string> out;
        if (!dev->saveState(path)) {
            ADD_FAILURE() << "the device did not save its state";
            return out;
        }
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            auto blank = line.find(' ');
            std::string oid = line.substr(0, blank);
            if (movers_.count(oid)) continue;
            out[oid] = blank == std::string::npos ? "" : line.substr(blank + 1);
        }
        return out;
    }

    // "oid: before -> after" for every object whose value is neither the
    // first nor (when given) the second one's.
    static std::vector<std::string> Third(const std::map<std::string, std::string>& before,
                                          const std::map<std::string, std::string>& after,
                                          const std::map<std::string, std::string>* allowed) {
        std::vector<std::string> out;
        std::set<std::string> keys;
        for (const auto& [k, v] : before)
            keys.insert(k);
        for (const auto& [k, v] : after)
            keys.insert(k);
        auto at = [](const std::map<std::string, std::string>& m, const std::string& k) {
            auto it = m.find(k);
            return it == m.end() ? std::string("(absent)") : it->second;
        };
        for (const auto& k : keys) {
            const std::string was = at(before, k), now = at(after, k);
            if (now == was) continue;
            if (allowed && now == at(*allowed, k)) continue;
            out.push_back(k + ": " + was + " -> " + now);
        }
        return out;
    }

    // Texts that tell the user a write went through, wherever the form and
    // the dialogs it owns show them, and every box.
    std::vector<std::string> Claims(TComponent* root) {
        static const std::regex success(
            "Success|success|Set OK|Setting OK|Settings saved|Delete OK");
        std::vector<std::string> out;
        for (const auto& t : boxes.texts)
            if (std::regex_search(t, success)) out.push_back("box: " + t);
        std::function<void(TComponent*)> walk = [&](TComponent* c) {
            if (!c) return;
            if (auto* bar = dynamic_cast<TStatusBar*>(c)) {
                std::vector<std::string> texts{bar->SimpleText()};
                for (int k = 0; k < bar->Panels().Count(); ++k)
                    texts.push_back(bar->Panels()[k]->Text());
                for (const auto& t : texts)
                    if (std::regex_search(t, success)) out.push_back("status: " + t);
            }
            for (int k = 0; k < c->ComponentCount(); ++k)
                walk(c->Components(k));
        };
        walk(root);
        if (!waits.empty()) out.push_back("the waiting dialog");
        return out;
    }

    AgreeingSink boxes;

private:
    // Objects with a step or uptime rule in the data file, in digits.
    static std::set<std::string> MovingObjects() {
        std::set<std::string> out;
        std::ifstream in(std::string(LMR_SOURCE_DIR) + "/sim/device.dat");
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            if (line.find(" step=") == std::string::npos &&
                line.find(" uptime") == std::string::npos)
                continue;
            std::string oid = line.substr(0, line.find(' '));
            for (auto [word, digits] :
                 {std::pair<const char*, const char*>{"qvEnterprise", "1.3.6.1.4.1.32473"},
                  {"system", "1.3.6.1.2.1.1"}})
                if (oid.rfind(word, 0) == 0) oid = digits + oid.substr(std::string(word).size());
            out.insert("." + oid);
        }
        return out;
    }

    MessageSink* oldSink_ = nullptr;
    std::set<std::string> movers_;
};

} // namespace integritytest
