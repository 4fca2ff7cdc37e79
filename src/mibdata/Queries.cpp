#include "Queries.h"

#include <array>
#include <string>

namespace qlmib {
namespace {

// Case-insensitive comparison is spelt out so that a database whose columns
// were not declared NOCASE answers the same.
constexpr std::array<std::string_view, kQueryCount> kTexts = {
    // TreePrimaryByOID: where several modules define an OID, the row that speaks
    // for it comes first: the newest module by LAST-UPDATED (an SMIv1 module has
    // none and is stored with the zero date, so SMIv2 comes first), then the
    // module imported last.
    "SELECT $TREE FROM Tree WHERE OID = ?1 COLLATE NOCASE AND \"Primary\"<>0 "
    "ORDER BY (SELECT Max(MIBs.LastUpdated) FROM MIBs WHERE MIBs.Name = Tree.MIB COLLATE NOCASE) DESC, "
    "Tree.rowid DESC",
    // TreePrimaryAtOrBefore: one step back along the OID index
    "SELECT $TREE, (SELECT count(*) FROM Tree AS Same WHERE Same.OID = Tree.OID COLLATE NOCASE "
    "AND Same.\"Primary\"<>0) FROM Tree WHERE OID <= ?1 COLLATE NOCASE AND \"Primary\"<>0 "
    "ORDER BY OID COLLATE NOCASE DESC LIMIT 1",
    // TreePrimaryBelow: "/" follows "." in every collation, so the range holds exactly the OIDs below
    "SELECT 1 FROM Tree WHERE OID > ?1 COLLATE NOCASE AND OID < ?2 COLLATE NOCASE AND \"Primary\"<>0 LIMIT 1",
    // TreeFirstPrimaryByName
    "SELECT $TREE FROM Tree WHERE Name = ?1 COLLATE NOCASE AND \"Primary\"<>0 LIMIT 1",
    // TreeFirstByModuleName
    "SELECT $TREE FROM Tree WHERE MIB = ?1 COLLATE NOCASE AND Name = ?2 COLLATE NOCASE LIMIT 1",
    // TreeFirstByName
    "SELECT $TREE FROM Tree WHERE Name = ?1 COLLATE NOCASE LIMIT 1",
    // TreeByOID
    "SELECT $TREE FROM Tree WHERE OID = ?1 COLLATE NOCASE",
    // TreeByModuleName
    "SELECT $TREE FROM Tree WHERE MIB = ?1 COLLATE NOCASE AND Name = ?2 COLLATE NOCASE",
    // TreeByName
    "SELECT $TREE FROM Tree WHERE Name = ?1 COLLATE NOCASE",
    // TreeOIDByName
    "SELECT OID FROM Tree WHERE Name = ?1 COLLATE NOCASE LIMIT 1",
    // TreeOIDByNamePrefix: walks the Name index, so the first match ends it
    "SELECT OID FROM Tree WHERE Name LIKE ?1 ORDER BY Name LIMIT 1",
    // TreeByModule
    "SELECT $TREE FROM Tree WHERE MIB = ?1 COLLATE NOCASE",
    // TreeNamesByOIDs
    "SELECT OID, Name FROM Tree WHERE OID COLLATE NOCASE IN "
    "(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16) ORDER BY rowid",
    // TreeOIDInModule
    "SELECT OID FROM Tree WHERE MIB = ?1 COLLATE NOCASE AND OID = ?2 COLLATE NOCASE",
    // TreePrimaryChildren
    "SELECT DISTINCT Name, \"Index\", OID, TypeS FROM Tree "
    "WHERE \"Primary\"<>0 AND ParentOID = ?1 COLLATE NOCASE ORDER BY \"Index\"",
    // TreePrimaryChild
    "SELECT DISTINCT Name, \"Index\", OID, TypeS FROM Tree "
    "WHERE \"Primary\"<>0 AND ParentOID = ?1 COLLATE NOCASE AND \"Index\" = ?2 ORDER BY \"Index\"",
    // TreeChildren
    "SELECT $TREE FROM Tree WHERE ParentOID = ?1 COLLATE NOCASE ORDER BY \"Index\"",
    // TreeCount
    "SELECT Count(*) AS Total FROM Tree",
    // TreeSearchByName: built by searchText()
    "",
    // TreeCountByModule
    "SELECT Count(*) AS Total FROM Tree WHERE MIB = ?1 COLLATE NOCASE",
    // TreeFirstRowidByOID
    "SELECT rowid FROM Tree WHERE OID = ?1 COLLATE NOCASE LIMIT 1",
    // TreeRowidsByModule
    "SELECT rowid, Name FROM Tree WHERE MIB = ?1 COLLATE NOCASE",
    // TreeRowidByModuleName
    "SELECT rowid FROM Tree WHERE MIB = ?1 COLLATE NOCASE AND Name = ?2 COLLATE NOCASE LIMIT 1",
    // TreeInsert
    "INSERT INTO Tree (OID, MIB, ParentOID, Name, TypeI, TypeS, Description, Status, Access, Enum, "
    "Parse, Units, \"Index\", \"Primary\") VALUES (?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14)",
    // TreeUpdate
    "UPDATE Tree SET OID=?1, MIB=?2, ParentOID=?3, Name=?4, TypeI=?5, TypeS=?6, Description=?7, "
    "Status=?8, Access=?9, Enum=?10, Parse=?11, Units=?12 WHERE rowid=?13",
    // TreeImportUpdate
    "UPDATE Tree SET OID=?1, MIB=?2, ParentOID=?3, Name=?4, TypeI=?5, TypeS=?6, Description=?7, "
    "Status=?8, Access=?9, Enum=?10, Parse=?11, Units=?12, \"Index\"=?13 WHERE rowid=?14",
    // TreeUpdateIndexBy
    "UPDATE Tree SET IndexBy=?1 WHERE rowid=?2",
    // TreeUpdateCalculation
    "UPDATE Tree SET Calculation=?1 WHERE rowid=?2",
    // TreeDeleteModule
    "DELETE FROM Tree WHERE MIB = ?1 COLLATE NOCASE",
    // TreeDeleteModuleOID
    "DELETE FROM Tree WHERE MIB = ?1 COLLATE NOCASE AND OID = ?2 COLLATE NOCASE",
    // EnumLabel
    "SELECT Value, Enum FROM Enums WHERE Name = ?1 COLLATE NOCASE AND Value = ?2 ORDER BY Value",
    // EnumsByName
    "SELECT Value, Enum FROM Enums WHERE Name = ?1 COLLATE NOCASE ORDER BY Value",
    // EnumExists
    "SELECT 1 FROM Enums WHERE Name = ?1 COLLATE NOCASE LIMIT 1",
    // EnumUpdate
    "UPDATE Enums SET Name=?2, Enum=?1 WHERE Name = ?2 COLLATE NOCASE AND Value=?3",
    // EnumInsert
    "INSERT INTO Enums (Name, Value, Enum) VALUES (?1, ?2, ?3)",
    // ModuleByName
    "SELECT Name, Description, Organization, Contact, Compiled, Imported, LastUpdated "
    "FROM MIBs WHERE Name = ?1 COLLATE NOCASE",
    // ModulesByName
    "SELECT Name, Description, Organization, Contact, Compiled, Imported, LastUpdated "
    "FROM MIBs ORDER BY Name COLLATE NOCASE",
    // ModuleUpdate
    "UPDATE MIBs SET Name=?7, Description=?1, Organization=?2, Contact=?3, Compiled=?4, Imported=?5, "
    "LastUpdated=?6 WHERE Name = ?7 COLLATE NOCASE",
    // ModuleInsert
    "INSERT INTO MIBs (Name, Description, Organization, Contact, Compiled, Imported, LastUpdated) "
    "VALUES (?1,?2,?3,?4,?5,?6,?7)",
    // ModuleDelete
    "DELETE FROM MIBs WHERE Name = ?1 COLLATE NOCASE",
    // TypesAll
    "SELECT Type, Root, Value FROM Types",
    // TypeByName
    "SELECT Type FROM Types WHERE Type = ?1 COLLATE NOCASE",
    // TypeInsert
    "INSERT INTO Types (Type, Root, Value) VALUES (?1, ?2, ?3)",
    // IconByOID
    "SELECT OID, \"Small Icon\" FROM Icons WHERE OID = ?1 COLLATE NOCASE",
    // IconPictureByOID
    "SELECT \"Small Icon\" FROM Icons WHERE OID = ?1 COLLATE NOCASE",
    // Begin
    "BEGIN",
    // Commit
    "COMMIT",
    // DataVersion
    "PRAGMA data_version",
};

// The search window's statements share their columns, order and limit.
std::string searchText(const std::string& condition) {
    return "SELECT MIB, Name, OID FROM Tree WHERE " + condition + " ORDER BY MIB, Name LIMIT " +
           std::to_string(kSearchHitLimit);
}

}  // namespace

std::string DescriptionSearchText(bool byModule, int keywords) {
    std::string condition = byModule ? "MIB LIKE ?1" : "";
    for (int k = 1; k <= keywords; ++k) {
        if (!condition.empty()) condition += " AND ";
        condition += "Description LIKE ?" + std::to_string(k + (byModule ? 1 : 0));
    }
    return searchText(condition.empty() ? "0" : condition);
}

std::string_view QueryText(Query q) {
    if (q == Query::TreeSearchByName) {
        static const std::string text = searchText("Name LIKE ?1");
        return text;
    }
    return kTexts[static_cast<int>(q)];
}

}  // namespace qlmib
