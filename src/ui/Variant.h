#pragma once
// The value of a cell datum, row datum or column datum: empty, a number or a
// text, as the grid of the original platform stored them.

#include <string>
#include <string_view>
#include <variant>

namespace qlmib::ui {

class Variant {
public:
    Variant() = default;
    Variant(double number) : value_(number) {}
    Variant(int number) : value_(static_cast<double>(number)) {}
    Variant(long number) : value_(static_cast<double>(number)) {}
    Variant(long long number) : value_(static_cast<double>(number)) {}
    Variant(std::string text) : value_(std::move(text)) {}
    Variant(std::string_view text) : value_(std::string(text)) {}
    Variant(const char* text) : value_(std::string(text)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool isNumber() const { return std::holds_alternative<double>(value_); }
    bool isText() const { return std::holds_alternative<std::string>(value_); }

    // 0 unless a number.
    double number() const;
    // "" unless a text.
    const std::string& text() const;
    // The value as text: "" when empty, a whole number without decimals.
    std::string toString() const;

    // Orders empty before numbers before texts; numbers by value, texts by bytes.
    static int Compare(const Variant& a, const Variant& b);
    friend bool operator==(const Variant& a, const Variant& b) { return a.value_ == b.value_; }

private:
    std::variant<std::monostate, double, std::string> value_;
};

}  // namespace qlmib::ui
