#include "TreeControl.h"

#include <algorithm>

#include "OIDDetailsForm.h"
#include "PrintDetails.h"
#include "SearchMIBTreeForm.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"
#include "qlmib/mibdata/Globals.h"
#include "qlmib/mibdata/OID.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/ui/ImageFormat.h"
#include "qlmib/ui/RichTextCopy.h"
#include "qlmib/ui/Toolkit.h"

namespace qlmib {
namespace {

constexpr std::int32_t kNameColumnLetters = 34;
constexpr std::int32_t kOIDColumnLetters = 23;
constexpr std::int32_t kTreePaneHeight = 3000;

}  // namespace

TreeNodeRecord TreeNodeRecord::FromChildRow(const Statement& row) {
    return {row.text(0), row.text(1), row.text(2), row.text(3)};
}

TreeNodeRecord TreeNodeRecord::FromTreeRow(const Statement& row) {
    return {row.text(TREE_NAME), row.text(TREE_INDEX), row.text(TREE_OID), row.text(TREE_TYPES)};
}

std::string_view KindPicture(std::string_view type, bool tableRow, bool traps, std::string_view folder) {
    if (type == "SEQUENCE") return "table";
    if (tableRow) return "key";
    if (traps && EqualsNoCase(type, "TRAP")) return "trap";
    if (!type.empty()) return "leaf";
    return folder;
}

TreeControl::TreeControl(ui::Toolkit& toolkit, std::string name, Style style)
    : ui::Widget(ui::WidgetKind::Container, std::move(name)),
      toolkit_(toolkit),
      style_(std::move(style)),
      treeView_(Tree, "Tree"),
      detailsView_(Details, "Details") {
    OpenDatabase();
    for (const auto picture : style_.pictures) Images.Add(picture, ui::Picture::Stock(picture));
    treeView_.setImages(&Images);
    Tree.setFontMetrics(toolkit_.fontMetrics());
    Tree.setOutlineBar(ui::OutlineBarComplete);
    Tree.setCols(2);
    Tree.setFixedRows(1);
    Tree.setColHidden(1, true);
    Details.setLocked(true);
    DetailsPopup.Add("&Copy", "CopyDetailsPopup");
    DetailsPopup.Add("&Print ...", "PrintPopup");
    Splitter.setParent(this);
    Splitter.AddPane("Tree", &treeView_, kTreePaneHeight);
    Splitter.AddPane("Details", &detailsView_, detailsHeight_);

    subscriptions_.push_back(Tree.AfterRowColChange.subscribe([this](auto...) { currentRowChanged(); }));
    subscriptions_.push_back(Tree.BeforeCollapse.subscribe(
        [this](std::int32_t row, std::int16_t state, bool&) { onOpening(row, state); }));
    subscriptions_.push_back(Tree.DblClick.subscribe([this] { onDoubleClick(); }));
    subscriptions_.push_back(Tree.KeyPress.subscribe([this](std::int16_t& key) { onKeyPress(key); }));
    subscriptions_.push_back(Tree.MouseDown.subscribe(
        [this](std::int16_t& button, std::int16_t& shift, float& x, float& y) { onMouseDown(button, shift, x, y); }));
    // The pane shows details; typing changes nothing, Ctrl+A, Ctrl+B and Ctrl+C still work.
    subscriptions_.push_back(Details.KeyPress.subscribe([](std::int16_t& key) {
        if (key > ui::AsciiCtrlC) key = 0;
    }));
    subscriptions_.push_back(Details.MouseDown.subscribe([this](std::int16_t& button, auto&...) {
        if (button == ui::RightButton && style_.detailsMenu) toolkit_.PopupMenu(DetailsPopup);
    }));
    subscriptions_.push_back(DetailsPopup.Click.subscribe([this](const std::string& key) {
        if (key == "CopyDetailsPopup") ui::CopyRichText(toolkit_.clipboard(), Details);
        else if (key == "PrintPopup") PrintDetails(toolkit_, Details.getTextRTF(), printTitle());
    }));
    subscriptions_.push_back(Splitter.PanesResized.subscribe([this] {
        if (!resizing_) detailsHeight_ = Splitter.getPaneSize("Details");
    }));
    subscriptions_.push_back(Resize.subscribe([this] { onResize(); }));
}

TreeControl::~TreeControl() {
    if (const auto form = search_.lock()) form->ReleaseTree(searchTree_);
}

std::shared_ptr<OID> TreeControl::getSelectedOID() {
    if (!selected_) selected_ = std::make_shared<OID>();
    return selected_;
}

bool TreeControl::getOIDsVisible() const { return !Tree.getColHidden(1); }

void TreeControl::setOIDsVisible(bool Setting) { Tree.setColHidden(1, !Setting); }

void TreeControl::setDetailsVisible(bool State) {
    Splitter.setPaneSize("Details", State ? kDetailsShownHeight : kDetailsHiddenHeight);
}

std::string TreeControl::getCurrentOIDDetailsRTF() const { return Details.getTextRTF(); }

void TreeControl::PopupOIDDetails(const std::string& oid) { OIDDetailsForm::Open(toolkit_).ShowOIDDetails(oid); }

std::string TreeControl::LookupIcon(const std::string& Key) {
    std::string found(kNoIcon);
    IgnoringErrors([&] {
        if (Images.Exists(Key)) {
            found = Key;
            return;
        }
        auto icon = SharedDatabase().query(Query::IconPictureByOID);
        icon.bind(1, Key);
        if (!icon.step()) return;
        auto bytes = icon.blob(0);
        // Bytes that make no picture leave the node its standard one.
        if (ui::ReadImageHeader(bytes).format == ui::ImageFormat::None) return;
        Images.Add(Key, ui::Picture::FromBytes(std::move(bytes)));
        found = Key;
    });
    return found;
}

void TreeControl::Clear() {
    Details.Clear();
    DetailsPreload.Clear();
    Tree.setRows(0);
    boldKey_.clear();
}

void TreeControl::layoutGrid() {
    Tree.setFontName("Arial");
    const auto& metrics = toolkit_.fontMetrics();
    Tree.setColWidth(0, metrics.TextWidth(std::string(kNameColumnLetters, 'X'), Tree.getFont()));
    Tree.setColWidth(1, metrics.TextWidth(std::string(kOIDColumnLetters, 'X'), Tree.getFont()));
    Tree.setFixedAlignment(0, ui::AlignCenterCenter);
    Tree.setHighLight(ui::HighLightNever);
    Tree.setFocusRect(ui::FocusRectHeavy);
}

void TreeControl::loadRootNodes() {
    Tree.setRows(0);
    boldKey_.clear();
    layoutGrid();
    Tree.AddItem("Name\tOID");
    for (const auto& [text, oid] : {std::pair{"ccitt (0)", "0"}, std::pair{"iso (1)", "1"}}) {
        const auto row = addNode(-1, text, std::string("O:") + oid, oid);
        Tree.setCellPicture(row, 0, style_.rootPicture);
    }
}

std::int32_t TreeControl::addNode(std::int32_t parentRow, const std::string& text, const std::string& key,
                                  const std::string& oid) {
    const auto row = Tree.AddNode(parentRow, text, key);
    Tree.setTextMatrix(row, 1, oid);
    return row;
}

std::int32_t TreeControl::AddOIDNode(const std::string& parentKey, const TreeNodeRecord& record) {
    const auto parent = Tree.FindRow(parentKey);
    if (parent < 0) throw Error(ERR_INVALID_CALL, "The tree has no node " + parentKey);
    const auto row = addNode(parent, record.name + " (" + record.index + ")", "O:" + record.oid, record.oid);
    dressNode(row, record);
    return row;
}

void TreeControl::addChildren(const std::string& parentOID, const std::vector<TreeNodeRecord>& records) {
    // The children are known now, even when there are none: the placeholder goes.
    IgnoringErrors([&] {
        const auto placeholder = Tree.FindRow("X:O:" + parentOID);
        if (placeholder >= 0) Tree.RemoveItem(placeholder);
    });
    const auto parentKey = "O:" + parentOID;
    for (const auto& record : records) {
        IgnoringErrors([&] {
            if (Tree.FindRow("O:" + record.oid) < 0) AddOIDNode(parentKey, record);
        });
    }
}

std::vector<TreeNodeRecord> TreeControl::readChildRows(Statement& query) {
    std::vector<TreeNodeRecord> records;
    while (query.step()) records.push_back(TreeNodeRecord::FromChildRow(query));
    return records;
}

std::string TreeControl::nodePicture(const std::string& oid, std::string_view type, bool tableRow,
                                     std::string_view folder) {
    auto icon = LookupIcon(oid);
    if (icon != kNoIcon) return icon;
    return std::string(KindPicture(type, tableRow, style_.traps, folder));
}

void TreeControl::markCurrentCell() {
    IgnoringErrors([&] {
        const auto previous = Tree.FindRow(boldKey_);
        if (previous >= 0) Tree.setCellFontBold(previous, boldCol_, false);
    });
    const auto row = Tree.getRow(), col = Tree.getCol();
    Tree.setCellFontBold(row, col, true);
    boldKey_ = Tree.getRowKey(row);
    boldCol_ = col;
    // A selection of several cells shows highlighted; the current cell alone
    // shows its frame, its bold text marking the node.
    const auto s = Tree.GetSelection();
    const bool oneCell = s.row1 == s.row2 && s.col1 == s.col2;
    Tree.setHighLight(oneCell ? ui::HighLightNever : ui::HighLightAlways);
    Tree.setFocusRect(oneCell ? ui::FocusRectHeavy : ui::FocusRectNone);
}

std::string TreeControl::composeDetails(const OID& oid, DetailsLayout layout, bool rtf) {
    ComposeTreeDetails(DetailsPreload, oid, layout);
    return rtf ? DetailsPreload.getTextRTF() : DetailsPreload.getText();
}

void TreeControl::showComposition() { Details.setRuns(DetailsPreload.Runs()); }

void TreeControl::showDetails(const OID& oid, DetailsLayout layout) {
    ComposeTreeDetails(DetailsPreload, oid, layout);
    showComposition();
}

void TreeControl::currentRowChanged() {
    if (busy_) return;
    IgnoringErrors([&] { showCurrentRow(Tree.getRowKey(Tree.getRow())); });
}

void TreeControl::openSearchWindow(MIBTreeCommon* tree, bool modal) {
    const auto form = SearchMIBTreeForm::Shared(toolkit_);
    search_ = form;
    searchTree_ = tree;
    form->Search(tree, modal);
}

std::string TreeControl::selectionText(MIBSelectionType type) const {
    return Selection(Tree, type, style_.dialect);
}

std::string TreeControl::printTitle() { return getSelectedOID()->getFullName(); }

void TreeControl::toggleCurrentNode() {
    IgnoringErrors([&] {
        const auto row = Tree.getRow();
        if (Tree.HasChildren(row)) Tree.ToggleNode(row);
    });
}

void TreeControl::onKeyPress(std::int16_t& keyAscii) {
    KeyPress(keyAscii);
    if (keyAscii == ui::AsciiReturn || keyAscii == ui::AsciiSpace) {
        toggleCurrentNode();
        keyAscii = 0;
    }
}

void TreeControl::onDoubleClick() {
    IgnoringErrors([&] {
        if (Tree.HasChildren(Tree.getRow())) Tree.ToggleNode(Tree.getRow());
        else OIDDoubleClick(*getSelectedOID());
    });
}

void TreeControl::onMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y) {
    if (button == ui::RightButton) {
        // A host's context menu then applies to the clicked row, unless the
        // user has selected more than that.
        IgnoringErrors([&] {
            const auto row = Tree.getMouseRow(), col = Tree.getMouseCol();
            const bool withinCurrentRow = Tree.getRowSel() == Tree.getRow() && Tree.getColSel() >= Tree.getCol();
            if (withinCurrentRow && row >= Tree.getFixedRows() && row < Tree.getRows() && col >= 0 &&
                col < Tree.getCols())
                Tree.Select(row, col);
        });
    }
    MouseDown(button, shift, x, y);
    if (button == ui::LeftButton && style_.dragging) IgnoringErrors([&] { startDrag(); });
}

void TreeControl::startDrag() {
    const auto s = Tree.GetSelection();
    const auto row = Tree.getMouseRow(), col = Tree.getMouseCol();
    if (s.row1 < 0 || row < s.row1 || row > s.row2 || col < s.col1 || col > s.col2) return;
    const ui::DragData data{selectionText(dragMethod_), ui::DropEffectCopy, ui::PointerCustom};
    treeView_.setMousePointer(ui::PointerCustom);
    IgnoringErrors([&] { toolkit_.StartDrag(treeView_, data); });
    treeView_.setMousePointer(ui::PointerDefault);
}

void TreeControl::onOpening(std::int32_t row, std::int16_t state) {
    if (state != ui::OutlineExpanded) return;
    ui::BusyPointer busy(toolkit_);
    IgnoringErrors([&] {
        // Children load below the node, so its row stays where it is.
        loadChildren(row);
        Tree.ShowCell(row, std::max(Tree.getCol(), 0));
        Tree.setRow(row);
    });
}

void TreeControl::onResize() {
    // The splitter fills the control again; the details pane keeps the height
    // it had, whatever the splitter made of it meanwhile.
    resizing_ = true;
    IgnoringErrors([&] {
        Splitter.Move(0, 0, getWidth(), getHeight());
        Splitter.setPaneSize("Details", detailsHeight_);
    });
    resizing_ = false;
}

}  // namespace qlmib
