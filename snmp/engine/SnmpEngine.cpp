#include "snmp/engine/SnmpEngine.h"

#include "snmp/engine/StatusTable.h"

// The library's configuration header must come first.
#include <net-snmp/net-snmp-config.h>

#include <net-snmp/net-snmp-includes.h>

#include <net-snmp/library/keytools.h>
#include <net-snmp/library/lcd_time.h>
#include <net-snmp/library/snmpusm.h>

#include <arpa/inet.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <ftw.h>
#include <map>
#include <netdb.h>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace snmpeng {

// ---------------------------------------------------------------- helpers

bool Vb::HasEmptyPrintable() const {
    switch (syntax) {
    case kSynNull:
    case kSynNoSuchObject:
    case kSynNoSuchInstance:
    case kSynEndOfMibView:
        return true;
    case kSynOctets:
    case kSynBits:
    case kSynOpaque:
    case kSynNsap:
    case kSynIpAddress:
        return octets.empty();
    case kSynOid:
        return oidValue.empty();
    default:
        return false;
    }
}

std::string Target::AddressText() const {
    uint32_t ip = 0;
    std::string host = address;
    if (ResolveAddress(address, &ip)) {
        in_addr a{};
        a.s_addr = htonl(ip);
        host = inet_ntoa(a);
    }
    return host + "/" + std::to_string(port);
}

bool ResolveAddress(const std::string& text, uint32_t* ipv4) {
    if (text.empty()) return false;
    in_addr a{};
    if (inet_pton(AF_INET, text.c_str(), &a) == 1) {
        if (ipv4) *ipv4 = ntohl(a.s_addr);
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* res = nullptr;
    if (getaddrinfo(text.c_str(), nullptr, &hints, &res) != 0 || !res) return false;
    if (ipv4) *ipv4 = ntohl(reinterpret_cast<sockaddr_in*>(res->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(res);
    return true;
}

namespace {

using Clock = std::chrono::steady_clock;

bool ParseOid(const std::string& text, std::vector<oid>* out) {
    out->clear();
    size_t i = 0;
    if (!text.empty() && text[0] == '.') i = 1;
    if (i >= text.size()) return false;
    while (i < text.size()) {
        if (!isdigit(static_cast<unsigned char>(text[i]))) return false;
        unsigned long long v = 0;
        while (i < text.size() && isdigit(static_cast<unsigned char>(text[i]))) {
            v = v * 10 + (text[i] - '0');
            if (v > 0xFFFFFFFFull) return false;
            ++i;
        }
        out->push_back(static_cast<oid>(v));
        if (out->size() > MAX_OID_LEN) return false;
        if (i < text.size()) {
            if (text[i] != '.' || i + 1 == text.size()) return false;
            ++i;
        }
    }
    return true;
}

std::string OidText(const oid* o, size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        if (i) s += '.';
        s += std::to_string(static_cast<unsigned long>(o[i]));
    }
    return s;
}

std::string Bytes(const u_char* p, size_t n) {
    return p ? std::string(reinterpret_cast<const char*>(p), n) : std::string();
}

// Context engine ids arrive as text: hexadecimal when they look like it.
std::string EngineIdBytes(const std::string& text) {
    bool hex = !text.empty() && text.size() % 2 == 0;
    for (char c : text)
        if (!isxdigit(static_cast<unsigned char>(c))) hex = false;
    if (!hex) return text;
    std::string out;
    for (size_t i = 0; i < text.size(); i += 2)
        out += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    return out;
}

int CopyIn(netsnmp_pdu* pdu, Pdu* out) {
    out->vbs.clear();
    out->errorStatus = static_cast<int>(pdu->errstat);
    out->errorIndex = static_cast<int>(pdu->errindex);
    out->type = pdu->command == SNMP_MSG_REPORT ? kReport : kResponse;
    out->contextName = Bytes(reinterpret_cast<u_char*>(pdu->contextName), pdu->contextNameLen);
    out->contextEngineId = Bytes(pdu->contextEngineID, pdu->contextEngineIDLen);
    for (netsnmp_variable_list* v = pdu->variables; v; v = v->next_variable) {
        Vb vb;
        vb.oid = OidText(v->name, v->name_length);
        vb.syntax = v->type;
        switch (v->type) {
        case ASN_INTEGER:
            vb.integer = v->val.integer ? static_cast<int32_t>(*v->val.integer) : 0;
            break;
        case ASN_COUNTER:
        case ASN_GAUGE:
        case ASN_TIMETICKS:
        case ASN_UINTEGER:
            vb.unsigned_ =
                v->val.integer ? (static_cast<u_long>(*v->val.integer) & 0xFFFFFFFFul) : 0;
            break;
        case ASN_COUNTER64:
            if (v->val.counter64)
                vb.unsigned_ = (static_cast<uint64_t>(v->val.counter64->high) << 32) |
                               (v->val.counter64->low & 0xFFFFFFFFul);
            break;
        case ASN_OCTET_STR:
        case ASN_BIT_STR:
        case ASN_OPAQUE:
        case ASN_NSAP:
        case ASN_IPADDRESS:
            vb.octets = Bytes(v->val.string, v->val_len);
            break;
        case ASN_OBJECT_ID:
            vb.oidValue = OidText(v->val.objid, v->val_len / sizeof(oid));
            break;
        default:
            break;
        }
        out->vbs.push_back(std::move(vb));
    }
    return 0;
}

// Adds one binding to an outgoing library PDU; a library error number.
int AddVb(netsnmp_pdu* pdu, const Vb& vb) {
    std::vector<oid> name;
    if (!ParseOid(vb.oid, &name)) return SNMPERR_BAD_NAME;
    netsnmp_variable_list* r = nullptr;
    switch (vb.syntax) {
    case kSynInteger: {
        long v = static_cast<long>(static_cast<int32_t>(vb.integer));
        r = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_INTEGER, &v, sizeof v);
        break;
    }
    case kSynCounter:
    case kSynGauge:
    case kSynTimeTicks:
    case kSynUInteger: {
        u_long v = static_cast<u_long>(vb.unsigned_ & 0xFFFFFFFFull);
        r = snmp_pdu_add_variable(pdu, name.data(), name.size(), static_cast<u_char>(vb.syntax), &v,
                                  sizeof v);
        break;
    }
    case kSynCounter64: {
        counter64 c{};
        c.high = static_cast<u_long>(vb.unsigned_ >> 32);
        c.low = static_cast<u_long>(vb.unsigned_ & 0xFFFFFFFFull);
        r = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_COUNTER64, &c, sizeof c);
        break;
    }
    case kSynIpAddress: {
        std::string b = vb.octets;
        b.resize(4, '\0');
        r = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_IPADDRESS, b.data(), 4);
        break;
    }
    case kSynOctets:
    case kSynBits:
    case kSynOpaque:
    case kSynNsap:
        r = snmp_pdu_add_variable(pdu, name.data(), name.size(), static_cast<u_char>(vb.syntax),
                                  vb.octets.data(), vb.octets.size());
        break;
    case kSynOid: {
        std::vector<oid> value;
        if (!ParseOid(vb.oidValue, &value)) value = {0, 0};
        r = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_OBJECT_ID, value.data(),
                                  value.size() * sizeof(oid));
        break;
    }
    default:
        r = snmp_pdu_add_variable(pdu, name.data(), name.size(), ASN_NULL, nullptr, 0);
        break;
    }
    return r ? SNMPERR_SUCCESS : SNMPERR_VALUE;
}

std::string g_stateDir;

int RemoveEntry(const char* path, const struct stat*, int, FTW*) {
    return remove(path);
}

// The library leaves an empty folder or two in its state folder.
void RemoveStateDir() {
    if (!g_stateDir.empty()) nftw(g_stateDir.c_str(), RemoveEntry, 8, FTW_DEPTH | FTW_PHYS);
}

bool g_libraryReady = false;

void PrepareLibrary(const std::string& engineId) {
    if (g_libraryReady) return;
    const char* tmp = std::getenv("TMPDIR");
    std::string tmpl = std::string(tmp && *tmp ? tmp : "/tmp") + "/lmr-snmp-XXXXXX";
    if (mkdtemp(tmpl.data())) {
        g_stateDir = tmpl;
        // The library makes this folder at start and says so on stderr.
        mkdir((g_stateDir + "/cert_indexes").c_str(), 0700);
    }
    // No MIB files and no system configuration or persistent state: every
    // identifier we use is numeric.
    setenv("MIBS", "", 1);
    setenv("MIBDIRS", g_stateDir.c_str(), 1);
    setenv("SNMPCONFPATH", g_stateDir.c_str(), 1);
    setenv("SNMP_PERSISTENT_DIR", g_stateDir.c_str(), 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_LOAD_HOST_FILES, 1);
    netsnmp_ds_set_int(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_MIB_WARNINGS, 0);
    set_persistent_directory(g_stateDir.c_str());
    set_configuration_directory(g_stateDir.c_str());
    set_exact_engineID(reinterpret_cast<const u_char*>(engineId.data()), engineId.size());
    init_snmp("lmr7300ap");
    // The library wants the folder only while it starts; gone now, it is
    // left behind by no way the process may end (a signal included).
    RemoveStateDir();
    g_stateDir.clear();
    g_libraryReady = true;
}

// Drops what the library learnt of an agent's engine boots and time, so the
// next exchange learns them again. Resetting the entry is not enough: the
// library keeps an entry once learnt from an authenticated message.
void ForgetEngineTime(const std::string& engineId) {
    std::string copy = engineId;
    free_enginetime(reinterpret_cast<u_char*>(copy.data()), copy.size());
}

// Removes every user the library localised for the engine id.
void RemoveUsersOf(const std::string& engineId) {
    for (int guard = 0; guard < 10000; ++guard) {
        usmUser* found = nullptr;
        for (usmUser* u = usm_get_userList(); u; u = u->next)
            if (u->engineIDLen == engineId.size() &&
                memcmp(u->engineID, engineId.data(), engineId.size()) == 0) {
                found = u;
                break;
            }
        if (!found) return;
        usm_remove_user(found);
        usm_free_user(found);
    }
}

std::string Hex(const std::string& s) {
    static const char* d = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : s) {
        out += d[c >> 4];
        out += d[c & 15];
    }
    return out;
}

// The sockets the library listens on for one session.
std::vector<int> SocketsOf(void* sess) {
    int n = 0, block = 1;
    fd_set set;
    FD_ZERO(&set);
    timeval tv{};
    snmp_sess_select_info(sess, &n, &set, &tv, &block);
    std::vector<int> out;
    for (int fd = 0; fd < n; ++fd)
        if (FD_ISSET(fd, &set)) out.push_back(fd);
    return out;
}

} // namespace

int MpInit(const std::string& engineId, long boots) {
    PrepareLibrary(engineId);
    // init_snmp starts the boots at 1; the configuration handler takes ours.
    std::string value = std::to_string(boots);
    engineBoots_conf("engineBoots", value.data());
    return snmpv3_local_snmpEngineBoots() == static_cast<u_long>(boots) ? 0 : kInternalError;
}

int GetBootCounter(const std::string& file, const std::string& engineId, long* boots) {
    std::ifstream in(file);
    if (!in) return -2;
    std::string line, want = Hex(engineId);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::istringstream ls(line);
        std::string id, extra;
        long long value = -1;
        if (!(ls >> id >> value) || (ls >> extra) || value < 0 || value > 0x7FFFFFFF) return -3;
        for (char c : id)
            if (!isxdigit(static_cast<unsigned char>(c))) return -3;
        std::string upper = id;
        for (char& c : upper)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        if (upper == want) {
            *boots = static_cast<long>(value);
            return 0;
        }
    }
    return -1;
}

int SaveBootCounter(const std::string& file, const std::string& engineId, long boots) {
    // Keep the other engines' lines; a malformed file is rewritten.
    std::vector<std::string> keep;
    std::string want = Hex(engineId);
    {
        std::ifstream in(file);
        std::string line;
        while (in && std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::istringstream ls(line);
            std::string id;
            long long value;
            if (!(ls >> id >> value)) continue;
            for (char& c : id)
                c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
            if (id != want) keep.push_back(line);
        }
    }
    std::ofstream out(file, std::ios::trunc);
    if (!out) return -1;
    for (const std::string& l : keep)
        out << l << '\n';
    out << want << ' ' << boots << '\n';
    out.flush();
    return out ? 0 : -1;
}

// ---------------------------------------------------------------- session

namespace {

struct Conn;

// One exchange the library knows about (a request or an engine-id probe).
struct Exchange {
    uint64_t id = 0;
    Conn* conn = nullptr;
    bool probe = false;
    bool sync = false;
    bool finished = false;
    int reason = 0;
    Pdu reply;
    Target target;
    Completion done;
};

// A request waiting for its agent's engine id to be discovered.
struct Waiting {
    uint64_t id;
    Pdu pdu;
};

// One library session per agent address and protocol family.
struct Conn {
    std::string key;
    void* sess = nullptr;
    int family = 0; // 0 v1, 1 v2c, 3 v3
    std::string engineId;
    bool discovering = false;
    std::vector<Waiting> waiting;
    bool answered = false;
    std::string installedUser; // credentials installed for engineId
};

// What the library's callback saw, kept until the library has returned.
struct Arrival {
    uint64_t id;
    int reason;
    Pdu reply;
    std::string securityEngineId;
    bool provisional = false; // a security notice that a report may follow
};

} // namespace

struct Session::Impl {
    std::map<std::string, std::unique_ptr<Conn>> conns;
    std::map<uint64_t, std::unique_ptr<Exchange>> exchanges;
    std::map<std::string, UsmUser> users;
    std::deque<Arrival> arrivals;
    std::deque<uint64_t> ready; // finished asynchronous exchanges to complete
    uint64_t nextId = 1;
    unsigned generation = 0;
    std::function<void()> socketsChanged;

    static int Callback(int op, netsnmp_session* s, int reqid, netsnmp_pdu* pdu, void* magic);
    Conn* ConnFor(const Target& t, int* status);
    int InstallUser(Conn* c, const std::string& name);
    int Launch(Exchange* ex, const Pdu& pdu);
    int StartProbe(Conn* c, const Target& t);
    int Submit(const Target& t, const Pdu& pdu, Completion done, bool sync, uint64_t* id);
    void Pump(Conn* only, int waitMs);
    void Digest();
    void Finish(Exchange* ex, int reason);
    void ForgetEngine(Conn* c);
    int NextTimeoutMs() const;
};

// Runs inside the library: copy what it hands us and return at once.
int Session::Impl::Callback(int op, netsnmp_session* s, int, netsnmp_pdu* pdu, void* magic) {
    auto* self = static_cast<Impl*>(s->callback_magic);
    Arrival a{reinterpret_cast<uintptr_t>(magic), 0, {}, {}};
    switch (op) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
        CopyIn(pdu, &a.reply);
        a.securityEngineId = Bytes(pdu->securityEngineID, pdu->securityEngineIDLen);
        if (pdu->command == SNMP_MSG_REPORT) a.reason = StatusOf(snmpv3_get_report_type(pdu));
        break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
        a.reason = kTimeout;
        break;
    case NETSNMP_CALLBACK_OP_SEC_ERROR:
        a.reason = StatusOf(s->s_snmp_errno ? s->s_snmp_errno : SNMPERR_USM_GENERICERROR);
        a.provisional = true;
        break;
    case NETSNMP_CALLBACK_OP_DISCONNECT:
        a.reason = kSessionClosing;
        break;
    default: // retransmissions and the like are no completion
        return 1;
    }
    self->arrivals.push_back(std::move(a));
    return 1;
}

Conn* Session::Impl::ConnFor(const Target& t, int* status) {
    int family = t.version == 3 ? 3 : (t.version == 0 ? 0 : 1);
    uint32_t ip = 0;
    if (!ResolveAddress(t.address, &ip)) {
        *status = kInvalidAddress;
        return nullptr;
    }
    in_addr a{};
    a.s_addr = htonl(ip);
    std::string peer = std::string("udp:") + inet_ntoa(a) + ":" + std::to_string(t.port);
    std::string key = peer + "#" + std::to_string(family);
    auto it = conns.find(key);
    if (it != conns.end()) return it->second.get();

    netsnmp_session init;
    snmp_sess_init(&init);
    init.peername = const_cast<char*>(peer.c_str());
    init.version = family == 3 ? SNMP_VERSION_3 : (family == 0 ? SNMP_VERSION_1 : SNMP_VERSION_2c);
    init.callback = nullptr;
    init.callback_magic = this;
    init.flags |= SNMP_FLAGS_DONT_PROBE;
    if (family == 3) init.securityModel = USM_SEC_MODEL_NUMBER;
    void* sess = snmp_sess_open(&init);
    if (!sess) {
        int err = 0, serr = 0;
        char* text = nullptr;
        snmp_error(&init, &err, &serr, &text);
        free(text);
        *status = StatusOf(serr ? serr : SNMPERR_BAD_ADDRESS);
        return nullptr;
    }
    // The library would find the engine id with a blocking exchange inside
    // the first send; we find it ourselves (StartProbe).
    snmp_sess_session(sess)->flags |= SNMP_FLAGS_DONT_PROBE;
    auto c = std::make_unique<Conn>();
    c->key = key;
    c->sess = sess;
    c->family = family;
    Conn* raw = c.get();
    conns[key] = std::move(c);
    ++generation;
    if (socketsChanged) {
        // A copy: the watcher may replace itself.
        std::function<void()> changed = socketsChanged;
        changed();
    }
    return raw;
}

namespace {

struct ProtoOid {
    int code;
    const oid* id;
    size_t len;
};

// The protocols served; any other code is refused rather than sent with another.
const ProtoOid kAuthProtos[] = {
    {kAuthNone, usmNoAuthProtocol, OID_LENGTH(usmNoAuthProtocol)},
    {kAuthMd5, usmHMACMD5AuthProtocol, OID_LENGTH(usmHMACMD5AuthProtocol)},
    {kAuthSha, usmHMACSHA1AuthProtocol, OID_LENGTH(usmHMACSHA1AuthProtocol)},
};
const ProtoOid kPrivProtos[] = {
    {kPrivNone, usmNoPrivProtocol, OID_LENGTH(usmNoPrivProtocol)},
    {kPrivDes, usmDESPrivProtocol, OID_LENGTH(usmDESPrivProtocol)},
    {kPrivAes128, usmAESPrivProtocol, OID_LENGTH(usmAESPrivProtocol)},
};

template <size_t N> const ProtoOid* FindProto(const ProtoOid (&table)[N], int code) {
    for (const ProtoOid& p : table)
        if (p.code == code) return &p;
    return nullptr;
}

} // namespace

// Puts the user's keys for the agent's engine id into the library's user
// table, replacing a cached entry of the same name made with other secrets.
int Session::Impl::InstallUser(Conn* c, const std::string& name) {
    UsmUser u;
    auto it = users.find(name);
    if (it != users.end()) u = it->second;
    u.name = name;
    std::string print = u.name + '\x1f' + std::to_string(u.authProtocol) + '\x1f' +
                        std::to_string(u.privProtocol) + '\x1f' + u.authPassword + '\x1f' +
                        u.privPassword;
    if (c->installedUser == print) return kOk;

    netsnmp_session* s = snmp_sess_session(c->sess);
    const ProtoOid* auth = FindProto(kAuthProtos, u.authProtocol);
    if (!auth) return StatusOf(kCondUnsupportedAuth);
    const ProtoOid* priv = FindProto(kPrivProtos, u.privProtocol);
    if (!priv) return StatusOf(kCondUnsupportedPriv);
    const oid* authProto = auth->id;
    const size_t authLen = auth->len;
    const oid* privProto = priv->id;
    const size_t privLen = priv->len;
    if (u.privProtocol != kPrivNone && u.authProtocol == kAuthNone)
        return StatusOf(kCondUnsupportedPriv);

    u_char authKu[USM_AUTH_KU_LEN];
    size_t authKuLen = sizeof authKu;
    u_char privKu[USM_PRIV_KU_LEN];
    size_t privKuLen = sizeof privKu;
    if (u.authProtocol != kAuthNone &&
        generate_Ku(authProto, static_cast<u_int>(authLen),
                    reinterpret_cast<const u_char*>(u.authPassword.data()), u.authPassword.size(),
                    authKu, &authKuLen) != SNMPERR_SUCCESS)
        return StatusOf(kCondAuthPasswordRefused);
    if (u.privProtocol != kPrivNone &&
        generate_Ku(authProto, static_cast<u_int>(authLen),
                    reinterpret_cast<const u_char*>(u.privPassword.data()), u.privPassword.size(),
                    privKu, &privKuLen) != SNMPERR_SUCCESS)
        return StatusOf(kCondPrivPasswordRefused);

    if (c->engineId.empty()) return kOk; // keys go in once the engine id is known

    usmUser* old = usm_get_user(reinterpret_cast<const u_char*>(c->engineId.data()),
                                c->engineId.size(), name.c_str());
    if (old) {
        usm_remove_user(old);
        usm_free_user(old);
    }
    free(s->securityName);
    s->securityName = strdup(name.c_str());
    s->securityNameLen = name.size();
    free(s->securityAuthProto);
    s->securityAuthProto = snmp_duplicate_objid(authProto, authLen);
    s->securityAuthProtoLen = authLen;
    s->securityAuthKeyLen = 0;
    if (u.authProtocol != kAuthNone) {
        memcpy(s->securityAuthKey, authKu, authKuLen);
        s->securityAuthKeyLen = authKuLen;
    }
    free(s->securityPrivProto);
    s->securityPrivProto = snmp_duplicate_objid(privProto, privLen);
    s->securityPrivProtoLen = privLen;
    s->securityPrivKeyLen = 0;
    if (u.privProtocol != kPrivNone) {
        memcpy(s->securityPrivKey, privKu, privKuLen);
        s->securityPrivKeyLen = privKuLen;
    }
    s->flags &= ~SNMP_FLAGS_USER_CREATED;
    if (usm_create_user_from_session(s) != SNMPERR_SUCCESS) return kUsmError;
    c->installedUser = print;
    return kOk;
}

int Session::Impl::StartProbe(Conn* c, const Target& t) {
    netsnmp_session* s = snmp_sess_session(c->sess);
    s->timeout = static_cast<long>(t.timeout < 0 ? 0 : t.timeout) * 10000L;
    s->retries = t.retries < 0 ? 0 : t.retries;
    netsnmp_pdu* pdu = snmp_pdu_create(SNMP_MSG_GET);
    pdu->version = SNMP_VERSION_3;
    pdu->securityModel = USM_SEC_MODEL_NUMBER;
    pdu->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    pdu->securityName = strdup("");
    pdu->securityNameLen = 0;
    pdu->contextName = strdup("");
    pdu->contextNameLen = 0;
    auto ex = std::make_unique<Exchange>();
    ex->id = nextId++;
    ex->conn = c;
    ex->probe = true;
    if (!snmp_sess_async_send(c->sess, pdu, &Impl::Callback,
                              reinterpret_cast<void*>(static_cast<uintptr_t>(ex->id)))) {
        int serr = s->s_snmp_errno;
        snmp_free_pdu(pdu);
        return StatusOf(serr ? serr : SNMPERR_GENERR);
    }
    c->discovering = true;
    exchanges[ex->id] = std::move(ex);
    return kOk;
}

// Hands one exchange's PDU to the library.
int Session::Impl::Launch(Exchange* ex, const Pdu& in) {
    Conn* c = ex->conn;
    const Target& t = ex->target;
    netsnmp_session* s = snmp_sess_session(c->sess);
    s->timeout = static_cast<long>(t.timeout < 0 ? 0 : t.timeout) * 10000L;
    s->retries = t.retries < 0 ? 0 : t.retries;
    int cmd = in.type == kSet       ? SNMP_MSG_SET
              : in.type == kGetNext ? SNMP_MSG_GETNEXT
                                    : SNMP_MSG_GET;
    netsnmp_pdu* pdu = snmp_pdu_create(cmd);
    if (c->family == 3) {
        int st = InstallUser(c, t.securityName);
        if (st != kOk) {
            snmp_free_pdu(pdu);
            return st;
        }
        pdu->securityModel = USM_SEC_MODEL_NUMBER;
        pdu->securityLevel = in.securityLevel;
        pdu->securityName = strdup(t.securityName.c_str());
        pdu->securityNameLen = t.securityName.size();
        pdu->contextName = strdup(in.contextName.c_str());
        pdu->contextNameLen = in.contextName.size();
        std::string ce = EngineIdBytes(in.contextEngineId);
        if (ce.empty()) ce = c->engineId;
        pdu->contextEngineID = static_cast<u_char*>(netsnmp_memdup(ce.data(), ce.size()));
        pdu->contextEngineIDLen = ce.size();
        pdu->securityEngineID =
            static_cast<u_char*>(netsnmp_memdup(c->engineId.data(), c->engineId.size()));
        pdu->securityEngineIDLen = c->engineId.size();
    } else {
        const std::string& community = in.type == kSet ? t.writeCommunity : t.readCommunity;
        pdu->community = static_cast<u_char*>(malloc(community.size() + 1));
        memcpy(pdu->community, community.c_str(), community.size() + 1);
        pdu->community_len = community.size();
    }
    for (const Vb& vb : in.vbs) {
        int st = AddVb(pdu, vb);
        if (st != SNMPERR_SUCCESS) {
            snmp_free_pdu(pdu);
            return StatusOf(st);
        }
    }
    if (!snmp_sess_async_send(c->sess, pdu, &Impl::Callback,
                              reinterpret_cast<void*>(static_cast<uintptr_t>(ex->id)))) {
        int serr = s->s_snmp_errno;
        snmp_free_pdu(pdu);
        return StatusOf(serr ? serr : SNMPERR_GENERR);
    }
    return kOk;
}

int Session::Impl::Submit(const Target& t, const Pdu& pdu, Completion done, bool sync,
                          uint64_t* id) {
    if (t.version < 0 || t.version > 3) return StatusOf(kCondUnsupportedVersion);
    if (t.version == 3 && t.securityModel != USM_SEC_MODEL_NUMBER)
        return StatusOf(kCondUnsupportedSecurityModel);
    int status = kOk;
    Conn* c = ConnFor(t, &status);
    if (!c) return status;
    auto ex = std::make_unique<Exchange>();
    ex->id = nextId++;
    ex->conn = c;
    ex->sync = sync;
    ex->target = t;
    ex->done = std::move(done);
    if (c->family == 3) {
        // Refuse bad credentials before anything is sent.
        status = InstallUser(c, t.securityName);
        if (status != kOk) return status;
    }
    if (c->family == 3 && c->engineId.empty()) {
        // The agent's engine id is found first, without blocking: the request
        // waits for the probe's reply.
        if (!c->discovering) {
            status = StartProbe(c, t);
            if (status != kOk) return status;
        }
        c->waiting.push_back({ex->id, pdu});
    } else {
        status = Launch(ex.get(), pdu);
        if (status != kOk) return status;
    }
    *id = ex->id;
    exchanges[ex->id] = std::move(ex);
    return kOk;
}

// Drops the agent's engine id, its time and the keys localised for it: the
// connection is as if it had never talked SNMPv3.
void Session::Impl::ForgetEngine(Conn* c) {
    const std::string id = c->engineId;
    ForgetEngineTime(id);
    RemoveUsersOf(id);
    // Other connections may know an agent under the same id (test devices
    // share one): their keys are gone too, so they install them again.
    for (auto& [k, other] : conns)
        if (other->engineId == id) other->installedUser.clear();
    c->engineId.clear();
    netsnmp_session* s = snmp_sess_session(c->sess);
    free(s->securityEngineID);
    s->securityEngineID = nullptr;
    s->securityEngineIDLen = 0;
}

void Session::Impl::Finish(Exchange* ex, int reason) {
    ex->finished = true;
    ex->reason = reason;
    if (!ex->sync) ready.push_back(ex->id);
}

// Turns what the callback copied into finished exchanges; runs no user code.
void Session::Impl::Digest() {
    while (!arrivals.empty()) {
        Arrival a = std::move(arrivals.front());
        arrivals.pop_front();
        auto it = exchanges.find(a.id);
        if (it == exchanges.end()) continue;
        if (a.provisional) {
            bool followed = false;
            for (const Arrival& later : arrivals)
                if (later.id == a.id) followed = true;
            if (followed) continue;
        }
        Exchange* ex = it->second.get();
        Conn* c = ex->conn;
        if (ex->probe) {
            std::vector<Waiting> waiting;
            waiting.swap(c->waiting);
            c->discovering = false;
            exchanges.erase(it);
            int failure = a.reason == kTimeout ? kTimeout : kOk;
            if (failure == kOk && a.securityEngineId.empty()) failure = kUsmUnknownEngineId;
            if (failure == kOk) {
                c->engineId = a.securityEngineId;
                c->answered = true;
                netsnmp_session* s = snmp_sess_session(c->sess);
                free(s->securityEngineID);
                s->securityEngineID =
                    static_cast<u_char*>(netsnmp_memdup(c->engineId.data(), c->engineId.size()));
                s->securityEngineIDLen = c->engineId.size();
                c->installedUser.clear();
            }
            for (Waiting& w : waiting) {
                auto wit = exchanges.find(w.id);
                if (wit == exchanges.end()) continue;
                int st = failure != kOk ? failure : Launch(wit->second.get(), w.pdu);
                if (st != kOk) Finish(wit->second.get(), st);
            }
            continue;
        }
        if (a.reason == kTimeout && c->family == 3 && c->answered && !c->engineId.empty()) {
            // The agent answered before: it may have restarted with a lower
            // engine time than ours, or come back under another engine id
            // (its reports for that are dropped, as our user is not known
            // there). Forget both so the next exchange discovers again.
            ForgetEngine(c);
        }
        if (a.reason != kTimeout) c->answered = true;
        ex->reply = std::move(a.reply);
        Finish(ex, a.reason);
    }
}

int Session::Impl::NextTimeoutMs() const {
    long best = -1;
    for (auto& [k, c] : conns) {
        int n = 0, block = 1;
        fd_set fds;
        FD_ZERO(&fds);
        timeval tv{};
        snmp_sess_select_info(c->sess, &n, &fds, &tv, &block);
        if (!block) {
            long ms = tv.tv_sec * 1000L + (tv.tv_usec + 999) / 1000;
            if (best < 0 || ms < best) best = ms;
        }
    }
    return static_cast<int>(best);
}

// Reads what has arrived (on one connection or all), up to waitMs for the
// first datagram, then runs the library's retransmissions and time-outs.
void Session::Impl::Pump(Conn* only, int waitMs) {
    std::vector<pollfd> fds;
    std::vector<Conn*> owners;
    for (auto& [k, c] : conns) {
        if (only && c.get() != only) continue;
        for (int fd : SocketsOf(c->sess)) {
            fds.push_back({fd, POLLIN, 0});
            owners.push_back(c.get());
        }
    }
    if (fds.empty()) return;
    int wait = waitMs;
    for (int round = 0; round < 10000; ++round) {
        for (auto& p : fds)
            p.revents = 0;
        int r = poll(fds.data(), fds.size(), wait);
        if (r <= 0) break;
        for (size_t i = 0; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLERR | POLLHUP))) continue;
            fd_set set;
            FD_ZERO(&set);
            FD_SET(fds[i].fd, &set);
            snmp_sess_read(owners[i]->sess, &set);
        }
        wait = 0;
    }
    for (auto& [k, c] : conns)
        if (!only || c.get() == only) snmp_sess_timeout(c->sess);
}

Session::Session(int& status, uint16_t localPort) : d(std::make_unique<Impl>()) {
    status = localPort == 0 ? kOk : kUnsupportedFunction;
    if (!g_libraryReady) PrepareLibrary("QvSNMP_PP_Application");
}

Session::~Session() {
    for (auto& [k, c] : d->conns)
        snmp_sess_close(c->sess);
    d->arrivals.clear();
}

int Session::AddUser(const UsmUser& user) {
    d->users[user.name] = user;
    return kOk;
}

int Session::Send(const Target& target, const Pdu& pdu, Pdu* reply) {
    uint64_t id = 0;
    int st = d->Submit(target, pdu, nullptr, true, &id);
    if (st != kOk) return st;
    Exchange* ex = d->exchanges[id].get();
    Conn* c = ex->conn;
    // Bounded by the library's own time-outs; the guard only catches a
    // library that never reports one.
    long limitMs =
        (static_cast<long>(target.timeout) * 10L + 200) * (target.retries + 1) * 2 + 2000;
    auto end = Clock::now() + std::chrono::milliseconds(limitMs);
    while (!ex->finished) {
        int next = d->NextTimeoutMs();
        int wait = next < 0 || next > 50 ? 50 : next;
        d->Pump(c, wait);
        d->Digest();
        if (Clock::now() > end) {
            ex->finished = true;
            ex->reason = kTimeout;
        }
    }
    int reason = ex->reason;
    if (reply) *reply = std::move(ex->reply);
    d->exchanges.erase(id);
    return reason;
}

int Session::SendAsync(const Target& target, const Pdu& pdu, Completion done) {
    uint64_t id = 0;
    return d->Submit(target, pdu, std::move(done), false, &id);
}

void Session::ProcessEvents() {
    d->Pump(nullptr, 0);
    d->Digest();
    // Completions run one at a time, taken off the queue first, so one that
    // starts a nested event loop lets the others through.
    for (int guard = 0; guard < 100000 && !d->ready.empty(); ++guard) {
        uint64_t id = d->ready.front();
        d->ready.pop_front();
        auto it = d->exchanges.find(id);
        if (it == d->exchanges.end()) continue;
        std::unique_ptr<Exchange> ex = std::move(it->second);
        d->exchanges.erase(it);
        if (ex->done) ex->done(ex->reason, ex->reply, ex->target);
    }
}

int Session::Pending() const {
    int n = 0;
    for (auto& [id, ex] : d->exchanges)
        if (!ex->probe && !ex->sync) ++n;
    return n;
}

std::vector<int> Session::Sockets() const {
    std::vector<int> out;
    for (auto& [k, c] : d->conns)
        for (int fd : SocketsOf(c->sess))
            out.push_back(fd);
    return out;
}

unsigned Session::SocketGeneration() const {
    return d->generation;
}

void Session::SetSocketsChanged(std::function<void()> changed) {
    d->socketsChanged = std::move(changed);
}

int Session::NextTimeoutMs() const {
    return d->NextTimeoutMs();
}

void Session::ForgetEngineTimes() {
    for (auto& [k, c] : d->conns)
        if (c->family == 3 && !c->engineId.empty()) ForgetEngineTime(c->engineId);
}

} // namespace snmpeng
