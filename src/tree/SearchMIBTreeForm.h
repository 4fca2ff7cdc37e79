#pragma once
// The search window: finds OIDs in the MIB database by OID, by name pattern
// or by keywords in the descriptions (optionally only in modules matching a
// pattern), shows the details of the hit under the cursor and can make the
// hit current in the tree that opened it. "*" in a pattern is any text.
// Thread affinity: the thread of its toolkit.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "qlmib/tree/OIDDetails.h"
#include "qlmib/ui/Button.h"
#include "qlmib/ui/Label.h"
#include "qlmib/ui/ListBox.h"
#include "qlmib/ui/Panel.h"
#include "qlmib/ui/Splitter.h"
#include "qlmib/ui/TabStrip.h"
#include "qlmib/ui/TextBox.h"
#include "qlmib/ui/Window.h"

namespace qlmib {

class MIBTreeCommon;
class Statement;

// The tabs, which are the search modes.
enum SearchTab : std::int32_t {
    SearchByOID = 0,
    SearchByName = 1,
    SearchDescriptions = 2,
};

// Each run of blanks and TABs as one blank.
std::string CollapseWhitespace(std::string_view text);
// The OID of a hit line: the text after its last TAB, without blanks around it.
std::string HitLineOID(std::string_view line);

class SearchMIBTreeForm : public ui::Window {
public:
    explicit SearchMIBTreeForm(ui::Toolkit& toolkit);
    ~SearchMIBTreeForm() override;

    // The one search window the tree controls of a toolkit share: created on
    // first use, kept until it is closed, then created afresh.
    static std::shared_ptr<SearchMIBTreeForm> Shared(ui::Toolkit& toolkit);

    // Remembers the tree (nullptr: none; "Show in MIB Tree" is then disabled)
    // and shows the window.
    void Search(MIBTreeCommon* Tree, bool Modal);
    // `Tree` is going away; if the window drives it, it stays without one.
    void ReleaseTree(const MIBTreeCommon* Tree);
    // Hits of the last search, up to the search limit.
    std::int16_t HitCount() const { return hits_; }

    // Child components, by their designer names.
    ui::TabStrip Tabs{"Tabs"};
    ui::Label Label1{"Label1"};
    ui::TextBox TargetOID{"TargetOID"};
    ui::Label Label2{"Label2"};
    ui::TextBox TargetName{"TargetName"};
    ui::Label Label4{"Label4"};
    ui::TextBox TargetMIBs{"TargetMIBs"};
    ui::Label Label3{"Label3"};
    ui::TextBox TargetKeywords{"TargetKeywords"};
    ui::Button Search_Button{"Search_Button"};
    ui::ListBox OIDList{"OIDList"};  // MIB TAB name TAB OID per hit
    ui::Splitter Splitter{"Splitter"};  // "Pane A" the list, "Pane B" the details
    ui::Panel OIDDetailsPanel{"OIDDetailsPanel"};
    qlmib::OIDDetails OIDDetails;
    ui::Button Show_Button{"Show_Button"};
    ui::Button Copy_Button{"Copy_Button"};
    ui::Button Print_Button{"Print_Button"};
    ui::Button Done_Button{"Done_Button"};

private:
    void runSearch();
    bool queryByName();
    bool queryDescriptions();
    void listHits(Statement& query);
    void showHit();
    void showInTree();
    void tabChanged();
    void arrange();

    MIBTreeCommon* tree_ = nullptr;
    std::int16_t hits_ = 0;
    std::vector<Subscription> subscriptions_;
};

}  // namespace qlmib
