#include "SingleMIBTree.h"

#include <algorithm>
#include <vector>

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/CommonFunctions.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OID.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {
namespace {

constexpr std::int32_t kStatusHeight = 400;

TreeControl::Style singleStyle() {
    TreeControl::Style style;
    style.pictures = {"table", "folder-gray", "folder-closed", "key", "leaf", "folder-open", "arrow"};
    style.rootPicture = "folder-gray";
    style.traps = false;
    style.detailsMenu = false;
    return style;
}

// Dotted OIDs by their numbers: a parent before its children, siblings by number.
bool oidBefore(std::string_view a, std::string_view b) {
    while (!a.empty() && !b.empty()) {
        const auto x = a.substr(0, a.find('.')), y = b.substr(0, b.find('.'));
        if (x != y) return x.size() != y.size() ? x.size() < y.size() : x < y;
        a.remove_prefix(std::min(x.size() + 1, a.size()));
        b.remove_prefix(std::min(y.size() + 1, b.size()));
    }
    return a.empty() && !b.empty();
}

}  // namespace

SingleMIBTree::SingleMIBTree(ui::Toolkit& toolkit) : CommonTreeControl(toolkit, "SingleMIBTree", singleStyle()) {
    StatusMessage.setCaption("Loading MIB ...");
    StatusMessage.setVisible(false);
    StatusMessage.setParent(this);
    resized_ = Resize.subscribe([this] { StatusMessage.Move(0, 0, getWidth(), kStatusHeight); });
}

void SingleMIBTree::setMIB(const std::string& Name) {
    // A window event that Refresh lets run must not switch the module under it.
    if (busy_) return;
    module_ = Name;
    Refresh();
}

void SingleMIBTree::setRow(std::int32_t Index) {
    if (Tree.getRows() == 0) return;  // nothing loaded yet: no row to make current
    Tree.setRow(std::clamp(Index, 0, Tree.getRows() - 1));
}

void SingleMIBTree::setCol(std::int32_t Index) { Tree.setCol(std::clamp(Index, 0, std::max(Tree.getCols() - 1, 0))); }

void SingleMIBTree::SelectAll() { Tree.Select(0, 0, Tree.getRows() - 1, Tree.getCols() - 1); }

std::string SingleMIBTree::GetOIDDetails(const OID& oid) { return composeDetails(oid, DetailsLayout::ShortTree, false); }

std::string SingleMIBTree::GetOIDDetails_RTF(const OID& oid) {
    return composeDetails(oid, DetailsLayout::ShortTree, true);
}

std::string SingleMIBTree::GetOIDDetails_MIBX(const std::string&) {
    DetailsPreload.Clear();
    return {};
}

std::string SingleMIBTree::loadingCaption() const { return "Loading '" + module_ + "' ... "; }

void SingleMIBTree::Refresh() {
    if (busy_) return;  // re-entered from the window events it lets run
    busy_ = true;
    StatusMessage.setCaption(loadingCaption());
    StatusMessage.setVisible(true);
    Details.Clear();
    toolkit().DoEvents();
    Tree.setRedraw(ui::RedrawNone);
    IgnoringErrors([&] {
        ReadBatch batch(SharedDatabase());
        loadRootNodes();
        std::vector<std::string> objects;
        IgnoringErrors([&] {
            auto query = SharedDatabase().query(Query::TreeByModule);
            query.bind(1, module_);
            while (query.step()) objects.emplace_back(TrimBlanks(query.textView(TREE_OID)));
        });
        // In OID order each node, when its turn comes, adds its children in
        // the order of their numbers, and a later object finds its parent.
        std::sort(objects.begin(), objects.end(), oidBefore);
        for (const auto& oid : objects) {
            ExpandOID(oid, 0);
            StatusMessage.setCaption(loadingCaption() + std::to_string(Tree.getRows()));
        }
        Tree.AutoSize(0, Tree.getCols() - 1);
        Tree.setTopRow(Tree.getFixedRows());
    });
    Tree.setRedraw(ui::RedrawBuffered);
    StatusMessage.setVisible(false);
    busy_ = false;
    currentRowChanged();
}

void SingleMIBTree::ExpandOID(const std::string& oid, std::int32_t Index) { expandNode(oid, Index, false); }

void SingleMIBTree::dressNode(std::int32_t row, const TreeNodeRecord& record) {
    // An entry's syntax is named after it; ancestors from other modules are grey.
    const bool tableRow = EqualsNoCase(record.type, record.name);
    const auto folder = OIDinMIB(record.oid) ? "folder-closed" : "folder-gray";
    Tree.setCellPicture(row, 0, nodePicture(record.oid, record.type, tableRow, folder));
}

bool SingleMIBTree::OIDinMIB(const std::string& oid) {
    auto query = SharedDatabase().query(Query::TreeOIDInModule);
    query.bind(1, module_).bind(2, oid);
    return query.step();
}

std::shared_ptr<OID> SingleMIBTree::LookupOID(std::int32_t Row) {
    auto object = std::make_shared<OID>();
    object->setFullName(GetOIDbyRow(Row));
    return object;
}

std::string SingleMIBTree::GetOIDbyRow(std::int32_t Row) {
    const auto& key = Tree.getRowKey(Row);
    return key.size() > 2 ? key.substr(2) : std::string();
}

void SingleMIBTree::DeleteOID(const std::string& oid) {
    auto query = SharedDatabase().query(Query::TreeDeleteModuleOID);
    query.bind(1, module_).bind(2, oid);
    query.run();
}

void SingleMIBTree::DeleteSelectedMIBs() {
    const auto s = Tree.GetSelection();
    if (s.row1 < 0) return;
    Transaction transaction(SharedDatabase());
    for (auto row = s.row1; row <= s.row2; ++row) DeleteOID(GetOIDbyRow(row));
    transaction.commit();
}

void SingleMIBTree::SearchMIBTree() { openSearchWindow(nullptr, false); }

void SingleMIBTree::showCurrentRow(const std::string& key) {
    const auto selected = getSelectedOID();
    selected->setOID(GetOIDbyRow(Tree.getRow()));
    markCurrentCell();
    if (!key.starts_with("O:")) {
        GetOIDDetails_MIBX(key);
        showComposition();
        return;
    }
    showDetails(*selected, DetailsLayout::ShortTree);
    SelectionChanged(*selected);
}

}  // namespace qlmib
