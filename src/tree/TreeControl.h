#pragma once
// What the tree controls (MIBTree, SingleMIBTree, MIBXTree) share: an
// outline grid of OID nodes above a details pane, node pictures and custom
// icons, the marking of the current row, keyboard, mouse and drag handling,
// the details pane's menu and the splitter that remembers the pane's height.
// Each control decides how its nodes are loaded, which picture a node gets
// and what its current row shows. Thread affinity: the thread of its toolkit.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qlmib/tree/Details.h"
#include "qlmib/tree/MIBSelectionType.h"
#include "qlmib/tree/MIBTreeEvents.h"
#include "qlmib/tree/Selection.h"
#include "qlmib/ui/GridModel.h"
#include "qlmib/ui/GridView.h"
#include "qlmib/ui/ImageList.h"
#include "qlmib/ui/Menu.h"
#include "qlmib/ui/RichTextDocument.h"
#include "qlmib/ui/RichTextView.h"
#include "qlmib/ui/Splitter.h"
#include "qlmib/ui/Widget.h"

namespace qlmib {

class MIBTreeCommon;
class OID;
class SearchMIBTreeForm;
class Statement;
namespace ui {
class Toolkit;
}

// What LookupIcon answers for an OID without a usable custom icon.
inline constexpr std::string_view kNoIcon = "Unknown";

// Heights of the "Details" pane that DetailsVisible sets, in twips.
inline constexpr std::int32_t kDetailsShownHeight = 1900;
inline constexpr std::int32_t kDetailsHiddenHeight = 35;

// One node as the Tree table describes it.
struct TreeNodeRecord {
    std::string name, index, oid, type;

    // From a row of TreePrimaryChildren or TreePrimaryChild.
    static TreeNodeRecord FromChildRow(const Statement& row);
    // From a row of the Tree columns.
    static TreeNodeRecord FromTreeRow(const Statement& row);
};

// The picture of a node by its type text: "table" for "SEQUENCE", "key" for
// a table row, "trap" for "TRAP" in any case (when the control shows traps),
// "leaf" for any other type, and `folder` for a node without one.
std::string_view KindPicture(std::string_view type, bool tableRow, bool traps, std::string_view folder);

class TreeControl : public ui::Widget, public virtual MIBTreeEvents {
public:
    // What sets one control apart from the others.
    struct Style {
        std::vector<std::string_view> pictures;  // the stock pictures of Images
        std::string_view rootPicture;            // of "ccitt (0)" and "iso (1)"
        bool traps = true;                       // "trap" pictures for TRAP types
        bool detailsMenu = true;                 // a right click on the details opens DetailsPopup
        bool dragging = true;                    // the selection can be dragged as text
        SelectionDialect dialect = SelectionDialect::Tree;
    };

    ~TreeControl() override;

    // The object of the current row, created on first use.
    std::shared_ptr<OID> getSelectedOID();
    // Whether the OID column is shown.
    bool getOIDsVisible() const;
    void setOIDsVisible(bool Setting);
    // Opens (kDetailsShownHeight) or collapses (kDetailsHiddenHeight) the details pane.
    void setDetailsVisible(bool State);
    // The rich text the details pane shows now.
    std::string getCurrentOIDDetailsRTF() const;
    // Opens a new details window showing the OID without values.
    void PopupOIDDetails(const std::string& oid);
    // The image key of the OID's custom icon, read from the Icons table once
    // and kept in Images; kNoIcon when it has none or its bytes are no picture.
    std::string LookupIcon(const std::string& Key);
    // Empties the details pane and the composition box and removes every row,
    // the header row included.
    void Clear();

    // Child components, by their designer names.
    ui::GridModel Tree;                      // column 0 the node text, column 1 its OID
    ui::RichTextDocument Details;            // the current row's details
    ui::RichTextDocument DetailsPreload;     // where details are composed
    ui::Splitter Splitter{"Splitter"};       // panes "Tree" above "Details"
    ui::ImageList Images;                    // stock pictures, then custom icons keyed by OID
    ui::Menu DetailsPopup{"DetailsPopup"};   // "&Copy" (CopyDetailsPopup), "&Print ..." (PrintPopup)

    // The views of Tree and Details, for a toolkit to show.
    ui::GridView& TreeView() { return treeView_; }
    ui::RichTextView& DetailsView() { return detailsView_; }

protected:
    TreeControl(ui::Toolkit& toolkit, std::string name, Style style);

    ui::Toolkit& toolkit() const { return toolkit_; }

    // The grid reset to its header row and layout, with the two roots.
    void loadRootNodes();
    // Adds a node as the last child of `parentRow`: its text, key and OID.
    std::int32_t addNode(std::int32_t parentRow, const std::string& text, const std::string& key,
                         const std::string& oid);
    // Adds a database node under the row keyed `parentKey`; dressNode gives
    // it its picture. Raises Error when there is no such row.
    std::int32_t AddOIDNode(const std::string& parentKey, const TreeNodeRecord& record);
    // Adds each record not in the grid yet under the node of `parentOID`,
    // which then loses its placeholder.
    void addChildren(const std::string& parentOID, const std::vector<TreeNodeRecord>& records);
    // Reads the rows of a query that yields TreeNodeRecord::FromChildRow columns.
    static std::vector<TreeNodeRecord> readChildRows(Statement& query);
    // The custom icon of the OID, else KindPicture.
    std::string nodePicture(const std::string& oid, std::string_view type, bool tableRow, std::string_view folder);

    // Bold on the current cell instead of the one marked before; the
    // selection highlighted when it spans more than that cell.
    void markCurrentCell();
    // Details composed in DetailsPreload and read out as plain text or RTF.
    std::string composeDetails(const OID& oid, DetailsLayout layout, bool rtf);
    // The composition shown in the details pane.
    void showComposition();
    void showDetails(const OID& oid, DetailsLayout layout);
    // Runs the current-row handling unless the control is busy loading.
    void currentRowChanged();
    // Shows the shared search window on `tree` (nullptr: none); the window
    // forgets the tree when this control goes.
    void openSearchWindow(MIBTreeCommon* tree, bool modal);
    std::string selectionText(MIBSelectionType type) const;

    // What the current row shows; errors end it quietly.
    virtual void showCurrentRow(const std::string& key) = 0;
    // The picture, placeholder and state of a database node just added.
    virtual void dressNode(std::int32_t row, const TreeNodeRecord& record) = 0;
    // Loads the children of a node that is being opened; the controls that
    // load everything at once have nothing to do.
    virtual void loadChildren(std::int32_t /*row*/) {}
    // The title of a printed details pane.
    virtual std::string printTitle();

    bool busy_ = false;  // while set, the current row shows nothing
    MIBSelectionType dragMethod_ = MIBSelection_Text;

private:
    void layoutGrid();
    void onKeyPress(std::int16_t& keyAscii);
    void onDoubleClick();
    void onMouseDown(std::int16_t& button, std::int16_t& shift, float& x, float& y);
    void onOpening(std::int32_t row, std::int16_t state);
    void onResize();
    void startDrag();
    void toggleCurrentNode();

    ui::Toolkit& toolkit_;
    Style style_;
    ui::GridView treeView_;
    ui::RichTextView detailsView_;
    std::shared_ptr<OID> selected_;
    std::string boldKey_;  // by key: rows move when nodes above them load
    std::int32_t boldCol_ = -1;
    std::int32_t detailsHeight_ = kDetailsShownHeight;
    bool resizing_ = false;
    // The shared search window as this control last opened it, so that it
    // can let go of this control when it goes.
    std::weak_ptr<SearchMIBTreeForm> search_;
    const MIBTreeCommon* searchTree_ = nullptr;
    std::vector<Subscription> subscriptions_;
};

}  // namespace qlmib
