#include "Variant.h"

#include "qlmib/common/Numbers.h"

namespace qlmib::ui {

double Variant::number() const {
    const double* n = std::get_if<double>(&value_);
    return n ? *n : 0.0;
}

const std::string& Variant::text() const {
    static const std::string empty;
    const std::string* s = std::get_if<std::string>(&value_);
    return s ? *s : empty;
}

std::string Variant::toString() const {
    if (isText()) return text();
    if (isNumber()) return NumberText(number());
    return {};
}

int Variant::Compare(const Variant& a, const Variant& b) {
    if (a.value_.index() != b.value_.index()) return a.value_.index() < b.value_.index() ? -1 : 1;
    if (a.isNumber()) return a.number() < b.number() ? -1 : (b.number() < a.number() ? 1 : 0);
    if (a.isText()) {
        const int c = a.text().compare(b.text());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return 0;
}

}  // namespace qlmib::ui
