#include "MIBXTree.h"

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/CommonFunctions.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OID.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/ui/MessageBox.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {
namespace {

TreeControl::Style mibxStyle() {
    TreeControl::Style style;
    style.pictures = {"table", "trap", "folder-closed", "key", "leaf", "folder-open", "arrow", "folder-gray"};
    style.rootPicture = "folder-gray";
    style.dragging = false;
    style.dialect = SelectionDialect::MIBXTree;
    return style;
}

}  // namespace

MIBXTree::MIBXTree(ui::Toolkit& toolkit) : TreeControl(toolkit, "MIBXTree", mibxStyle()) {}

void MIBXTree::setMIBXFilename(const std::string& Filename) {
    filename_ = Filename;
    Refresh();
}

std::string MIBXTree::GetOIDDetails(const OID& oid) { return composeDetails(oid, DetailsLayout::ShortTree, false); }

std::string MIBXTree::GetOIDDetails_RTF(const OID& oid) { return composeDetails(oid, DetailsLayout::ShortTree, true); }

std::string MIBXTree::GetOIDDetails_MIBX(const std::string&) {
    return composeMIBXDetails() ? DetailsPreload.getTextRTF() : std::string();
}

void MIBXTree::Refresh() {
    busy_ = true;
    Details.Clear();
    Tree.setRedraw(ui::RedrawNone);
    IgnoringErrors([&] {
        ReadBatch batch(SharedDatabase());
        loadRootNodes();
        for (const char* oid : {"1", "1.3", "1.3.6"}) ExpandOID(oid);
        Tree.Outline(4);
    });
    IgnoringErrors([&] { loadMIBXFile(); });
    Tree.setRedraw(ui::RedrawBuffered);
    busy_ = false;
    currentRowChanged();
}

void MIBXTree::ExpandOID(const std::string& oid) {
    IgnoringErrors([&] {
        std::vector<TreeNodeRecord> children;
        auto query = SharedDatabase().query(Query::TreeChildren);
        query.bind(1, oid);
        while (query.step()) children.push_back(TreeNodeRecord::FromTreeRow(query));
        addChildren(oid, children);
    });
}

std::int32_t MIBXTree::FindNodeIndex(const std::string& oid) {
    for (const char* prefix : {"O:", "F:"}) {
        const auto row = Tree.FindRow(prefix + oid);
        if (row >= 0) return row;
    }
    const auto dot = oid.rfind('.');
    if (dot == std::string::npos) return -1;
    const auto parent = oid.substr(0, dot);
    if (FindNodeIndex(parent) < 0) return -1;
    IgnoringErrors([&] {
        auto query = SharedDatabase().query(Query::TreeByOID);
        query.bind(1, oid);
        if (query.step()) AddOIDNode("O:" + parent, TreeNodeRecord::FromTreeRow(query));
    });
    return Tree.FindRow("O:" + oid);
}

bool MIBXTree::placeMIBXNode(const std::string& name, const std::string& oid, const std::string& syntax) {
    const auto dot = oid.rfind('.');
    const auto lastArc = dot == std::string::npos ? oid : oid.substr(dot + 1);
    const auto parent = dot == std::string::npos ? std::string() : oid.substr(0, dot);
    bool placed = false;
    IgnoringErrors([&] {
        // The batch ends before a message box waits for the user.
        ReadBatch batch(SharedDatabase());
        const auto parentRow = FindNodeIndex(parent);
        if (parentRow < 0) return;
        placed = true;
        const auto row = addNode(parentRow, name + " (" + lastArc + ")", "F:" + oid, oid);
        Tree.setCellPicture(row, 0, nodePicture(oid, syntax, EqualsNoCase(syntax, name), "folder-closed"));
    });
    return placed;
}

void MIBXTree::AddMIBXNode(const std::string& name, const std::string& oid, const std::string& syntax) {
    if (!placeMIBXNode(name, oid, syntax)) reportUnplaced({name + " (" + oid + ")"});
}

void MIBXTree::reportUnplaced(const std::vector<std::string>& objects) {
    if (objects.empty()) return;
    std::string text = "Cannot load tree for ";
    for (const auto& object : objects) {
        if (&object != &objects.front()) text += "\r\n";
        text += object;
    }
    message(text);
}

void MIBXTree::SearchMIBTree() { openSearchWindow(nullptr, false); }

void MIBXTree::message(const std::string& text) { toolkit().MsgBox(text, ui::MsgBoxExclamation); }

void MIBXTree::loadMIBXFile() {
    module_.clear();
    if (!file_.Load(filename_) || !file_.CheckModule()) {
        message(file_.Message());
        return;
    }
    module_ = file_.getModuleName();
    // Objects that cannot be placed are left out, the rest still loads, and
    // they are named together in one message: a file against a database
    // without its ancestors would otherwise ask the user once per object.
    std::vector<std::string> unplaced;
    for (const auto object : file_.getTree().children()) {
        if (!file_.CheckTreeObject(object)) {
            reportUnplaced(unplaced);
            message(file_.Message());
            return;
        }
        const std::string name(object.name());
        const auto oid = object.select("OID").trimmedText();
        if (!placeMIBXNode(name, oid, object.select("SYNTAX").trimmedText()))
            unplaced.push_back(name + " (" + oid + ")");
    }
    reportUnplaced(unplaced);
}

void MIBXTree::dressNode(std::int32_t row, const TreeNodeRecord& record) {
    const bool tableRow = EqualsNoCase(record.type, record.name);
    Tree.setCellPicture(row, 0, nodePicture(record.oid, record.type, tableRow, "folder-gray"));
}

std::string MIBXTree::currentDescriptor() const {
    const auto& node = Tree.getTextMatrix(Tree.getRow(), 0);
    return std::string(TrimBlanks(std::string_view(node).substr(0, node.find('('))));
}

bool MIBXTree::composeMIBXDetails() {
    DetailsPreload.Clear();
    const auto descriptor = currentDescriptor();
    const auto object = descriptor.empty() ? MIBXNode() : file_.select("MIBX/TREE/" + descriptor);
    if (!object) return false;
    AddRun(DetailsPreload, module_ + ":" + descriptor + "\r\n\r\n", kTreeTitleStyle);
    // The texts as the file holds them: access and status are not translated.
    for (const auto& [label, child] : {std::pair{"Value", "VALUE"}, std::pair{"OID", "OID"},
                                       std::pair{"Type", "SYNTAX"}, std::pair{"Access", "ACCESS"},
                                       std::pair{"Status", "STATUS"}})
        AddLabelLine(DetailsPreload, label, object.select(child).trimmedText(), kTreeLabelStyle);
    AddRun(DetailsPreload, "\r\n" + object.select("DESCRIPTION").trimmedText() + "\r\n\r\n", kValueStyle);
    AddRun(DetailsPreload, "From " + filename_ + "\r\n\r\n", kValueStyle);
    return true;
}

void MIBXTree::showCurrentRow(const std::string& key) {
    if (key.starts_with("O:")) {
        const auto selected = getSelectedOID();
        selected->setOID(key.substr(2));
        markCurrentCell();
        showDetails(*selected, DetailsLayout::ShortTree);
        SelectionChanged(*selected);
        return;
    }
    // A file node: SelectedOID keeps the database object selected last.
    markCurrentCell();
    composeMIBXDetails();
    showComposition();
}

std::string MIBXTree::printTitle() {
    if (Tree.getRowKey(Tree.getRow()).starts_with("F:")) return module_ + ":" + currentDescriptor();
    return TreeControl::printTitle();
}

}  // namespace qlmib
