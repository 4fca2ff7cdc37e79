#include "NetSnmpEngine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_map>

#include "internal/Answers.h"
#include "internal/NetSnmp.h"
#include "internal/PeerName.h"
#include "internal/Usm.h"
#include "qlmib/ui/EventLoop.h"

namespace qlmib::snmp {

using namespace internal;

namespace {

// What the engine remembers of a request until its answer is delivered.
struct Request {
    std::string host, community, tag;
    std::vector<std::string> oidTexts;  // as the caller gave them
    RequestShape shape;
    int version = SNMP_VERSION_1;
    int maxRepetitions = 0;
    std::string peer;        // where it went
    std::string sessionKey;  // the session it went out on: peer and v3 credentials
    bool encrypted = false;  // v3 authPriv
    bool bulk() const { return shape.command == SNMP_MSG_GETBULK; }
};

struct Delivery {
    Request request;
    Answer answer;
    std::uint64_t generation;
};

struct Session {
    SessionHandle handle;
    std::unique_ptr<ui::SocketWatch> watch;  // declared last: unwatched before the socket closes
};

using Sessions = std::map<std::string, std::unique_ptr<Session>>;

// A timeout of an encrypted request noted inside net-snmp's callback, looked
// into from the loop.
constexpr long kDiagnoseTimeout = -1;

// The requested OIDs without values, carrying an error.
Answer failedAnswer(const Request& request, long code, std::string text) {
    Answer answer;
    for (const auto& oid : request.oidTexts) answer.add(oid, RAW_NULL, {}, {});
    answer.fail(code, std::move(text));
    return answer;
}

std::string takeErrorText(char* text) {
    std::string out = text && *text ? text : "unknown error";
    std::free(text);
    return out;
}

struct Failure {
    long code;
    std::string text;
};

// A session's last failure: SNMPv3 security failures and timeouts get their
// own codes, anything else `code`.
Failure sessionFailure(void* session, long code) {
    int systemError = 0, snmpError = 0;
    char* text = nullptr;
    snmp_sess_error(session, &systemError, &snmpError, &text);
    std::string described = takeErrorText(text);
    if (auto security = SecurityFailureText(snmpError); !security.empty()) return {ENGINE_SECURITY, security};
    if (snmpError == SNMPERR_TIMEOUT) return {ENGINE_TIMEOUT, "Timeout"};
    return {code, std::move(described)};
}

// Sessions carry the v3 credentials, so each set of them has its own.
std::string sessionKey(const std::string& peer, const UsmSecurity& security) {
    if (!security.enabled()) return peer;
    std::string key = peer;
    for (const std::string* part : {&security.securityName, &security.authPassphrase, &security.privPassphrase,
                                    &security.authKey, &security.privKey, &security.contextName,
                                    &security.securityEngineID})
        key.append(1, '\0').append(*part);
    key += static_cast<char>('0' + static_cast<int>(security.level));
    key += static_cast<char>('0' + static_cast<int>(security.authProtocol));
    key += static_cast<char>('0' + static_cast<int>(security.privProtocol));
    return key;
}

}  // namespace

struct NetSnmpEngine::Impl : std::enable_shared_from_this<Impl> {
    Impl(NetSnmpEngine& owner, ui::EventLoop& loop) : owner(owner), loop(loop), timer(loop.createTimer()) {
        tick = timer->Tick.subscribe([this] { onTimer(); });
    }

    ~Impl() { shutDown(); }

    // Closes every session. Requests must be forgotten first: closing reports
    // each one still outstanding to the callback, which must find nothing.
    void shutDown() {
        ++generation;
        pending = 0;
        inFlight.clear();
        byMessageId.clear();
        ready.clear();
        asyncSessions.clear();
        timer->setEnabled(false);
    }

    // Requests go by reference from here to the queue of answers: each is moved only where it is kept.
    void request(Request&& request, bool asynchronous) {
        if (asynchronous) ++pending;
        std::string error;
        const auto* peer = peerOf(request.host, error);
        if (!peer) return finish(std::move(request), ENGINE_BAD_ADDRESS, error, asynchronous);
        request.peer = *peer;
        request.sessionKey = sessionKey(request.peer, owner.getSecurity());
        request.encrypted = request.version == SNMP_VERSION_3 && owner.getSecurity().encrypts();
        for (const auto& text : request.oidTexts) {
            auto name = ParseOid(text);
            if (!name) {
                const std::string reason = "Bad OID \"" + text + "\"";
                return finish(std::move(request), ENGINE_BAD_OID, reason, asynchronous);
            }
            request.shape.oids.push_back(std::move(*name));
        }
        if (request.oidTexts.empty()) return finish(std::move(request), ENGINE_BAD_OID, "No OID given", asynchronous);
        auto pdu = buildPdu(request, error);
        if (!pdu) return finish(std::move(request), ENGINE_BAD_VALUE, error, asynchronous);
        long code = ENGINE_BAD_ADDRESS;
        Session* session = open(asynchronous ? asyncSessions : syncSessions, request, asynchronous, code, error);
        if (!session) return finish(std::move(request), code, error, asynchronous);
        if (asynchronous)
            transmit(*session, std::move(pdu), std::move(request));
        else
            exchange(*session, std::move(pdu), request);
    }

    // A walk asks one host thousands of times: its peer name is worked out once.
    const std::string* peerOf(const std::string& host, std::string& error) {
        const int port = owner.getPort();
        if (lastPeer.empty() || host != lastPeerHost || port != lastPeerPort) {
            auto peer = PeerName(host, port, error);
            if (!peer) return nullptr;
            lastPeer = std::move(*peer);
            lastPeerHost = host;
            lastPeerPort = port;
        }
        return &lastPeer;
    }

    PduHandle buildPdu(const Request& request, std::string& error) const {
        PduHandle pdu(snmp_pdu_create(request.shape.command));
        pdu->version = request.version;
        if (request.version != SNMP_VERSION_3 && !request.community.empty()) {
            pdu->community = static_cast<u_char*>(std::malloc(request.community.size()));
            std::memcpy(pdu->community, request.community.data(), request.community.size());
            pdu->community_len = request.community.size();
        }
        if (request.bulk()) {
            pdu->non_repeaters = request.shape.nonRepeaters;
            pdu->max_repetitions = request.maxRepetitions;
        }
        for (const auto& name : request.shape.oids) {
            if (request.shape.command == SNMP_MSG_SET) {
                if (!AddSetValue(*pdu, name, owner.getValueType(), owner.getValue(), error)) return nullptr;
            } else {
                snmp_add_null_var(pdu.get(), name.data(), name.size());
            }
        }
        return pdu;
    }

    Session* open(Sessions& sessions, const Request& request, bool watched, long& code, std::string& error) {
        auto found = sessions.find(request.sessionKey);
        if (found == sessions.end()) {
            netsnmp_session settings;
            snmp_sess_init(&settings);
            settings.peername = const_cast<char*>(request.peer.c_str());
            // A v3 session discovers the agent's engine ID before its first
            // request, with the timing of the requests.
            settings.timeout = owner.getTimeout() * 1000L;
            settings.retries = owner.getRetries();
            if (request.version == SNMP_VERSION_3) {
                error = ApplySecurity(settings, owner.getSecurity());
                if (!error.empty()) {
                    code = ENGINE_SECURITY;
                    return nullptr;
                }
            }
            SessionHandle handle(snmp_sess_open(&settings));
            if (!handle) {
                int systemError = 0, snmpError = 0;
                char* text = nullptr;
                snmp_error(&settings, &systemError, &snmpError, &text);
                error = takeErrorText(text);
                if (auto security = SecurityFailureText(snmpError); !security.empty()) {
                    code = ENGINE_SECURITY;
                    error = security;
                } else {
                    error = "Cannot reach " + request.peer + ": " + error;
                }
                return nullptr;
            }
            // The community travels in each PDU; an empty one must not fall
            // back to the session's default.
            netsnmp_session* state = snmp_sess_session(handle.get());
            std::free(state->community);
            state->community = nullptr;
            state->community_len = 0;
            auto session = std::make_unique<Session>();
            session->handle = std::move(handle);
            if (watched) {
                Session* raw = session.get();
                session->watch = loop.watchSocket(snmp_sess_transport(raw->handle.get())->sock, [this, raw] { read(*raw); });
            }
            found = sessions.emplace(request.sessionKey, std::move(session)).first;
        }
        netsnmp_session* state = snmp_sess_session(found->second->handle.get());
        state->timeout = owner.getTimeout() * 1000L;
        state->retries = owner.getRetries();
        return found->second.get();
    }

    void transmit(Session& session, PduHandle pdu, Request&& request) {
        const int id = snmp_sess_async_send(session.handle.get(), pdu.get(), &Impl::onNetSnmp, this);
        if (id == 0) {
            auto failure = sessionFailure(session.handle.get(), ENGINE_SEND_FAILED);
            return finish(std::move(request), failure.code, failure.text, true);
        }
        // A report carries the request's message id, not always its request id.
        if (request.version == SNMP_VERSION_3) byMessageId[pdu->msgid] = id;
        pdu.release();  // net-snmp owns it now
        inFlight.emplace(id, std::move(request));
        rearm();
    }

    // A synchronous request: its own session, so nothing else is read meanwhile.
    void exchange(Session& session, PduHandle pdu, const Request& request) {
        netsnmp_pdu* response = nullptr;
        const int status = snmp_sess_synch_response(session.handle.get(), pdu.release(), &response);
        const PduHandle reply(response);
        if (status == STAT_TIMEOUT) return describe(timedOut(request));
        if (status != STAT_SUCCESS || !reply) {
            auto failure = sessionFailure(session.handle.get(), ENGINE_SEND_FAILED);
            return describe(failedAnswer(request, failure.code, std::move(failure.text)));
        }
        Answer answer = AnswerFromResponse(*reply, request.shape);
        describe(answer);
        if (!answer.values.empty()) owner.setReceivedValue(answer.rawTypes.front(), std::move(answer.values.front()));
    }

    void finish(Request&& request, long code, const std::string& text, bool asynchronous) {
        Answer answer = failedAnswer(request, code, text);
        if (asynchronous) return queue(std::move(request), std::move(answer));
        describe(answer);
    }

    void describe(const Answer& answer) {
        auto& state = owner.answerState();
        state.errorCode = answer.errorCode;
        state.errorText = answer.errorText;
        state.hexValue = answer.hexValues.empty() ? std::string() : answer.hexValues.front();
    }

    static int onNetSnmp(int operation, netsnmp_session* session, int id, netsnmp_pdu* pdu, void* magic) {
        auto& self = *static_cast<Impl*>(magic);
        // A retransmission is reported too; it does not end a request.
        if (operation == NETSNMP_CALLBACK_OP_RESEND || operation == NETSNMP_CALLBACK_OP_CONNECT) return 1;
        if (pdu && pdu->command == SNMP_MSG_REPORT) {
            const auto message = self.byMessageId.find(pdu->msgid);
            if (message != self.byMessageId.end()) id = message->second;
        }
        const auto found = self.inFlight.find(id);
        if (found == self.inFlight.end()) return 1;  // cancelled, or reported already
        Request request = std::move(found->second);
        self.inFlight.erase(found);
        if (request.version == SNMP_VERSION_3) std::erase_if(self.byMessageId, [id](const auto& entry) { return entry.second == id; });
        Answer answer;
        if (pdu && pdu->command == SNMP_MSG_REPORT)
            answer = failedAnswer(request, ENGINE_SECURITY, reportText(*pdu));
        else if (operation == NETSNMP_CALLBACK_OP_SEC_ERROR) {
            auto text = SecurityFailureText(session->s_snmp_errno);
            answer = failedAnswer(request, ENGINE_SECURITY,
                                  text.empty() ? snmp_api_errstring(session->s_snmp_errno) : text);
        } else if (operation == NETSNMP_CALLBACK_OP_SEND_FAILED)
            answer = failedAnswer(request, ENGINE_SEND_FAILED, snmp_api_errstring(session->s_snmp_errno));
        else if (operation != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE || !pdu)
            answer = failedAnswer(request, ENGINE_TIMEOUT, "Timeout");
        else
            answer = AnswerFromResponse(*pdu, request.shape);
        if (answer.errorCode == ENGINE_TIMEOUT && request.encrypted) answer.errorCode = kDiagnoseTimeout;
        self.queue(std::move(request), std::move(answer));
        return 1;
    }

    static std::string reportText(netsnmp_pdu& report) {
        const int type = snmpv3_get_report_type(&report);
        auto text = SecurityFailureText(type);
        return text.empty() ? std::string("The agent reported: ") + snmp_api_errstring(type) : text;
    }

    // Answers reach the owner from the loop, never inside net-snmp or a send.
    void queue(Request&& request, Answer&& answer) {
        ready.emplace_back(std::move(request), std::move(answer), generation);
        if (drainPosted) return;
        drainPosted = true;
        loop.post([weak = weak_from_this()] {
            if (const auto self = weak.lock()) self->drain();
        });
    }

    void drain() {
        drainPosted = false;
        const auto keepAlive = shared_from_this();
        while (alive && !ready.empty()) {
            Delivery delivery = std::move(ready.front());
            ready.pop_front();
            if (delivery.generation != generation) continue;
            if (delivery.answer.errorCode == kDiagnoseTimeout) delivery.answer = timedOut(delivery.request);
            if (tooBigToRepeat(delivery)) {
                resendSmaller(std::move(delivery.request));
                continue;
            }
            deliver(delivery);
        }
    }

    // An agent drops an encrypted request it cannot decrypt without a word.
    // When it still answers the same user unencrypted, the privacy passphrase
    // or key is what is wrong; otherwise it is a plain timeout. Runs from the
    // loop or a synchronous call, never inside net-snmp's callback.
    Answer timedOut(const Request& request) {
        Answer timeout = failedAnswer(request, ENGINE_TIMEOUT, "Timeout");
        if (!request.encrypted) return timeout;
        const auto found = syncSessions.find(request.sessionKey);
        std::string error;
        long code = 0;
        Session* session = found != syncSessions.end() ? found->second.get()
                                                       : open(syncSessions, request, false, code, error);
        if (!session) return timeout;
        PduHandle probe(snmp_pdu_create(SNMP_MSG_GET));
        probe->version = SNMP_VERSION_3;
        probe->securityLevel = SNMP_SEC_LEVEL_AUTHNOPRIV;
        static const oid snmpEngineID[] = {1, 3, 6, 1, 6, 3, 10, 2, 1, 1, 0};
        snmp_add_null_var(probe.get(), snmpEngineID, std::size(snmpEngineID));
        netsnmp_session* state = snmp_sess_session(session->handle.get());
        const int retries = state->retries;
        state->retries = 0;
        netsnmp_pdu* response = nullptr;
        const int status = snmp_sess_synch_response(session->handle.get(), probe.release(), &response);
        const PduHandle reply(response);
        state->retries = retries;
        if (status != STAT_SUCCESS || !reply) return timeout;
        return failedAnswer(request, ENGINE_SECURITY, SecurityFailureText(SNMPERR_DECRYPTION_ERR));
    }

    static bool tooBigToRepeat(const Delivery& delivery) {
        return delivery.request.bulk() && delivery.request.maxRepetitions > 1 &&
               delivery.answer.errorCode == ENGINE_ERROR_STATUS + SNMP_ERR_TOOBIG;
    }

    void resendSmaller(Request&& request) {
        request.maxRepetitions /= 2;
        std::string error;
        auto pdu = buildPdu(request, error);
        long code = ENGINE_SEND_FAILED;
        Session* session = open(asyncSessions, request, true, code, error);
        if (!session) return finish(std::move(request), code, error, true);
        transmit(*session, std::move(pdu), std::move(request));
    }

    void deliver(Delivery& delivery) {
        auto& state = owner.answerState();
        // Answers may nest (a handler that lets events run); each sees its own.
        auto saved = std::move(state);
        describe(delivery.answer);
        const auto current = generation;
        const Request& request = delivery.request;
        Answer& answer = delivery.answer;
        if (request.bulk()) {
            owner.ValuesReceived(request.tag, answer.oids, answer.rawTypes, answer.values, answer.hexValues);
        } else {
            if (answer.oids.empty()) answer.add(request.oidTexts.front(), RAW_NULL, {}, {});
            owner.ValueReceived(request.host, answer.oids.front(), answer.rawTypes.front(), answer.values.front(),
                                request.tag, request.community);
        }
        if (!alive) return;  // the owner was destroyed by a handler
        state = std::move(saved);
        if (current == generation) --pending;
    }

    void read(Session& session) {
        const int fd = snmp_sess_transport(session.handle.get())->sock;
        netsnmp_large_fd_set fds;
        netsnmp_large_fd_set_init(&fds, fd + 1);
        NETSNMP_LARGE_FD_SET(fd, &fds);
        snmp_sess_read2(session.handle.get(), &fds);
        netsnmp_large_fd_set_cleanup(&fds);
        rearm();
    }

    void onTimer() {
        for (auto& [peer, session] : asyncSessions) snmp_sess_timeout(session->handle.get());
        rearm();
    }

    // Points the timer at the earliest retransmission or timeout net-snmp has.
    void rearm() {
        long shortest = -1;
        for (auto& [peer, session] : asyncSessions) {
            int fdCount = 0, block = 1;
            timeval wait{};
            netsnmp_large_fd_set fds;
            netsnmp_large_fd_set_init(&fds, FD_SETSIZE);
            snmp_sess_select_info2(session->handle.get(), &fdCount, &fds, &wait, &block);
            netsnmp_large_fd_set_cleanup(&fds);
            if (block) continue;
            const long ms = wait.tv_sec * 1000L + (wait.tv_usec + 999) / 1000;
            shortest = shortest < 0 ? ms : std::min(shortest, ms);
        }
        if (shortest < 0) return timer->setEnabled(false);
        // net-snmp expires a request strictly after its time: a tick a little
        // late never comes too early.
        timer->setInterval(static_cast<int>(shortest) + 1);
        timer->setEnabled(true);
    }

    NetSnmpEngine& owner;
    ui::EventLoop& loop;
    std::unique_ptr<ui::Timer> timer;
    Subscription tick;
    Sessions asyncSessions, syncSessions;
    std::string lastPeerHost, lastPeer;
    int lastPeerPort = 0;
    std::unordered_map<int, Request> inFlight;  // by net-snmp's request id
    std::unordered_map<long, int> byMessageId;  // v3 requests' request ids by message id
    std::deque<Delivery> ready;
    int pending = 0;
    std::uint64_t generation = 0;  // bumped by CancelAll: older answers are dropped
    bool drainPosted = false;
    bool alive = true;
};

NetSnmpEngine::NetSnmpEngine(ui::EventLoop& loop) {
    InitNetSnmp();
    impl_ = std::make_shared<Impl>(*this, loop);
}

NetSnmpEngine::~NetSnmpEngine() {
    impl_->alive = false;
    impl_->shutDown();
    impl_->syncSessions.clear();
}

int NetSnmpEngine::getPendingCount() const { return impl_->pending; }

namespace {

Request singleRequest(const Engine& engine, int command, const std::string& host) {
    Request request;
    request.host = host;
    request.community = engine.getCommunity();
    request.tag = engine.getRequestTag();
    request.oidTexts = {engine.getRequestOID()};
    request.shape.command = command;
    request.version = engine.getSecurity().enabled() ? SNMP_VERSION_3
                      : engine.getVersion() == 1     ? SNMP_VERSION_1
                                                     : SNMP_VERSION_2c;
    return request;
}

}  // namespace

void NetSnmpEngine::Get(const std::string& Host) {
    impl_->request(singleRequest(*this, SNMP_MSG_GET, Host), getAsynchronous());
}

void NetSnmpEngine::GetNext(const std::string& Host) {
    impl_->request(singleRequest(*this, SNMP_MSG_GETNEXT, Host), getAsynchronous());
}

void NetSnmpEngine::Set(const std::string& Host) {
    impl_->request(singleRequest(*this, SNMP_MSG_SET, Host), getAsynchronous());
}

void NetSnmpEngine::GetBulk(const std::string& Host, const std::string& Community, const std::string& Tag,
                            const std::vector<std::string>& OIDs, int NonRepeaters, int MaxRepetitions) {
    Request request;
    request.host = Host;
    request.community = Community;
    request.tag = Tag;
    request.oidTexts = OIDs;
    request.shape.command = SNMP_MSG_GETBULK;
    request.shape.nonRepeaters = std::clamp(NonRepeaters, 0, static_cast<int>(OIDs.size()));
    request.maxRepetitions = std::max(MaxRepetitions, 0);
    request.version = getSecurity().enabled() ? SNMP_VERSION_3 : SNMP_VERSION_2c;
    impl_->request(std::move(request), true);
}

void NetSnmpEngine::CancelAll() { impl_->shutDown(); }

}  // namespace qlmib::snmp
