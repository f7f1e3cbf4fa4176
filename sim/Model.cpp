#include "sim/Model.h"

#include "mib/Enterprise.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <set>
#include <sstream>
#include <utility>

namespace sim {

namespace {

bool parseInt(std::string_view text, std::int64_t* out) {
    if (text.empty()) return false;
    if (text.front() == '+') text.remove_prefix(1);
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), *out);
    return ec == std::errc() && p == text.data() + text.size();
}

bool parseUInt(std::string_view text, std::uint64_t* out) {
    if (text.empty() || text.front() == '-') return false;
    auto [p, ec] = std::from_chars(text.data(), text.data() + text.size(), *out);
    return ec == std::errc() && p == text.data() + text.size();
}

bool parseRange(std::string_view text, std::int64_t* lo, std::int64_t* hi) {
    auto dots = text.find("..");
    if (dots == std::string_view::npos) return false;
    return parseInt(text.substr(0, dots), lo) && parseInt(text.substr(dots + 2), hi);
}

std::vector<std::string_view> split(std::string_view text, char sep) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        auto pos = text.find(sep, start);
        parts.push_back(text.substr(start, pos - start));
        if (pos == std::string_view::npos) break;
        start = pos + 1;
    }
    return parts;
}

// Whitespace-separated words; "..." keeps blanks and takes \" and \\.
bool tokenize(std::string_view line, std::vector<std::string>* words, std::string* error) {
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#') break;
        std::string word;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            if (line[i] == '"') {
                ++i;
                bool closed = false;
                while (i < line.size()) {
                    if (line[i] == '\\' && i + 1 < line.size()) {
                        word += line[i + 1];
                        i += 2;
                    } else if (line[i] == '"') {
                        ++i;
                        closed = true;
                        break;
                    } else {
                        word += line[i++];
                    }
                }
                if (!closed) {
                    *error = "unterminated quote";
                    return false;
                }
            } else {
                word += line[i++];
            }
        }
        words->push_back(std::move(word));
    }
    return true;
}

bool parseIp(std::string_view text, std::string* canonical) {
    auto parts = split(text, '.');
    if (parts.size() != 4) return false;
    std::string out;
    for (auto part : parts) {
        std::uint64_t v = 0;
        if (part.size() > 3 || !parseUInt(part, &v) || v > 255) return false;
        if (!out.empty()) out += '.';
        out += std::to_string(v);
    }
    *canonical = out;
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Hex digits with optional blanks or colons between the bytes.
bool parseHex(std::string_view text, std::string* bytes) {
    std::string out;
    int high = -1;
    for (char c : text) {
        if (c == ' ' || c == ':') {
            if (high >= 0) return false;
            continue;
        }
        int d = hexDigit(c);
        if (d < 0) return false;
        if (high < 0) {
            high = d;
        } else {
            out += static_cast<char>(high * 16 + d);
            high = -1;
        }
    }
    if (high >= 0) return false;
    *bytes = out;
    return true;
}

std::string_view unquote(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

bool printable(const std::string& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7f; });
}

// Data-file notation to stored form; "hex:..." gives binary octets.
bool storedFromText(Type type, std::string_view text, std::string* stored) {
    switch (type) {
    case Type::Integer: {
        std::int64_t v = 0;
        if (!parseInt(text, &v) || v < INT32_MIN || v > INT32_MAX) return false;
        *stored = std::to_string(v);
        return true;
    }
    case Type::Counter:
    case Type::Gauge:
    case Type::TimeTicks: {
        std::uint64_t v = 0;
        if (!parseUInt(text, &v) || v > UINT32_MAX) return false;
        *stored = std::to_string(v);
        return true;
    }
    case Type::OctetString:
        if (text.substr(0, 4) == "hex:") return parseHex(text.substr(4), stored);
        *stored = std::string(text);
        return true;
    case Type::IpAddress:
        return parseIp(text, stored);
    case Type::ObjectId: {
        auto oid = parseOid(text);
        if (!oid) return false;
        *stored = oidText(*oid);
        return true;
    }
    }
    return false;
}

std::string textFromStored(Type type, const std::string& stored) {
    if (type != Type::OctetString || printable(stored)) return stored;
    static const char* digits = "0123456789ABCDEF";
    std::string out = "hex:";
    for (unsigned char c : stored) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

bool parseRule(std::string_view word, Rules* rules) {
    auto eq = word.find('=');
    if (eq == std::string_view::npos) return false;
    auto key = word.substr(0, eq);
    auto val = word.substr(eq + 1);
    if (key == "range") {
        std::int64_t lo = 0, hi = 0;
        if (!parseRange(val, &lo, &hi)) return false;
        rules->min = lo;
        rules->max = hi;
        return true;
    }
    if (key == "size") {
        std::int64_t lo = 0, hi = 0;
        if (!parseRange(val, &lo, &hi) || lo < 0 || hi < lo) return false;
        rules->minLen = static_cast<std::size_t>(lo);
        rules->maxLen = static_cast<std::size_t>(hi);
        return true;
    }
    if (key == "enum") {
        for (auto part : split(val, ',')) {
            std::int64_t v = 0;
            if (!parseInt(part, &v)) return false;
            rules->allowed.push_back(v);
        }
        return true;
    }
    if (key == "restart-on") {
        std::int64_t v = 0;
        if (!parseInt(val, &v)) return false;
        rules->restartOn = v;
        return true;
    }
    if (key == "after-restart") {
        rules->afterRestart = std::string(val);
        return true;
    }
    if (key == "step") {
        std::int64_t v = 0;
        if (!parseInt(val, &v)) return false;
        rules->step = v;
        return true;
    }
    if (key == "factory-reset-on") {
        std::int64_t v = 0;
        if (!parseInt(val, &v)) return false;
        rules->factoryResetOn = v;
        rules->restartOn = v;
        return true;
    }
    if (key == "fill-on") {
        std::int64_t v = 0;
        if (!parseInt(val, &v)) return false;
        rules->fillOn = v;
        return true;
    }
    if (key == "fill-from" || key == "fill-to") {
        auto oid = parseOid(val);
        if (!oid) return false;
        (key == "fill-from" ? rules->fillFrom : rules->fillTo) = *oid;
        return true;
    }
    if (key == "move-row") {
        auto parts = split(val, ',');
        if (parts.size() != 2) return false;
        auto from = parseOid(parts[0]);
        auto to = parseOid(parts[1]);
        if (!from || !to) return false;
        rules->moveFrom = *from;
        rules->moveTo = *to;
        return true;
    }
    if (key == "max-rows") {
        std::int64_t v = 0;
        if (!parseInt(val, &v) || v < 0) return false;
        rules->maxRows = static_cast<std::size_t>(v);
        return true;
    }
    if (key == "delete-row") {
        auto oid = parseOid(val);
        if (!oid) return false;
        rules->deleteRow = *oid;
        return true;
    }
    if (key == "same-as") {
        auto oid = parseOid(val);
        if (!oid) return false;
        rules->sameAs = *oid;
        return true;
    }
    if (key == "copy-on-restart") {
        auto oid = parseOid(val);
        if (!oid) return false;
        rules->copyOnRestart = *oid;
        return true;
    }
    return false;
}

// Splits the words after the value into rules, profile overrides and the
// profile filter. False when a word is not understood.
struct Extras {
    Rules rules;
    bool uptime = false;
    bool included = true;
    std::optional<std::string> value;
};

// "only=a,b" names the profiles a line belongs to.
bool inProfiles(std::string_view list, const std::string& profile) {
    auto names = split(list, ',');
    return std::find(names.begin(), names.end(), profile) != names.end();
}

bool parseExtras(const std::vector<std::string>& words, std::size_t from,
                 const std::string& profile, Extras* extras, std::string* error) {
    for (std::size_t i = from; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "uptime") {
            extras->uptime = true;
        } else if (w.rfind("only=", 0) == 0) {
            extras->included = inProfiles(std::string_view(w).substr(5), profile);
        } else if (!w.empty() && w[0] == '@') {
            auto eq = w.find('=');
            if (eq == std::string::npos) {
                *error = "bad profile value: " + w;
                return false;
            }
            if (w.substr(1, eq - 1) == profile) extras->value = w.substr(eq + 1);
        } else if (!parseRule(w, &extras->rules)) {
            *error = "bad rule: " + w;
            return false;
        }
    }
    return true;
}

Oid cellOid(const Table& table, std::uint32_t column, const Oid& instance) {
    Oid oid = table.entry;
    oid.push_back(column);
    oid.insert(oid.end(), instance.begin(), instance.end());
    return oid;
}

// A cell of a table row with its column's default; an index column holds the
// row's one-number instance.
Object makeCell(const Table& table, const Column& col, const Oid& instance) {
    Object cell;
    cell.oid = cellOid(table, col.number, instance);
    cell.type = col.type;
    cell.writable = col.writable;
    cell.indexCell = col.index;
    cell.rules = col.rules;
    if (col.index)
        cell.value = instance.size() == 1 ? std::to_string(instance[0]) : "0";
    else
        cell.value = col.value;
    return cell;
}

} // namespace

std::optional<Oid> parseOid(std::string_view text) {
    Oid oid;
    auto takeArc = [&](std::string_view name, std::string_view arc) {
        if (text.substr(0, name.size()) != name) return true;
        auto rest = text.substr(name.size());
        if (!rest.empty() && rest.front() != '.') return true;
        auto base = parseOid(arc);
        if (!base) return false;
        oid = *base;
        text = rest;
        return true;
    };
    if (!takeArc("qvEnterprise", mib::qvEnterprise)) return std::nullopt;
    if (oid.empty() && !takeArc("system", "1.3.6.1.2.1.1")) return std::nullopt;
    if (!text.empty() && text.front() == '.') text.remove_prefix(1);
    if (text.empty()) {
        if (oid.empty()) return std::nullopt;
        return oid;
    }
    for (auto part : split(text, '.')) {
        std::uint64_t v = 0;
        if (!parseUInt(part, &v) || v > UINT32_MAX) return std::nullopt;
        oid.push_back(static_cast<std::uint32_t>(v));
    }
    return oid;
}

std::string oidText(const Oid& oid) {
    std::string out;
    for (auto v : oid) {
        out += '.';
        out += std::to_string(v);
    }
    return out;
}

bool isPrefix(const Oid& prefix, const Oid& oid) {
    return prefix.size() <= oid.size() && std::equal(prefix.begin(), prefix.end(), oid.begin());
}

std::optional<Type> typeFromName(std::string_view name) {
    if (name == "integer") return Type::Integer;
    if (name == "string" || name == "octet") return Type::OctetString;
    if (name == "objectid") return Type::ObjectId;
    if (name == "ipaddress") return Type::IpAddress;
    if (name == "counter") return Type::Counter;
    if (name == "gauge") return Type::Gauge;
    if (name == "timeticks") return Type::TimeTicks;
    return std::nullopt;
}

const char* typeName(Type type) {
    switch (type) {
    case Type::Integer:
        return "integer";
    case Type::OctetString:
        return "string";
    case Type::ObjectId:
        return "objectid";
    case Type::IpAddress:
        return "ipaddress";
    case Type::Counter:
        return "counter";
    case Type::Gauge:
        return "gauge";
    case Type::TimeTicks:
        return "timeticks";
    }
    return "?";
}

std::optional<FaultMode> faultModeFromName(std::string_view name) {
    if (name == "none") return FaultMode::None;
    if (name == "timeout") return FaultMode::Timeout;
    if (name == "genErr") return FaultMode::GenErr;
    if (name == "noSuchName") return FaultMode::NoSuchName;
    if (name == "badValue") return FaultMode::BadValue;
    return std::nullopt;
}

std::string checkValue(Type type, const Rules& rules, std::string_view typeWord,
                       std::string_view valueText, std::string* stored) {
    auto given = typeFromName(typeWord);
    if (!given || *given != type) return "wrong-type";
    std::string value;
    switch (type) {
    case Type::Integer:
    case Type::Counter:
    case Type::Gauge:
    case Type::TimeTicks: {
        if (!storedFromText(type, valueText, &value)) return "wrong-value";
        std::int64_t v = 0;
        parseInt(value, &v);
        if ((rules.min && v < *rules.min) || (rules.max && v > *rules.max)) return "wrong-value";
        if (!rules.allowed.empty() &&
            std::find(rules.allowed.begin(), rules.allowed.end(), v) == rules.allowed.end())
            return "wrong-value";
        break;
    }
    case Type::OctetString:
        if (typeWord == "octet") {
            if (!parseHex(unquote(valueText), &value)) return "wrong-value";
        } else {
            value = std::string(unquote(valueText));
        }
        if ((rules.minLen && value.size() < *rules.minLen) ||
            (rules.maxLen && value.size() > *rules.maxLen))
            return "wrong-length";
        break;
    case Type::IpAddress:
    case Type::ObjectId:
        if (!storedFromText(type, unquote(valueText), &value)) return "wrong-value";
        break;
    }
    *stored = value;
    return "DONE";
}

bool Model::loadFile(const std::string& path, const std::string& profile, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    return loadText(buffer.str(), profile, error);
}

bool Model::loadText(std::string_view text, const std::string& profile, std::string* error) {
    int lineNo = 0;
    for (auto line : split(text, '\n')) {
        ++lineNo;
        if (!addLine(line, profile, lineNo, error)) return false;
    }
    if (openTable_ || openTableSkipped_) {
        *error = "line " + std::to_string(lineNo) + ": table without end";
        return false;
    }
    loaded_ = objects_;
    return true;
}

bool Model::addLine(std::string_view line, const std::string& profile, int lineNo,
                    std::string* error) {
    std::vector<std::string> words;
    std::string why;
    auto fail = [&](const std::string& message) {
        *error = "line " + std::to_string(lineNo) + ": " + message;
        return false;
    };
    if (!tokenize(line, &words, &why)) return fail(why);
    if (words.empty()) return true;
    const std::string& kind = words[0];

    if (kind == "end") {
        if (!openTable_ && !openTableSkipped_) return fail("end without table");
        openTable_.reset();
        openTableSkipped_ = false;
        return true;
    }
    if (openTableSkipped_) return true;

    if (kind == "table") {
        if (openTable_) return fail("nested table");
        if (words.size() < 2) return fail("table needs an entry OID");
        auto entry = parseOid(words[1]);
        if (!entry) return fail("bad OID " + words[1]);
        Table table;
        table.entry = *entry;
        bool included = true;
        for (std::size_t i = 2; i < words.size(); ++i) {
            std::int64_t v = 0;
            if (words[i].rfind("status=", 0) == 0 && parseInt(words[i].substr(7), &v) && v > 0) {
                table.statusColumn = static_cast<std::uint32_t>(v);
            } else if (words[i].rfind("only=", 0) == 0) {
                included = inProfiles(std::string_view(words[i]).substr(5), profile);
            } else {
                return fail("bad table option " + words[i]);
            }
        }
        if (!included) {
            openTableSkipped_ = true;
            return true;
        }
        tables_.push_back(std::move(table));
        openTable_ = tables_.size() - 1;
        return true;
    }

    if (kind == "column") {
        if (!openTable_) return fail("column outside a table");
        if (words.size() < 5) return fail("column needs number, type, access, value");
        Column col;
        std::int64_t n = 0;
        if (!parseInt(words[1], &n) || n <= 0) return fail("bad column number");
        col.number = static_cast<std::uint32_t>(n);
        auto type = typeFromName(words[2]);
        if (!type || words[2] == "octet") return fail("bad type " + words[2]);
        col.type = *type;
        if (words[3] == "rw")
            col.writable = true;
        else if (words[3] == "index")
            col.index = true;
        else if (words[3] != "ro")
            return fail("bad access " + words[3]);
        Extras extras;
        if (!parseExtras(words, 5, profile, &extras, &why)) return fail(why);
        col.rules = extras.rules;
        if (!col.index && !storedFromText(col.type, extras.value.value_or(words[4]), &col.value))
            return fail("bad value " + words[4]);
        tables_[*openTable_].columns.push_back(std::move(col));
        return true;
    }

    if (kind == "row") {
        if (!openTable_) return fail("row outside a table");
        Table& table = tables_[*openTable_];
        if (words.size() != table.columns.size() + 2) return fail("row needs a value per column");
        auto instance = parseOid(words[1]);
        if (!instance) return fail("bad instance " + words[1]);
        std::map<std::uint32_t, std::string> values;
        for (std::size_t i = 0; i < table.columns.size(); ++i) {
            const Column& col = table.columns[i];
            if (col.index) continue;
            std::string stored;
            if (!storedFromText(col.type, words[i + 2], &stored))
                return fail("bad value " + words[i + 2]);
            values[col.number] = stored;
        }
        addRow(table, *instance, values);
        return true;
    }

    if (openTable_) return fail("object inside a table");
    if (words.size() < 4) return fail("object needs OID, type, access, value");
    Object object;
    auto oid = parseOid(words[0]);
    if (!oid) return fail("bad OID " + words[0]);
    object.oid = *oid;
    auto type = typeFromName(words[1]);
    if (!type || words[1] == "octet") return fail("bad type " + words[1]);
    object.type = *type;
    if (words[2] == "rw")
        object.writable = true;
    else if (words[2] != "ro")
        return fail("bad access " + words[2]);
    Extras extras;
    if (!parseExtras(words, 4, profile, &extras, &why)) return fail(why);
    if (!extras.included) return true;
    object.rules = extras.rules;
    object.uptime = extras.uptime;
    if (!storedFromText(object.type, extras.value.value_or(words[3]), &object.value))
        return fail("bad value " + words[3]);
    objects_[object.oid] = std::move(object);
    return true;
}

void Model::addRow(const Table& table, const Oid& instance,
                   const std::map<std::uint32_t, std::string>& values) {
    for (const Column& col : table.columns) {
        Object cell = makeCell(table, col, instance);
        auto given = values.find(col.number);
        if (!col.index && given != values.end()) cell.value = given->second;
        objects_[cell.oid] = std::move(cell);
    }
}

const Table* Model::tableFor(const Oid& oid, std::uint32_t* column, Oid* instance) const {
    for (const Table& table : tables_) {
        if (oid.size() > table.entry.size() + 1 && isPrefix(table.entry, oid)) {
            *column = oid[table.entry.size()];
            instance->assign(oid.begin() + static_cast<long>(table.entry.size()) + 1, oid.end());
            return &table;
        }
    }
    return nullptr;
}

Table* Model::tableFor(const Oid& oid, std::uint32_t* column, Oid* instance) {
    return const_cast<Table*>(std::as_const(*this).tableFor(oid, column, instance));
}

const Object* Model::named(const Oid& oid) const {
    auto it = objects_.find(oid);
    if (it == objects_.end()) return nullptr;
    if (!it->second.rules.sameAs) return &it->second;
    // One step only: a second name of a second name stands for itself.
    auto other = objects_.find(*it->second.rules.sameAs);
    if (other == objects_.end() || other->second.rules.sameAs) return &it->second;
    return &other->second;
}

Varbind Model::render(const Object& object, bool moves) const {
    if (object.rules.sameAs) {
        const Object* other = named(object.oid);
        if (other != &object) {
            Varbind vb = render(*other, moves);
            vb.oid = object.oid;
            return vb;
        }
    }
    Varbind vb;
    vb.oid = object.oid;
    vb.type = typeName(object.type);
    if (object.uptime) {
        auto ticks =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count() /
            10;
        vb.value = std::to_string(ticks);
    } else if (object.rules.step != 0 && object.type != Type::OctetString) {
        vb.value = movedValue(object, moves);
    } else if (object.type == Type::OctetString && !printable(object.value)) {
        static const char* digits = "0123456789abcdef";
        vb.type = "octet";
        for (unsigned char c : object.value) {
            if (!vb.value.empty()) vb.value += ' ';
            vb.value += digits[c >> 4];
            vb.value += digits[c & 15];
        }
    } else {
        vb.value = object.value;
    }
    return vb;
}

// A moving counter: its stored value plus one step per answer given, wrapped
// as a 32-bit counter does; answer counts this one.
std::string Model::movedValue(const Object& object, bool answer) const {
    std::uint64_t& given = answers_[object.oid];
    std::int64_t base = 0;
    parseInt(object.value, &base);
    const std::int64_t v = base + object.rules.step * static_cast<std::int64_t>(given);
    if (answer) ++given;
    if (object.type == Type::Integer) return std::to_string(static_cast<std::int32_t>(v));
    return std::to_string(static_cast<std::uint32_t>(v));
}

std::optional<Varbind> Model::get(const Oid& oid) const {
    auto it = objects_.find(oid);
    if (it != objects_.end()) return render(it->second, true);
    // snmpd looks an object up with a get before it sets it, so a cell of a
    // row that is about to be created must answer with its column default.
    std::uint32_t column = 0;
    Oid instance;
    const Table* table = tableFor(oid, &column, &instance);
    if (!table || table->statusColumn == 0) return std::nullopt;
    for (const Column& col : table->columns) {
        if (col.number != column) continue;
        Object cell = makeCell(*table, col, instance);
        auto pending = table->pending.find(instance);
        if (pending != table->pending.end() && pending->second.count(col.number))
            cell.value = pending->second.at(col.number);
        return render(cell);
    }
    return std::nullopt;
}

std::optional<Varbind> Model::getNext(const Oid& oid, const Oid& subtree) const {
    auto it = oid < subtree ? objects_.lower_bound(subtree) : objects_.upper_bound(oid);
    for (; it != objects_.end(); ++it) {
        if (!isPrefix(subtree, it->first)) {
            if (it->first > subtree) break;
            continue;
        }
        auto fault = faultFor(it->first, false, true);
        if (fault && fault->mode == FaultMode::NoSuchName) continue;
        return render(it->second);
    }
    return std::nullopt;
}

std::string Model::set(const Oid& oid, std::string_view typeWord, std::string_view valueText) {
    beginTransaction();
    std::string result = applySet(oid, typeWord, valueText);
    if (result == "DONE")
        setLog_.push_back(oid);
    else
        failed_ = true;
    return result;
}

void Model::beginTransaction() {
    if (snapshot_) return;
    Snapshot snap;
    snap.objects = objects_;
    for (const Table& table : tables_)
        snap.pending.push_back(table.pending);
    snap.restartRequested = restartRequested_;
    snap.setLogSize = setLog_.size();
    snapshot_ = std::move(snap);
    failed_ = false;
}

void Model::failSet() {
    beginTransaction();
    failed_ = true;
}

void Model::commit() {
    if (!snapshot_) return;
    if (failed_) {
        objects_ = std::move(snapshot_->objects);
        for (std::size_t i = 0; i < tables_.size(); ++i)
            tables_[i].pending = snapshot_->pending[i];
        restartRequested_ = snapshot_->restartRequested;
        setLog_.resize(snapshot_->setLogSize);
    }
    snapshot_.reset();
    failed_ = false;
}

std::string Model::applySet(const Oid& oid, std::string_view typeWord, std::string_view valueText) {
    if (const Object* other = named(oid); other && other->oid != oid)
        return applySet(other->oid, typeWord, valueText);
    std::uint32_t column = 0;
    Oid instance;
    Table* table = tableFor(oid, &column, &instance);
    auto it = objects_.find(oid);
    if (it == objects_.end()) {
        if (!table || table->statusColumn == 0) return "not-writable";
        return setTableCell(*table, column, instance, typeWord, valueText);
    }
    Object& object = it->second;
    if (table && table->statusColumn != 0 && column == table->statusColumn) {
        std::string stored;
        std::string result = checkValue(object.type, object.rules, typeWord, valueText, &stored);
        if (result != "DONE") return result;
        if (stored == "6") {
            for (const Column& col : table->columns)
                objects_.erase(cellOid(*table, col.number, instance));
            return "DONE";
        }
        if (stored == "4" || stored == "5") return "inconsistent-value";
        object.value = stored;
        return "DONE";
    }
    if (object.indexCell || !object.writable) return "not-writable";
    std::string stored;
    std::string result = checkValue(object.type, object.rules, typeWord, valueText, &stored);
    if (result != "DONE") return result;
    result = checkRowCommand(object.rules, stored);
    if (result != "DONE") return result;
    const Rules rules = object.rules; // the command may move objects around
    object.value = stored;
    runRowCommand(rules, stored);
    if (object.rules.restartOn && stored == std::to_string(*object.rules.restartOn))
        restartRequested_ = true;
    // A command that fills a table (a scan): done before the answer goes out.
    if (object.rules.fillOn && object.rules.fillFrom && object.rules.fillTo &&
        stored == std::to_string(*object.rules.fillOn))
        fillSubtree(*object.rules.fillFrom, *object.rules.fillTo);
    return "DONE";
}

namespace {

// Cells ENTRY.C.N of plain objects: the row instances below entry.
std::set<std::uint32_t> rowsBelow(const std::map<Oid, Object>& objects, const Oid& entry) {
    std::set<std::uint32_t> rows;
    for (auto it = objects.lower_bound(entry); it != objects.end() && isPrefix(entry, it->first);
         ++it)
        if (it->first.size() == entry.size() + 2) rows.insert(it->first.back());
    return rows;
}

std::optional<std::uint32_t> rowNumber(const std::string& stored) {
    std::int64_t n = 0;
    if (!parseInt(stored, &n) || n <= 0 || n > 0xFFFFFFFF) return std::nullopt;
    return static_cast<std::uint32_t>(n);
}

} // namespace

std::string Model::checkRowCommand(const Rules& rules, const std::string& stored) const {
    const Oid* source = rules.deleteRow ? &*rules.deleteRow
                        : rules.moveFrom ? &*rules.moveFrom
                                         : nullptr;
    if (!source) return "DONE";
    auto n = rowNumber(stored);
    if (!n || rowsBelow(objects_, *source).count(*n) == 0) return "inconsistent-value";
    if (rules.moveFrom && rules.moveTo && rules.maxRows &&
        rowsBelow(objects_, *rules.moveTo).size() >= *rules.maxRows)
        return "inconsistent-value";
    return "DONE";
}

void Model::runRowCommand(const Rules& rules, const std::string& stored) {
    auto n = rowNumber(stored);
    if (!n) return;
    const Oid* source = rules.deleteRow ? &*rules.deleteRow
                        : rules.moveFrom ? &*rules.moveFrom
                                         : nullptr;
    if (!source) return;
    std::vector<Object> moved;
    for (auto it = objects_.lower_bound(*source);
         it != objects_.end() && isPrefix(*source, it->first);) {
        if (it->first.size() == source->size() + 2 && it->first.back() == *n) {
            moved.push_back(it->second);
            it = objects_.erase(it);
        } else {
            ++it;
        }
    }
    if (rules.deleteRow || !rules.moveTo) return;
    const Oid& target = *rules.moveTo;
    const std::set<std::uint32_t> used = rowsBelow(objects_, target);
    std::uint32_t free = 1;
    while (used.count(free)) ++free;
    for (Object& cell : moved) {
        const std::uint32_t column = cell.oid[source->size()];
        cell.oid = target;
        cell.oid.push_back(column);
        cell.oid.push_back(free);
        // Column 1 is the index: it names the row's new place.
        if (column == 1 && cell.type == Type::Integer) cell.value = std::to_string(free);
        objects_[cell.oid] = std::move(cell);
    }
}

void Model::fillSubtree(const Oid& from, const Oid& to) {
    for (auto it = objects_.begin(); it != objects_.end();)
        it = isPrefix(to, it->first) ? objects_.erase(it) : std::next(it);
    std::vector<Object> copies;
    for (const auto& [oid, object] : objects_) {
        if (!isPrefix(from, oid)) continue;
        Object copy = object;
        copy.oid = to;
        copy.oid.insert(copy.oid.end(), oid.begin() + static_cast<std::ptrdiff_t>(from.size()),
                        oid.end());
        copies.push_back(std::move(copy));
    }
    for (auto& c : copies)
        objects_[c.oid] = std::move(c);
}

std::string Model::setTableCell(Table& table, std::uint32_t column, const Oid& instance,
                                std::string_view typeWord, std::string_view valueText) {
    auto col = std::find_if(table.columns.begin(), table.columns.end(),
                            [&](const Column& c) { return c.number == column; });
    if (col == table.columns.end() || instance.empty()) return "not-writable";
    std::string stored;
    if (column == table.statusColumn) {
        std::string result = checkValue(col->type, col->rules, typeWord, valueText, &stored);
        if (result != "DONE") return result;
        if (stored == "6") {
            table.pending.erase(instance);
            return "DONE";
        }
        if (stored != "4" && stored != "5") return "inconsistent-value";
        auto values = table.pending[instance];
        values[column] = stored == "4" ? "1" : "2";
        table.pending.erase(instance);
        addRow(table, instance, values);
        return "DONE";
    }
    if (col->index) {
        std::string result = checkValue(col->type, col->rules, typeWord, valueText, &stored);
        if (result != "DONE") return result;
        if (instance.size() != 1 || stored != std::to_string(instance[0]))
            return "inconsistent-value";
        return "DONE";
    }
    if (!col->writable) return "not-writable";
    std::string result = checkValue(col->type, col->rules, typeWord, valueText, &stored);
    if (result != "DONE") return result;
    table.pending[instance][column] = stored;
    return "DONE";
}

std::optional<std::string> Model::peek(const Oid& oid) const {
    const Object* object = named(oid);
    if (!object) return std::nullopt;
    if (object->uptime) return render(*object).value;
    if (object->rules.step != 0 && object->type != Type::OctetString)
        return movedValue(*object, false);
    return textFromStored(object->type, object->value);
}

bool Model::poke(const Oid& oid, std::string_view valueText, std::string* error) {
    const Object* object = named(oid);
    auto it = objects_.find(object ? object->oid : oid);
    if (it == objects_.end()) {
        *error = "no such object";
        return false;
    }
    std::string stored;
    if (!storedFromText(it->second.type, valueText, &stored)) {
        *error = "bad value for " + std::string(typeName(it->second.type));
        return false;
    }
    it->second.value = stored;
    return true;
}

std::vector<Oid> Model::takeSetLog() {
    std::vector<Oid> log;
    log.swap(setLog_);
    return log;
}

std::string Model::dump() const {
    std::string out;
    for (const auto& [oid, object] : objects_) {
        if (object.uptime || named(oid) != &object) continue; // second names hold nothing
        out += oidText(oid) + " " + textFromStored(object.type, object.value) + "\n";
    }
    return out;
}

bool Model::restore(std::string_view text, std::string* error) {
    for (const Table& table : tables_) {
        if (table.statusColumn == 0) continue;
        std::erase_if(objects_, [&](const auto& entry) {
            return entry.first.size() > table.entry.size() && isPrefix(table.entry, entry.first);
        });
    }
    int lineNo = 0;
    for (auto line : split(text, '\n')) {
        ++lineNo;
        if (line.empty()) continue;
        auto blank = line.find(' ');
        auto oid = parseOid(line.substr(0, blank));
        std::string_view value = blank == std::string_view::npos ? "" : line.substr(blank + 1);
        std::string why;
        if (!oid) {
            *error = "line " + std::to_string(lineNo) + ": bad OID";
            return false;
        }
        if (!objects_.count(*oid)) {
            std::uint32_t column = 0;
            Oid instance;
            const Table* table = tableFor(*oid, &column, &instance);
            if (!table || table->statusColumn == 0) continue; // not in this profile
            for (const Column& col : table->columns)
                if (col.number == column) objects_[*oid] = makeCell(*table, col, instance);
        }
        if (objects_.count(*oid) && !poke(*oid, value, &why)) {
            *error = "line " + std::to_string(lineNo) + ": " + why;
            return false;
        }
    }
    return true;
}

bool Model::takeRestartRequest() {
    if (inTransaction()) return false; // only a committed SET restarts
    bool requested = restartRequested_;
    restartRequested_ = false;
    return requested;
}

void Model::restarted() {
    start_ = Clock::now();
    restartRequested_ = false;
    // A factory reset brings back every value of the data file, rows included.
    const bool factory = std::any_of(objects_.begin(), objects_.end(), [](const auto& entry) {
        const Object& o = entry.second;
        return o.rules.factoryResetOn && o.value == std::to_string(*o.rules.factoryResetOn);
    });
    if (factory) objects_ = loaded_;
    for (Table& table : tables_)
        table.pending.clear();
    for (auto& [oid, object] : objects_) {
        if (object.rules.copyOnRestart) {
            auto source = objects_.find(*object.rules.copyOnRestart);
            if (source != objects_.end() && source->second.type == object.type)
                object.value = source->second.value;
        }
    }
    for (auto& [oid, object] : objects_) {
        std::string stored;
        if (object.rules.afterRestart &&
            storedFromText(object.type, *object.rules.afterRestart, &stored))
            object.value = stored;
    }
}

void Model::setFault(const Oid& oid, const Fault& fault) {
    faultHits_.erase(oid);
    if (fault.mode == FaultMode::None)
        faults_.erase(oid);
    else
        faults_[oid] = fault;
}

void Model::clearFaults() {
    faults_.clear();
    faultHits_.clear();
}

std::uint64_t Model::faultHits(const Oid& oid) const {
    auto it = faultHits_.find(oid);
    return it == faultHits_.end() ? 0 : it->second;
}

std::optional<Fault> Model::faultFor(const Oid& oid, bool isSet, bool walk) const {
    const Fault* best = nullptr;
    const Oid* bestPrefix = nullptr;
    std::size_t bestLen = 0;
    for (const auto& [prefix, fault] : faults_) {
        if (!isPrefix(prefix, oid) || (best && prefix.size() < bestLen)) continue;
        if (fault.scope == FaultScope::Get && isSet) continue;
        if (fault.scope == FaultScope::Set && !isSet) continue;
        if (fault.scope == FaultScope::Next && (isSet || !walk)) continue;
        best = &fault;
        bestPrefix = &prefix;
        bestLen = prefix.size();
    }
    if (!best) return std::nullopt;
    ++faultHits_[*bestPrefix];
    return *best;
}

} // namespace sim
