#pragma once
// The module list control: the MIB modules in the MIB database with the time
// each was imported, the particulars of the module under the cursor, and
// deletion of modules. The list loads on Refresh and stays as it is until the
// next Refresh, deletions included. Thread affinity: the thread of its toolkit.

#include <cstdint>
#include <string>
#include <vector>

#include "qlmib/common/Event.h"
#include "qlmib/ui/GridModel.h"
#include "qlmib/ui/GridView.h"
#include "qlmib/ui/RichTextDocument.h"
#include "qlmib/ui/RichTextView.h"
#include "qlmib/ui/Splitter.h"
#include "qlmib/ui/Widget.h"

namespace qlmib {

namespace ui {
class Toolkit;
}

class ManageMIBs : public ui::Widget {
public:
    explicit ManageMIBs(ui::Toolkit& toolkit, std::string name = "ManageMIBs");
    ~ManageMIBs() override;

    // The grid's current row: 1 is the first module, 0 the header row. A row
    // the grid refuses is ignored.
    std::int32_t getRow() const { return MIBList.getRow(); }
    void setRow(std::int32_t row);
    std::int32_t getMIBCount() const { return MIBList.getRows() - MIBList.getFixedRows(); }
    // Objects of every module in the database; the details show one module's.
    std::int32_t getOIDCount() const;
    // The selected cells: TAB between the cells of a row, CR LF between rows.
    std::string getSelection() const;
    // The grid, for hosts that reach its own properties.
    ui::GridModel& getTableObject() { return MIBList; }
    // The module of the current row; empty on the header row.
    std::string getSelectedMIB() const;

    // Reloads the list; the details follow the next change of the current row.
    void Refresh();
    // Deletes the module's objects and its row, in one transaction, without
    // asking. Its enumerations stay: they are keyed by object name, which
    // other modules may share. The list is left as it is.
    void DeleteMIB(const std::string& MIB);
    // DeleteMIB for every module row of the selection, in one transaction.
    void DeleteSelectedMIBs();

    // Raised when the grid raises the like event, with its arguments.
    Event<std::int16_t& /*KeyAscii*/> KeyPress;
    Event<std::int16_t& /*Button*/, std::int16_t& /*Shift*/, float& /*X*/, float& /*Y*/> MouseDown;
    Event<> DblClick;

    // Child components, by their designer names.
    ui::GridModel MIBList;
    ui::RichTextDocument MIBDetails;  // read-only to the user
    ui::Splitter Splitter;            // panes "MIBList" above "MIBDetails"

private:
    void FormatGrid();
    void ShowMIBDetails();
    void layout();
    void beforeSort(std::int32_t col, std::int16_t& order);
    void compare(std::int32_t row1, std::int32_t row2, std::int16_t& cmp) const;

    ui::Toolkit& toolkit_;
    ui::GridView listView_;
    ui::RichTextView detailsView_;
    std::int32_t sortCol_ = -1;
    std::int16_t direction_ = 0;  // of the last sort; the date order: -1 oldest first, +1 newest first
    bool busy_ = false;           // inside a grid operation: the details wait for its end
    std::vector<Subscription> subscriptions_;
};

}  // namespace qlmib
