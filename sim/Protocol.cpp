#include "sim/Protocol.h"

namespace sim {

std::optional<Request> RequestParser::feed(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    switch (state_) {
    case Command:
        current_ = Request();
        if (line == "PING") {
            current_.kind = Request::Ping;
            return current_;
        }
        if (line == "get")
            current_.kind = Request::Get;
        else if (line == "getnext")
            current_.kind = Request::GetNext;
        else if (line == "set")
            current_.kind = Request::Set;
        else
            return std::nullopt;
        state_ = OidLine;
        return std::nullopt;
    case OidLine: {
        auto oid = parseOid(line);
        current_.badOid = !oid;
        if (oid) current_.oid = *oid;
        if (current_.kind == Request::Set) {
            state_ = ValueLine;
            return std::nullopt;
        }
        state_ = Command;
        return current_;
    }
    case ValueLine: {
        auto blank = line.find(' ');
        current_.typeWord = std::string(line.substr(0, blank));
        current_.value =
            blank == std::string_view::npos ? std::string() : std::string(line.substr(blank + 1));
        state_ = Command;
        return current_;
    }
    }
    return std::nullopt;
}

namespace {

std::string varbindText(const std::optional<Varbind>& vb) {
    if (!vb) return "NONE\n";
    return oidText(vb->oid) + "\n" + vb->type + "\n" + vb->value + "\n";
}

std::string answerGet(Model& model, const Request& request, const Oid& subtree) {
    if (request.badOid || !isPrefix(subtree, request.oid)) return "NONE\n";
    return varbindText(model.get(request.oid));
}

std::string answerSet(Model& model, const Request& request) {
    return model.set(request.oid, request.typeWord, request.value) + "\n";
}

} // namespace

Reply respond(Model& model, const Request& request, const Oid& subtree, int timeoutMs) {
    Reply reply;
    auto holdBack = [&](const Fault& fault) {
        reply.delayed = true;
        reply.delayMs = fault.delayMs > 0 ? fault.delayMs : timeoutMs;
    };
    switch (request.kind) {
    case Request::Ping:
        reply.text = "PONG\n";
        return reply;
    case Request::Get: {
        model.commit(); // a get starts the next PDU
        auto fault = request.badOid ? std::nullopt : model.faultFor(request.oid, false);
        if (fault && fault->mode == FaultMode::Timeout) {
            holdBack(*fault);
            return reply;
        }
        if (fault && fault->mode == FaultMode::NoSuchName) {
            reply.text = "NONE\n";
            return reply;
        }
        reply.text = answerGet(model, request, subtree);
        return reply;
    }
    case Request::GetNext: {
        model.commit();
        if (request.badOid) {
            reply.text = "NONE\n";
            return reply;
        }
        // A walk of a silent subtree goes unanswered even when the subtree
        // holds no object (an empty table).
        auto asked = model.faultFor(request.oid, false, true);
        if (asked && asked->mode == FaultMode::Timeout) {
            holdBack(*asked);
            return reply;
        }
        auto next = model.getNext(request.oid, subtree);
        if (next) {
            auto fault = model.faultFor(next->oid, false, true);
            if (fault && fault->mode == FaultMode::Timeout) {
                holdBack(*fault);
                return reply;
            }
        }
        reply.text = varbindText(next);
        return reply;
    }
    case Request::Set: {
        if (request.badOid) {
            model.failSet();
            reply.text = "not-writable\n";
            return reply;
        }
        auto fault = model.faultFor(request.oid, true);
        if (fault && fault->mode != FaultMode::None) {
            model.failSet();
            switch (fault->mode) {
            case FaultMode::Timeout:
                holdBack(*fault);
                return reply;
            case FaultMode::GenErr:
                reply.text = "gen-error\n";
                return reply;
            case FaultMode::NoSuchName:
                reply.text = "no-such-name\n";
                return reply;
            case FaultMode::BadValue:
                reply.text = "bad-value\n";
                return reply;
            case FaultMode::None:
                break;
            }
        }
        reply.text = answerSet(model, request);
        return reply;
    }
    }
    return reply;
}

std::string releaseText(Model& model, const Request& request, const Oid& subtree) {
    switch (request.kind) {
    case Request::Ping:
        return "PONG\n";
    case Request::Get:
        return answerGet(model, request, subtree);
    case Request::GetNext:
        return request.badOid ? "NONE\n" : varbindText(model.getNext(request.oid, subtree));
    case Request::Set:
        return "gen-error\n"; // a lost set is never applied
    }
    return "NONE\n";
}

} // namespace sim
