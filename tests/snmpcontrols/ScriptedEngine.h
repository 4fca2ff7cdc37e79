#pragma once
// An SNMP engine whose answers a test scripts, for the faults snmpd does not
// produce on demand (an answer that steps back, an error status mid-walk).
// Each request takes the next reply of the script; replies are delivered from
// the event loop, as a real engine delivers them.

#include <deque>
#include <string>
#include <vector>

#include <qlmib/snmp/Engine.h>
#include <qlmib/ui/EventLoop.h>

namespace qlmib::test {

class ScriptedEngine : public snmp::Engine {
public:
    struct Reply {
        std::vector<std::string> oids, values;
        long code = snmp::ENGINE_OK;
        std::string text = "OK";
    };
    // A request as the engine received it.
    struct Request {
        std::string command;  // "Get", "GetNext", "Set", "GetBulk"
        std::string oid, tag, community;
        int version = 0;
        bool asynchronous = true;
    };

    ScriptedEngine(ui::EventLoop& loop, std::deque<Reply> script, std::vector<Request>& requests);

    int getPendingCount() const override { return pending_; }
    void Get(const std::string& Host) override;
    void GetNext(const std::string& Host) override;
    void Set(const std::string& Host) override;
    void GetBulk(const std::string& Host, const std::string& Community, const std::string& Tag,
                 const std::vector<std::string>& OIDs, int NonRepeaters, int MaxRepetitions) override;
    void CancelAll() override;

private:
    void single(const char* command);
    void answer(bool bulk, const std::string& tag);

    ui::EventLoop& loop_;
    std::deque<Reply> script_;
    std::vector<Request>& requests_;
    int pending_ = 0;
    int generation_ = 0;
};

}  // namespace qlmib::test
