#include "NetSnmp.h"

#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>

#include "SettingsFile.h"

namespace qlmib::snmp::internal {
namespace {

// Sets an environment variable for the length of a scope and then puts back
// what the host had.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

void InitNetSnmp() {
    static std::once_flag once;
    std::call_once(once, [] {
        // MIB loading reads these; empty lists keep it from parsing any file,
        // which would cost far more than the requests themselves.
        ScopedEnv mibs("MIBS", "");
        ScopedEnv mibDirs("MIBDIRS", "");
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        const std::string persistent = (ConfigFolder() / "net-snmp").string();
        netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, persistent.c_str());
        // Every failure reaches the caller as an answer. With no handler at all
        // net-snmp would fall back to printing on the host's standard output.
        netsnmp_register_loghandler(NETSNMP_LOGHANDLER_NONE, LOG_EMERG);
        init_snmp("qlmib");
    });
}

}  // namespace qlmib::snmp::internal
