#include "BrowserOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace qlmib::browser {

CommandLineResult ParseBrowserOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Browse the MIB database and walk SNMP agents."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption home(QStringLiteral("home"), QStringLiteral("Install folder holding MIBs.cfg."),
                                  QStringLiteral("DIR"));
    parser.addOption(home);
    parser.addPositionalArgument(QStringLiteral("AGENT"), QStringLiteral("HOST, HOST:PORT or udp6:[ADDRESS]:PORT"),
                                 QStringLiteral("[AGENT"));
    parser.addPositionalArgument(QStringLiteral("OID"), QStringLiteral("where the walk starts"),
                                 QStringLiteral("[OID]]"));
    const auto usageError = [&](const QString& why) {
        return CommandLineResult{std::nullopt, (why + QLatin1Char('\n') + parser.helpText()).toStdString(), 2};
    };
    if (!parser.parse(arguments)) return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) return {std::nullopt, parser.helpText().toStdString(), 0};
    if (parser.isSet(QStringLiteral("version")))
        return {std::nullopt,
                (QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion() +
                 QLatin1Char('\n'))
                    .toStdString(),
                0};
    const auto positional = parser.positionalArguments();
    if (positional.size() > 2) return usageError(QStringLiteral("Too many arguments."));
    if (parser.isSet(home) && parser.value(home).isEmpty()) return usageError(QStringLiteral("--home needs a folder."));
    BrowserOptions options;
    options.home = parser.value(home).toStdString();
    if (!positional.empty()) options.agent = positional[0].toStdString();
    if (positional.size() > 1) options.oid = positional[1].toStdString();
    return {options, {}, 0};
}

}  // namespace qlmib::browser
