#pragma once
// The MIB-X tree control: the objects of one MIB-X file as a tree, without
// importing them. The upper part of the OID tree comes from the MIB database
// (grey folders, keyed "O:" + OID); each object of the file hangs under its
// parent, an earlier object of the file or a database node, keyed "F:" + OID.
// Every node shows open. Details of a file node come straight from the file.
// File problems are shown in message boxes. Thread affinity: the thread of
// its toolkit.

#include <cstdint>
#include <string>
#include <vector>

#include "qlmib/mibx/MIBXFile.h"
#include "qlmib/tree/TreeControl.h"

namespace qlmib {

class MIBXTree : public TreeControl {
public:
    explicit MIBXTree(ui::Toolkit& toolkit);

    const std::string& getMIBXFilename() const { return filename_; }
    // Stores the path and loads the file's tree.
    void setMIBXFilename(const std::string& Filename);
    // Accepted and ignored: the tree always reads the shared MIB database.
    void setDatabase(const std::string& /*Database*/) {}
    const std::string& getModuleName() const { return module_; }

    // The selection as text; names come from the database.
    std::string getSelection(MIBSelectionType SelectionType = MIBSelection_Text) const {
        return selectionText(SelectionType);
    }
    // The short tree details of a database object.
    std::string GetOIDDetails(const OID& oid);
    std::string GetOIDDetails_RTF(const OID& oid);
    // The current row's object as the file describes it, as rich text; ""
    // when the file has no object of the row's name. `oid` is not used.
    std::string GetOIDDetails_MIBX(const std::string& oid);

    // Rebuilds the tree: the database's upper levels, then the file's objects.
    void Refresh();
    // Adds the database children of the OID's node (all rows, primary or not).
    void ExpandOID(const std::string& oid);
    // The row of the OID, a database node added with its missing ancestors
    // when need be; -1 when neither the grid nor the database has it.
    std::int32_t FindNodeIndex(const std::string& oid);
    // Adds an object of the file under its parent's row, or says that it cannot.
    void AddMIBXNode(const std::string& name, const std::string& oid, const std::string& syntax);
    // Shows the shared search window without a tree.
    void SearchMIBTree();

private:
    void loadMIBXFile();
    // Adds an object of the file under its parent's row; false when neither
    // the grid nor the database has the parent.
    bool placeMIBXNode(const std::string& name, const std::string& oid, const std::string& syntax);
    // One message naming every object ("name (OID)") that could not be placed.
    void reportUnplaced(const std::vector<std::string>& objects);
    bool composeMIBXDetails();
    void showCurrentRow(const std::string& key) override;
    void dressNode(std::int32_t row, const TreeNodeRecord& record) override;
    std::string printTitle() override;
    std::string currentDescriptor() const;
    void message(const std::string& text);

    std::string filename_, module_;
    MIBXFile file_;
};

}  // namespace qlmib
