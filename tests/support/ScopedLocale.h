#pragma once
// Runs a stretch of a test under a named locale, C and C++ alike, as a Qt host
// would set one, and restores the previous locales afterwards.

#include <gtest/gtest.h>

#include <clocale>
#include <locale>
#include <string>

namespace qlmib::test {

// The locales that number texts are tested under: the default, and one that
// writes a comma as decimal point and groups thousands with ".".
inline constexpr const char* kNumberLocales[] = {"C", "de_DE.UTF-8"};

class ScopedLocale {
public:
    explicit ScopedLocale(const char* name) : savedC_(std::setlocale(LC_ALL, nullptr)) {
        if (!std::setlocale(LC_ALL, name)) return;
        std::locale::global(std::locale(name));
        available_ = true;
    }
    ~ScopedLocale() {
        std::locale::global(savedCpp_);
        std::setlocale(LC_ALL, savedC_.c_str());
    }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    // False when the locale is not installed (scripts/setup generates it).
    bool available() const { return available_; }

private:
    std::string savedC_;
    std::locale savedCpp_;
    bool available_ = false;
};

// A test fixture parameterised by a locale name, skipped when it is missing.
template <class Base>
class UnderLocale : public Base, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        Base::SetUp();
        if (!locale_.available()) GTEST_SKIP() << "locale " << GetParam() << " is not installed (scripts/setup generates it)";
    }

private:
    ScopedLocale locale_{GetParam()};
};

}  // namespace qlmib::test
