#include "SearchMIBTreeForm.h"

#include <algorithm>
#include <map>
#include <optional>

#include "MIBTreeCommon.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/CommonFunctions.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {
namespace {

constexpr std::int32_t kMargin = 120;
constexpr std::int32_t kLine = 300;        // a label or a text box
constexpr std::int32_t kTabHeader = 400;
constexpr std::int32_t kButtonWidth = 1800;  // "Show in MIB Tree" in the usual desktop fonts
constexpr std::int32_t kButtonHeight = 375;

std::string wildcards(std::string text) {
    std::replace(text.begin(), text.end(), '*', '%');
    return text;
}

std::vector<std::string> words(std::string text) {
    std::replace(text.begin(), text.end(), ',', ' ');
    const auto collapsed = std::string(TrimBlanks(CollapseWhitespace(wildcards(std::move(text)))));
    std::vector<std::string> out;
    size_t start = 0;
    while (start < collapsed.size()) {
        const auto blank = std::min(collapsed.find(' ', start), collapsed.size());
        out.push_back(collapsed.substr(start, blank - start));
        start = blank + 1;
    }
    return out;
}

}  // namespace

std::string CollapseWhitespace(std::string_view text) {
    std::string out;
    bool copied = false;  // the last character written was not a blank
    for (const char c : text) {
        if (c != ' ' && c != '\t') {
            out += c;
            copied = true;
        } else if (copied) {
            out += ' ';
            copied = false;
        }
    }
    return out;
}

std::string HitLineOID(std::string_view line) {
    const auto tab = line.rfind('\t');
    return std::string(TrimBlanks(tab == std::string_view::npos ? line : line.substr(tab + 1)));
}

SearchMIBTreeForm::SearchMIBTreeForm(ui::Toolkit& toolkit)
    : ui::Window(toolkit, "SearchMIBTreeForm"), OIDDetails(toolkit, "OIDDetails") {
    setCaption("Search MIB Tree ...");
    for (const char* caption : {"Search by OID", "Search by Name", "&Search Descriptions"}) Tabs.AddTab(caption);
    Label1.setCaption("Enter OID to search for ...");
    TargetOID.setText("1.3.6.1");
    Label2.setCaption("Enter name of the OID to search for ...");
    Label4.setCaption("MIBs to search in ...");
    Label3.setCaption("Enter Keywords to search for in MIB Descriptions ...");
    Search_Button.setCaption("Search");
    Search_Button.setDefault(true);
    Show_Button.setCaption("Show in MIB Tree");
    Show_Button.setEnabled(false);
    Copy_Button.setCaption("Copy");
    Print_Button.setCaption("Print");
    Done_Button.setCaption("Done");
    for (ui::Widget* child : std::initializer_list<ui::Widget*>{
             &Tabs, &Label1, &TargetOID, &Label2, &TargetName, &Label4, &TargetMIBs, &Label3, &TargetKeywords,
             &Search_Button, &Splitter, &Show_Button, &Copy_Button, &Print_Button, &Done_Button})
        child->setParent(this);
    OIDDetails.setParent(&OIDDetailsPanel);
    Splitter.AddPane("Pane A", &OIDList);
    Splitter.AddPane("Pane B", &OIDDetailsPanel);

    subscriptions_.push_back(Load.subscribe([this] {
        TargetName.setText("sys*");
        TargetMIBs.setText("Cisco*");
        TargetKeywords.setText("CPU");
        if (Tabs.getTab() == SearchByName) tabChanged();
        else Tabs.setTab(SearchByName);
    }));
    subscriptions_.push_back(Unload.subscribe([this] { ReleaseTree(tree_); }));
    subscriptions_.push_back(Resize.subscribe([this] { arrange(); }));
    subscriptions_.push_back(OIDDetailsPanel.Resize.subscribe(
        [this] { OIDDetails.Move(0, 0, OIDDetailsPanel.getWidth(), OIDDetailsPanel.getHeight()); }));
    subscriptions_.push_back(Tabs.Click.subscribe([this](std::int32_t) { tabChanged(); }));
    subscriptions_.push_back(Search_Button.Click.subscribe([this] { runSearch(); }));
    subscriptions_.push_back(TargetName.KeyPress.subscribe([this](std::int16_t& key) {
        if (key != ui::AsciiReturn) return;
        key = 0;
        Search_Button.Press();
    }));
    subscriptions_.push_back(TargetOID.Change.subscribe([this] { OIDDetails.setOID(TargetOID.getText()); }));
    subscriptions_.push_back(OIDList.Click.subscribe([this] { showHit(); }));
    subscriptions_.push_back(Show_Button.Click.subscribe([this] { showInTree(); }));
    subscriptions_.push_back(Copy_Button.Click.subscribe([this] { OIDDetails.CopyToClipboard(); }));
    subscriptions_.push_back(Print_Button.Click.subscribe([this] { OIDDetails.PrintPopup_Click(); }));
    subscriptions_.push_back(Done_Button.Click.subscribe([this] { Close(); }));
    Move(0, 0, 9000, 7200);
}

SearchMIBTreeForm::~SearchMIBTreeForm() = default;

void SearchMIBTreeForm::Search(MIBTreeCommon* Tree, bool Modal) {
    tree_ = Tree;
    Show_Button.setEnabled(tree_ != nullptr);
    Show(Modal);
}

std::shared_ptr<SearchMIBTreeForm> SearchMIBTreeForm::Shared(ui::Toolkit& toolkit) {
    // Per thread, as toolkits are; an entry of a closed window has expired.
    thread_local std::map<const ui::Toolkit*, std::weak_ptr<SearchMIBTreeForm>> shared;
    auto& entry = shared[&toolkit];
    if (auto form = entry.lock()) return form;
    auto form = std::make_shared<SearchMIBTreeForm>(toolkit);
    toolkit.KeepUntilClosed(*form, form);
    // A closing window is let go at once, although it is destroyed only later
    // from the event loop, so that the next call opens a fresh one.
    form->subscriptions_.push_back(form->Unload.subscribe([&entry, closing = form.get()] {
        if (entry.lock().get() == closing) entry.reset();
    }));
    entry = form;
    return form;
}

void SearchMIBTreeForm::ReleaseTree(const MIBTreeCommon* Tree) {
    if (Tree != tree_) return;
    tree_ = nullptr;
    Show_Button.setEnabled(false);
}

void SearchMIBTreeForm::runSearch() {
    OIDList.Clear();
    hits_ = 0;
    ui::BusyPointer busy(toolkit());
    toolkit().DoEvents();
    try {
        const bool searched = Tabs.getTab() == SearchByName ? queryByName() : queryDescriptions();
        if (!searched) return;
    } catch (const Error& e) {
        // The database failed; the window stays usable.
        toolkit().MsgBox(e.Description(), ui::MsgBoxExclamation);
        return;
    }
    if (hits_ == kSearchHitLimit) {
        OIDList.AddItem("");
        OIDList.AddItem("   Only first 500 matches shown ...");
    }
    if (OIDList.getListCount() > 0) {
        OIDList.setListIndex(0);
    } else {
        OIDDetails.setOID("");
        toolkit().MsgBox("Searched string was not found", ui::MsgBoxOKOnly);
    }
}

bool SearchMIBTreeForm::queryByName() {
    if (TrimBlanks(TargetName.getText()).empty()) {
        toolkit().MsgBox("Please, enter name of the OID to search for", ui::MsgBoxOKOnly);
        return false;
    }
    auto query = SharedDatabase().query(Query::TreeSearchByName);
    query.bind(1, wildcards(TargetName.getText()));
    listHits(query);
    return true;
}

bool SearchMIBTreeForm::queryDescriptions() {
    if (TrimBlanks(TargetMIBs.getText()).empty() && TrimBlanks(TargetKeywords.getText()).empty()) {
        toolkit().MsgBox("Please, feel in both fields", ui::MsgBoxOKOnly);
        return false;
    }
    const auto keywords = words(TargetKeywords.getText());
    const auto modules = wildcards(TargetMIBs.getText());
    const bool byModule = !modules.empty();
    auto query = SharedDatabase().prepare(DescriptionSearchText(byModule, static_cast<int>(keywords.size())));
    int parameter = 1;
    if (byModule) query.bind(parameter++, modules);
    // A keyword matches at the start of a word of the description, after a blank.
    for (const auto& word : keywords) query.bind(parameter++, "% " + word + "%");
    listHits(query);
    return true;
}

void SearchMIBTreeForm::listHits(Statement& query) {
    ReadBatch batch(SharedDatabase());
    while (query.step()) {
        OIDList.AddItem(query.text(0) + '\t' + query.text(1) + '\t' + query.text(2));
        ++hits_;
    }
}

void SearchMIBTreeForm::showHit() {
    const auto oid = HitLineOID(OIDList.getText());
    if (oid != OIDDetails.getOID()) OIDDetails.setOID(oid);
}

void SearchMIBTreeForm::showInTree() {
    if (!tree_) return;
    ui::BusyPointer busy(toolkit());
    if (Tabs.getTab() == SearchByOID) {
        tree_->SelectOID(TargetOID.getText());
    } else if (const auto oid = HitLineOID(OIDList.getText()); !oid.empty()) {
        tree_->SelectOID(oid);
    }
}

void SearchMIBTreeForm::tabChanged() {
    const auto tab = Tabs.getTab();
    Label1.setVisible(tab == SearchByOID);
    TargetOID.setVisible(tab == SearchByOID);
    Label2.setVisible(tab == SearchByName);
    TargetName.setVisible(tab == SearchByName);
    for (ui::Widget* field : std::initializer_list<ui::Widget*>{&Label4, &TargetMIBs, &Label3, &TargetKeywords})
        field->setVisible(tab == SearchDescriptions);
    OIDList.setVisible(tab != SearchByOID);
    Search_Button.setVisible(tab != SearchByOID);
    if (tab == SearchByOID) OIDDetails.setOID(TargetOID.getText());
    else showHit();
    arrange();
}

void SearchMIBTreeForm::arrange() {
    const auto width = std::max(getWidth() - 2 * kMargin, 0);
    // The fields of the tab, then the splitter, then the row of buttons.
    const auto place = [&](ui::Widget& widget, std::int32_t line, std::int32_t w) {
        widget.Move(2 * kMargin, kTabHeader + kMargin + line * kLine, w, kLine);
    };
    const auto fieldWidth = std::max(width - 2 * kMargin - kButtonWidth - kMargin, 0);
    place(Label1, 0, fieldWidth), place(TargetOID, 1, fieldWidth);
    place(Label2, 0, fieldWidth), place(TargetName, 1, fieldWidth);
    place(Label4, 0, fieldWidth), place(TargetMIBs, 1, fieldWidth);
    place(Label3, 2, fieldWidth), place(TargetKeywords, 3, fieldWidth);
    const auto lines = Tabs.getTab() == SearchDescriptions ? 4 : 2;
    const auto tabsHeight = kTabHeader + 2 * kMargin + lines * kLine;
    Tabs.Move(kMargin, kMargin, width, tabsHeight);
    Search_Button.Move(kMargin + width - kButtonWidth - kMargin, kTabHeader + kMargin + kLine, kButtonWidth,
                       kButtonHeight);
    const auto buttonsTop = std::max(getHeight() - kMargin - kButtonHeight, 0);
    const auto splitterTop = kMargin + tabsHeight + kMargin;
    Splitter.Move(kMargin, splitterTop, width, std::max(buttonsTop - kMargin - splitterTop, 0));
    // Without a list (by OID) the details take the whole splitter.
    const auto listHeight = Tabs.getTab() == SearchByOID ? 0 : Splitter.getHeight() / 2;
    Splitter.setPaneSize("Pane A", listHeight);
    std::int32_t left = kMargin;
    for (ui::Button* button : {&Show_Button, &Copy_Button, &Print_Button, &Done_Button}) {
        button->Move(left, buttonsTop, kButtonWidth, kButtonHeight);
        left += kButtonWidth + kMargin;
    }
}

}  // namespace qlmib
