#pragma once
// The catalogue of every statement the library sends to the MIB database.
// Values are always bound to the ? parameters, never written into the text.

#include <string>
#include <string_view>

namespace qlmib {

enum class Query : int {
    // Tree: lookups of one object
    TreePrimaryByOID,          // ?1 OID
    TreePrimaryAtOrBefore,     // ?1 OID: the primary row with the greatest OID up to it
    TreePrimaryBelow,          // ?1 OID + ".", ?2 OID + "/": a row when a primary row lies below that OID
    TreeFirstPrimaryByName,    // ?1 descriptor
    TreeFirstByModuleName,     // ?1 module, ?2 descriptor
    TreeFirstByName,           // ?1 descriptor, primary or not
    TreeByOID,                 // ?1 OID, primary or not
    TreeByModuleName,          // ?1 module, ?2 descriptor
    TreeByName,                // ?1 descriptor, primary or not
    TreeOIDByName,             // ?1 descriptor: OID of the first row, primary or not
    TreeOIDByNamePrefix,       // ?1 LIKE pattern "text%": OID of the first row in name order
    TreeByModule,              // ?1 module
    TreeNamesByOIDs,           // ?1..?16 OIDs: (OID, Name) of each row found
    TreeOIDInModule,           // ?1 module, ?2 OID
    TreePrimaryChildren,       // ?1 parent OID: DISTINCT Name, Index, OID, TypeS
    TreePrimaryChild,          // ?1 parent OID, ?2 Index: the same columns, of that one child
    TreeChildren,              // ?1 parent OID: all rows, primary or not
    TreeCount,
    // Tree: the search window
    TreeSearchByName,          // ?1 LIKE pattern: MIB, Name, OID of at most kSearchHitLimit rows
    TreeCountByModule,         // ?1 module
    // Tree: writes
    TreeFirstRowidByOID,       // ?1 OID
    TreeRowidsByModule,        // ?1 module: rowid, Name of each of its rows
    TreeRowidByModuleName,     // ?1 module, ?2 descriptor: rowid of its first row
    TreeInsert,                // see TreeWriteColumns
    TreeUpdate,                // TreeWriteColumns, then ?13 rowid
    TreeImportUpdate,          // TreeWriteColumns, then ?13 Index, ?14 rowid
    TreeUpdateIndexBy,         // ?1 text, ?2 rowid
    TreeUpdateCalculation,     // ?1 text, ?2 rowid
    TreeDeleteModule,          // ?1 module
    TreeDeleteModuleOID,       // ?1 module, ?2 OID
    // Enums
    EnumLabel,                 // ?1 enumeration, ?2 number: Value, Enum
    EnumsByName,               // ?1 enumeration: Value, Enum ascending
    EnumExists,                // ?1 enumeration: a row when it has a named number
    EnumUpdate,                // ?1 label, ?2 enumeration (stored as spelt here), ?3 number
    EnumInsert,                // ?1 enumeration, ?2 number, ?3 label
    // MIBs
    ModuleByName,              // ?1 module
    ModulesByName,
    ModuleUpdate,              // ?1 Description, ?2 Organization, ?3 Contact, ?4 Compiled, ?5 Imported, ?6 LastUpdated, ?7 module (stored as spelt here)
    ModuleInsert,              // ?1 Name, ?2 Description, ?3 Organization, ?4 Contact, ?5 Compiled, ?6 Imported, ?7 LastUpdated
    ModuleDelete,              // ?1 module
    // Types
    TypesAll,
    TypeByName,                // ?1 type name
    TypeInsert,                // ?1 Type, ?2 Root, ?3 Value
    // Icons
    IconByOID,                 // ?1 OID
    IconPictureByOID,          // ?1 OID
    // Transactions, begun and ended often enough (a tree level, a walk's answers) to keep prepared
    Begin,
    Commit,
    DataVersion,               // changes when another connection has committed
    Count_
};

inline constexpr int kQueryCount = static_cast<int>(Query::Count_);
inline constexpr int kLongNameBatch = 16;       // placeholders of TreeNamesByOIDs

// Columns that row-returning Tree queries select, in this order.
enum TreeColumn : int {
    TREE_OID, TREE_NAME, TREE_MIB, TREE_PARENTOID, TREE_INDEX, TREE_PRIMARY,
    TREE_TYPEI, TREE_TYPES, TREE_DESCRIPTION, TREE_STATUS, TREE_ACCESS, TREE_ENUM,
    TREE_PARSE, TREE_UNITS, TREE_INDEXBY, TREE_CALCULATION,
    TREE_SHARED,  // TreePrimaryAtOrBefore only: how many primary rows have that OID
};

// Columns that ModuleByName and ModulesByName select, in this order.
enum ModuleColumn : int {
    MODULE_NAME, MODULE_DESCRIPTION, MODULE_ORGANIZATION, MODULE_CONTACT,
    MODULE_COMPILED, MODULE_IMPORTED, MODULE_LASTUPDATED,
};

// Parameters of TreeInsert, TreeUpdate and TreeImportUpdate, 1-based.
enum TreeWriteColumn : int {
    TW_OID = 1, TW_MIB, TW_PARENTOID, TW_NAME, TW_TYPEI, TW_TYPES, TW_DESCRIPTION,
    TW_STATUS, TW_ACCESS, TW_ENUM, TW_PARSE, TW_UNITS, TW_ROWID,
    // TreeInsert only: ?13 Index (null when unknown), ?14 Primary
    TW_INSERT_INDEX = 13, TW_INSERT_PRIMARY = 14,
    // TreeImportUpdate only: ?13 Index, ?14 rowid
    TW_IMPORT_INDEX = 13, TW_IMPORT_ROWID = 14,
};

// True in the Primary column as the database's own query texts spell it
// ("Primary=-1"), so that programs reading the file that way see our rows.
inline constexpr int kPrimaryTrue = -1;

// Rows a search returns at most.
inline constexpr int kSearchHitLimit = 500;

// The description search: MIB, Name, OID of at most kSearchHitLimit rows,
// ordered as TreeSearchByName. With `byModule`, ?1 is a LIKE pattern of the
// module names; the next `keywords` parameters are LIKE patterns that the
// description must all match. Without any condition it finds nothing.
std::string DescriptionSearchText(bool byModule, int keywords);

// Catalogue text; "$TREE" stands for the Tree column list, completed per
// connection because IndexBy and Calculation may be missing from a database.
std::string_view QueryText(Query q);

}  // namespace qlmib
