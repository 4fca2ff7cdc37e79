#include "Settings.h"

#include <algorithm>

#include "internal/SettingsFile.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/mibdata/Version.h"

namespace qlmib {
namespace {

// The store addresses values by application name and section.
const std::string& group() {
    static const std::string text = std::string(kLibraryDescription) + "/Settings";
    return text;
}

std::string defaultICMPData() {
    return std::string("Quellon.Net ") + kLibraryDescription + " version " + kLibraryVersion;
}

std::string storedText(const SettingValue& value) {
    struct {
        std::string operator()(const std::string& text) const { return text; }
        std::string operator()(std::int32_t number) const { return std::to_string(number); }
        std::string operator()(bool flag) const { return flag ? "True" : "False"; }
    } visitor;
    return std::visit(visitor, value);
}

[[noreturn]] void notConvertible(const std::string& name, const std::string& text, const char* expected) {
    throw Error(ERR_TYPE_MISMATCH,
                "Type mismatch: the setting \"" + name + "\" holds \"" + text + "\", which is not " + expected);
}

template <class Int>
Int storedNumber(const std::string& name, const std::string& text, Int (*round)(double)) {
    const auto number = WholeNumber(text);
    if (!number) notConvertible(name, text, "a number");
    try {
        return round(*number);
    } catch (const Error& e) {
        throw Error(e.Number(), e.Description() + ": the setting \"" + name + "\" holds \"" + text +
                                    "\", which is out of range");
    }
}

bool storedFlag(const std::string& name, const std::string& text) {
    if (EqualsNoCase(text, "True")) return true;
    if (EqualsNoCase(text, "False")) return false;
    if (const auto number = WholeNumber(text)) return *number != 0;
    notConvertible(name, text, "True or False");
}

}  // namespace

Settings::Settings()
    : file_(std::make_unique<snmp::internal::SettingsFile>(snmp::internal::ConfigFolder() / "settings.ini")) {
    Refresh();
}

Settings::~Settings() = default;

std::shared_ptr<Settings> Settings::Shared() {
    thread_local std::shared_ptr<Settings> shared;
    if (!shared) shared = std::make_shared<Settings>();
    return shared;
}

template <class T>
T Settings::setCached(T& cached, T value, const char* name) {
    if (value == cached) return cached;
    const SettingValue event = std::is_same_v<T, bool> ? SettingValue(static_cast<bool>(value))
                                                       : SettingValue(static_cast<std::int32_t>(value));
    // Stored before the cache changes, so a failed write leaves both as they were.
    file_->write(group(), name, storedText(event));
    cached = value;
    Changed(name, event);
    return cached;
}

std::int32_t Settings::setSNMPTimeout(std::int32_t milliseconds) {
    return setCached(timeout_, std::clamp<std::int32_t>(milliseconds, 100, 5000), kSettingSNMPTimeout);
}

std::int16_t Settings::setSNMPRetries(std::int32_t retries) {
    return setCached(retries_, static_cast<std::int16_t>(std::clamp<std::int32_t>(retries, 1, 5)), kSettingSNMPRetries);
}

std::int16_t Settings::ClampRequestSize(std::int32_t repetitions) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(repetitions, 2, 30));
}

std::int16_t Settings::setSNMPV2RequestSize(std::int32_t repetitions) {
    return setCached(requestSize_, ClampRequestSize(repetitions), kSettingSNMPV2RequestSize);
}

void Settings::setDisableSNMPV2(bool disable) { setCached(disableV2_, disable, kSettingDisableSNMPV2); }

std::string Settings::getICMPData() const { return RetrieveOption(kSettingICMPData, defaultICMPData()); }

void Settings::setICMPData(const std::string& text) { SaveOption(kSettingICMPData, text); }

std::string Settings::RetrieveOption(const std::string& Name, const std::string& Default) const {
    return file_->load().find(group(), Name).value_or(Default);
}

void Settings::SaveOption(const std::string& Name, const SettingValue& Value) {
    file_->write(group(), Name, storedText(Value));
    Changed(Name, Value);
}

void Settings::Refresh() {
    const auto stored = file_->load();
    auto text = [&](const char* name, const char* fallback) {
        return stored.find(group(), name).value_or(fallback);
    };
    // All four convert before any is kept: a bad value changes nothing.
    const auto timeout = storedNumber<std::int32_t>(kSettingSNMPTimeout, text(kSettingSNMPTimeout, "1500"), RoundToInt32);
    const auto retries = storedNumber<std::int16_t>(kSettingSNMPRetries, text(kSettingSNMPRetries, "2"), RoundToInt16);
    const auto requestSize =
        storedNumber<std::int16_t>(kSettingSNMPV2RequestSize, text(kSettingSNMPV2RequestSize, "10"), RoundToInt16);
    const bool disableV2 = storedFlag(kSettingDisableSNMPV2, text(kSettingDisableSNMPV2, "False"));
    timeout_ = timeout;
    retries_ = retries;
    requestSize_ = requestSize;
    disableV2_ = disableV2;
}

}  // namespace qlmib
