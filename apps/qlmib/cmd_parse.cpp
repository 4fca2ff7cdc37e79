#include <iostream>
#include <memory>

#include <qlmib/mibdata/OID.h>

#include "CommandLine.h"

namespace qlmib::cli {
namespace {

std::string hexOf(std::string_view octets) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char c : octets) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 15];
    }
    return hex;
}

std::string octetsOf(std::string_view hex) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (hex.size() % 2) throw UsageError("a 0x value needs an even number of hex digits");
    std::string octets;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]), low = digit(hex[i + 1]);
        if (high < 0 || low < 0) throw UsageError("not a hex digit in 0x value: " + std::string(hex));
        octets += static_cast<char>(high * 16 + low);
    }
    return octets;
}

}  // namespace

const CommandRegistrar registrar("parse", [](CLI::App& app, Action& selected) {
    struct Args {
        std::string target, value, hex;
    };
    auto args = std::make_shared<Args>();
    auto* cmd = addCommand(app, "parse", "Print a raw value as the value parser renders it for an object", selected,
                           [args] {
                               OID object;
                               lookUpRequired(object, args->target);
                               std::string value = args->value;
                               if (value.rfind("0x", 0) == 0) value = octetsOf(std::string_view(value).substr(2));
                               const std::string hex = args->hex.empty() ? hexOf(value) : args->hex;
                               writeText(std::cout, object.ParseValue(value, hex));
                               std::cout << '\n';
                               return 0;
                           });
    cmd->add_option("object", args->target, "OID, NAME or MODULE:NAME")->required();
    cmd->add_option("value", args->value, "The raw value; 0x followed by hex digits gives octets")->required();
    cmd->add_option("hexvalue", args->hex, "The value's octets as hex digits (default: derived from VALUE)");
});

}  // namespace qlmib::cli
