#include "ScriptedEngine.h"

namespace qlmib::test {

ScriptedEngine::ScriptedEngine(ui::EventLoop& loop, std::deque<Reply> script, std::vector<Request>& requests)
    : loop_(loop), script_(std::move(script)), requests_(requests) {}

void ScriptedEngine::Get(const std::string&) { single("Get"); }
void ScriptedEngine::GetNext(const std::string&) { single("GetNext"); }
void ScriptedEngine::Set(const std::string&) { single("Set"); }

void ScriptedEngine::single(const char* command) {
    requests_.push_back({command, getRequestOID(), getRequestTag(), getCommunity(), getVersion(), getAsynchronous()});
    if (getAsynchronous()) answer(false, getRequestTag());
}

void ScriptedEngine::GetBulk(const std::string&, const std::string& Community, const std::string& Tag,
                             const std::vector<std::string>& OIDs, int, int) {
    requests_.push_back({"GetBulk", OIDs.at(0), Tag, Community, 2, true});
    answer(true, Tag);
}

void ScriptedEngine::CancelAll() {
    ++generation_;
    pending_ = 0;
}

void ScriptedEngine::answer(bool bulk, const std::string& tag) {
    if (script_.empty()) return;  // never answered: the test cancels or gives up
    ++pending_;
    loop_.post([this, bulk, tag, reply = script_.front(), generation = generation_] {
        if (generation != generation_) return;
        answerState().errorCode = reply.code;
        answerState().errorText = reply.text;
        const std::vector<int> types(reply.oids.size(), snmp::RAW_OCTET_STRING);
        std::vector<std::string> hex;
        for (const auto& value : reply.values) hex.push_back(value.empty() ? "" : "00");
        if (bulk) ValuesReceived(tag, reply.oids, types, reply.values, hex);
        else ValueReceived("", reply.oids.at(0), types[0], reply.values.at(0), tag, getCommunity());
        if (generation == generation_) --pending_;
    });
    script_.pop_front();
}

}  // namespace qlmib::test
