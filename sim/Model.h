#pragma once
// The simulated access point's object store: what the data file lists, the
// value rules a SET is checked against, tables with a RowStatus column, the
// restart behaviour and the injected faults. No I/O beyond reading the file.
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

using Oid = std::vector<std::uint32_t>;

// Dotted text to sub-identifiers; a leading "." is allowed, and a leading
// "qvEnterprise" or "system" word stands for its arc.
std::optional<Oid> parseOid(std::string_view text);
// ".1.3.6..." as snmpd's pass_persist protocol writes it.
std::string oidText(const Oid& oid);
bool isPrefix(const Oid& prefix, const Oid& oid);

enum class Type { Integer, OctetString, ObjectId, IpAddress, Counter, Gauge, TimeTicks };

std::optional<Type> typeFromName(std::string_view name);
const char* typeName(Type type);

struct Rules {
    std::optional<std::int64_t> min, max; // integer range
    std::vector<std::int64_t> allowed;    // enumeration values
    std::optional<std::size_t> minLen, maxLen;
    std::optional<std::int64_t> restartOn;   // a SET of this value restarts the device
    std::optional<std::string> afterRestart; // value the object comes back with
    std::optional<Oid> copyOnRestart;        // takes this object's value at a restart
    std::optional<std::int64_t> fillOn;      // a SET of this value copies fillFrom to fillTo
    std::optional<Oid> fillFrom, fillTo;     // subtrees: the objects below keep their suffix
    // A SET of N moves row N (cells ENTRY.C.N) of the plain objects below
    // moveFrom to moveTo, under its lowest free instance; at most maxRows there.
    std::optional<Oid> moveFrom, moveTo;
    std::optional<std::size_t> maxRows;
    std::optional<Oid> deleteRow;            // a SET of N deletes row N below this entry
    std::optional<std::int64_t> factoryResetOn; // holding this at a restart restores the file's values
    std::int64_t step = 0;                   // every answer moves the value on by this much
    std::optional<Oid> sameAs;               // a second name of this object: gets and sets go there
};

struct Object {
    Oid oid;
    Type type = Type::Integer;
    bool writable = false;
    bool uptime = false;    // sysUpTime: hundredths of a second since the last start
    bool indexCell = false; // index column: written only while its row is created
    std::string value;      // octets for strings, canonical text otherwise
    Rules rules;
};

struct Column {
    std::uint32_t number = 0;
    Type type = Type::Integer;
    bool writable = false;
    bool index = false; // value derived from a one-number instance
    std::string value;
    Rules rules;
};

struct Table {
    Oid entry; // the entry arc: cells are entry.column.instance
    std::vector<Column> columns;
    std::uint32_t statusColumn = 0;                              // 0 = fixed rows
    std::map<Oid, std::map<std::uint32_t, std::string>> pending; // rows being created
};

enum class FaultMode { None, Timeout, GenErr, NoSuchName, BadValue };
// Next: only the get-next requests of a walk (snmpd looks an object up with
// a get before it sets it, so a Get fault also refuses the set).
enum class FaultScope { Any, Get, Set, Next };

std::optional<FaultMode> faultModeFromName(std::string_view name);

struct Fault {
    FaultMode mode = FaultMode::None;
    FaultScope scope = FaultScope::Any;
    int delayMs = 3000; // how long a time-out holds the answer back
};

// One varbind as the protocol writes it: OID line, type word, value line.
struct Varbind {
    Oid oid;
    std::string type;
    std::string value;
};

class Model {
public:
    using Clock = std::chrono::steady_clock;

    // Reads the data file for one firmware profile; false with a message on
    // the first bad line.
    bool loadFile(const std::string& path, const std::string& profile, std::string* error);
    bool loadText(std::string_view text, const std::string& profile, std::string* error);

    std::optional<Varbind> get(const Oid& oid) const;
    // The first object after oid inside subtree.
    std::optional<Varbind> getNext(const Oid& oid, const Oid& subtree) const;
    // Returns "DONE" or one of snmpd's pass_persist error words.
    //
    // snmpd hands over the varbinds of one SET PDU as a run of sets (after
    // the gets it looks them up with) and has no undo, so the model keeps
    // the run as a transaction: commit() ends it, and when any of its sets
    // failed the whole run is taken back, as SNMP wants.
    std::string set(const Oid& oid, std::string_view typeWord, std::string_view valueText);
    void failSet(); // a set answered with an error without reaching set()
    void commit();
    bool inTransaction() const { return snapshot_.has_value(); }

    // Value text of an object as a test would write it ("" when absent).
    std::optional<std::string> peek(const Oid& oid) const;
    // Writes a value bypassing access and rules (not the type).
    bool poke(const Oid& oid, std::string_view valueText, std::string* error);

    // Every value as "OID value" lines, and back: a saved state. Restoring
    // replaces the rows of RowStatus tables with the saved ones.
    std::string dump() const;
    bool restore(std::string_view text, std::string* error);

    // OIDs that SETs wrote, in order, since the last call.
    std::vector<Oid> takeSetLog();

    bool takeRestartRequest();
    // The device came back: uptime from zero, restart values applied.
    void restarted();

    void setFault(const Oid& oid, const Fault& fault);
    void clearFaults();
    // walk: the request is a get-next.
    std::optional<Fault> faultFor(const Oid& oid, bool isSet, bool walk = false) const;
    // How often the fault set on exactly this OID has matched a request
    // since it was set (0 when there is none): shows a test that the
    // fault it injected was met at all.
    std::uint64_t faultHits(const Oid& oid) const;

    std::size_t objectCount() const { return objects_.size(); }
    void setStartTime(Clock::time_point t) { start_ = t; }
    Clock::time_point startTime() const { return start_; }

private:
    bool addLine(std::string_view line, const std::string& profile, int lineNo, std::string* error);
    std::string applySet(const Oid& oid, std::string_view typeWord, std::string_view valueText);
    void fillSubtree(const Oid& from, const Oid& to);
    // "DONE", or the error word when there is no such row or no room.
    std::string checkRowCommand(const Rules& rules, const std::string& stored) const;
    void runRowCommand(const Rules& rules, const std::string& stored);
    Table* tableFor(const Oid& oid, std::uint32_t* column, Oid* instance);
    const Table* tableFor(const Oid& oid, std::uint32_t* column, Oid* instance) const;
    // moves: a moving object counts this answer (gets do, walks do not).
    Varbind render(const Object& object, bool moves = false) const;
    // The object a name stands for: the other one for a second name.
    const Object* named(const Oid& oid) const;
    std::string setTableCell(Table& table, std::uint32_t column, const Oid& instance,
                             std::string_view typeWord, std::string_view value);
    void addRow(const Table& table, const Oid& instance,
                const std::map<std::uint32_t, std::string>& values);

    std::map<Oid, Object> objects_;
    std::map<Oid, Object> loaded_; // as the data file gave them, for a factory reset
    std::vector<Table> tables_;
    std::map<Oid, Fault> faults_;
    mutable std::map<Oid, std::uint64_t> faultHits_;
    // Answers given so far by each moving object (a rule step=N).
    mutable std::map<Oid, std::uint64_t> answers_;
    std::string movedValue(const Object& object, bool answer) const;
    std::optional<std::size_t> openTable_; // while a table block is being read
    bool openTableSkipped_ = false;
    bool restartRequested_ = false;
    std::vector<Oid> setLog_;
    struct Snapshot {
        std::map<Oid, Object> objects;
        std::vector<std::map<Oid, std::map<std::uint32_t, std::string>>> pending;
        bool restartRequested = false;
        std::size_t setLogSize = 0;
    };
    void beginTransaction();
    std::optional<Snapshot> snapshot_;
    bool failed_ = false;
    Clock::time_point start_ = Clock::now();
};

// Checks a protocol value against a type and rules; on success the value in
// stored form. Error word as for Model::set.
std::string checkValue(Type type, const Rules& rules, std::string_view typeWord,
                       std::string_view valueText, std::string* stored);

} // namespace sim
