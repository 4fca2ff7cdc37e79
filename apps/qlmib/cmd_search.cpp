#include <iostream>
#include <memory>
#include <optional>

#include <qlmib/tree/SearchMIBTreeForm.h>

#include "CommandLine.h"
#include "ExportOption.h"
#include "HeadlessHost.h"

namespace qlmib::cli {
namespace {

struct SearchArgs {
    std::optional<std::string> oid, name, keywords, mibs;
    ExportOption output;
};

int run(const SearchArgs& args) {
    if (!args.oid && !args.name && !args.keywords && !args.mibs)
        throw UsageError("search needs --oid, --name, or --keywords and/or --mibs");
    HeadlessHost host;
    auto& toolkit = host.toolkit;
    SearchMIBTreeForm form(toolkit);
    form.Search(nullptr, false);
    if (args.oid) {
        form.TargetOID.setText(withoutLeadingDot(*args.oid));
        form.Tabs.setTab(SearchByOID);
        const auto details = form.OIDDetails.Details.getText();
        if (details.empty()) return 1;
        if (args.output.requested()) args.output.richText(toolkit, form.OIDDetails.Details.getTextRTF(), *args.oid);
        else writeText(std::cout, details);
        return 0;
    }
    if (args.name) {
        form.Tabs.setTab(SearchByName);
        form.TargetName.setText(*args.name);
    } else {
        // A field left out is empty, not the window's initial text.
        form.Tabs.setTab(SearchDescriptions);
        form.TargetKeywords.setText(args.keywords.value_or(""));
        form.TargetMIBs.setText(args.mibs.value_or(""));
    }
    form.Search_Button.Press();
    std::string hits;
    for (std::int32_t line = 0; line < form.OIDList.getListCount(); ++line) hits += form.OIDList.getList(line) + '\n';
    if (args.output.requested()) args.output.text(toolkit, hits, "Search");
    else writeText(std::cout, hits);
    return form.HitCount() > 0 ? 0 : 1;
}

}  // namespace

const CommandRegistrar registrar("search", [](CLI::App& app, Action& selected) {
    auto args = std::make_shared<SearchArgs>();
    auto* cmd = addCommand(app, "search", "Search the MIB database as the search window does", selected,
                           [args] { return run(*args); });
    auto* oid = cmd->add_option("--oid", args->oid, "Print the details of this OID");
    auto* name = cmd->add_option("--name", args->name, "Objects whose name matches this pattern (* is any text)");
    auto* keywords = cmd->add_option("--keywords", args->keywords,
                                     "Objects whose description has words starting with each of these");
    auto* mibs = cmd->add_option("--mibs", args->mibs, "Only in modules whose name matches this pattern");
    name->excludes(oid);
    keywords->excludes(oid)->excludes(name);
    mibs->excludes(oid)->excludes(name);
    addExportOption(*cmd, args->output, false);
});

}  // namespace qlmib::cli
