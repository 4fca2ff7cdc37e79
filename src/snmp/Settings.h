#pragma once
// The user's SNMP preferences, kept per user and announced on every change.
// Lives on the thread that created it; Shared() gives each thread one instance
// that every control on it holds, so a change reaches them all.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "qlmib/common/Event.h"

namespace qlmib {

namespace snmp::internal {
class SettingsFile;
}

// A setting as the Changed event carries it: a number, a flag or a text.
using SettingValue = std::variant<std::string, std::int32_t, bool>;

// Value names in the store, as Changed reports them.
inline constexpr const char* kSettingSNMPTimeout = "SNMP Timeout";
inline constexpr const char* kSettingSNMPRetries = "SNMP Retries";
inline constexpr const char* kSettingSNMPV2RequestSize = "SNMP V2 Request Size";
inline constexpr const char* kSettingDisableSNMPV2 = "Disable SNMP V2";
inline constexpr const char* kSettingICMPData = "ICMP Data";

class Settings {
public:
    // Reads the store. Throws Error(ERR_TYPE_MISMATCH or ERR_OVERFLOW) naming
    // the value when a stored text does not convert, Error(ERR_FILE) when the
    // store cannot be read.
    Settings();
    ~Settings();
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    // This thread's shared instance, created on first use.
    static std::shared_ptr<Settings> Shared();

    // Setters bring the value into range, store it and raise Changed when it
    // differs from the cached one; they return the value kept.
    std::int32_t getSNMPTimeout() const { return timeout_; }  // milliseconds, 100 to 5000
    std::int32_t setSNMPTimeout(std::int32_t milliseconds);
    std::int16_t getSNMPRetries() const { return retries_; }  // 1 to 5
    std::int16_t setSNMPRetries(std::int32_t retries);
    std::int16_t getSNMPV2RequestSize() const { return requestSize_; }  // repetitions per bulk request, 2 to 30
    std::int16_t setSNMPV2RequestSize(std::int32_t repetitions);
    // The range every request size is brought into, here and where a saved agent overrides it.
    static std::int16_t ClampRequestSize(std::int32_t repetitions);
    bool getDisableSNMPV2() const { return disableV2_; }
    void setDisableSNMPV2(bool disable);
    // Not cached: read from the store every time. Setting it always stores and
    // raises Changed.
    std::string getICMPData() const;
    void setICMPData(const std::string& text);

    // The stored text of `Name`, or `Default` when nothing is stored.
    std::string RetrieveOption(const std::string& Name, const std::string& Default = "") const;
    // Stores `Value` as text (numbers in decimal, flags as "True"/"False"),
    // then raises Changed, whether or not the value differs.
    void SaveOption(const std::string& Name, const SettingValue& Value);
    // Reads the four cached values again, as stored: no range correction, no event.
    void Refresh();

    Event<const std::string&, const SettingValue&> Changed;

private:
    template <class T>
    T setCached(T& cached, T value, const char* name);

    std::unique_ptr<snmp::internal::SettingsFile> file_;
    std::int32_t timeout_ = 1500;
    std::int16_t retries_ = 2;
    std::int16_t requestSize_ = 10;
    bool disableV2_ = false;
};

}  // namespace qlmib
