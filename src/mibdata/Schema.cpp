#include "internal/Schema.h"

#include <array>
#include <string>

#include "TextNumbers.h"
#include "qlmib/common/Error.h"
#include "qlmib/mibdata/Database.h"

namespace qlmib::schema {
namespace {

// Text columns that queries compare are NOCASE: lookups ignore case.
constexpr std::string_view kCreate = R"sql(
CREATE TABLE Tree (
  OID TEXT COLLATE NOCASE,
  Name TEXT COLLATE NOCASE,
  MIB TEXT COLLATE NOCASE,
  ParentOID TEXT COLLATE NOCASE,
  "Index" INTEGER,
  "Primary" INTEGER,
  TypeI INTEGER,
  TypeS TEXT COLLATE NOCASE,
  Description TEXT,
  Status INTEGER,
  Access INTEGER,
  Enum TEXT COLLATE NOCASE,
  Parse TEXT,
  Units TEXT,
  IndexBy TEXT,
  Calculation TEXT
);
CREATE TABLE Enums (Name TEXT COLLATE NOCASE, Value INTEGER, Enum TEXT);
CREATE TABLE MIBs (
  Name TEXT COLLATE NOCASE,
  Description TEXT,
  Organization TEXT,
  Contact TEXT,
  Compiled TEXT,
  Imported TEXT,
  LastUpdated TEXT
);
CREATE TABLE Types (Type TEXT COLLATE NOCASE, Root TEXT, Value INTEGER);
CREATE TABLE Icons (OID TEXT COLLATE NOCASE, "Small Icon" BLOB);
CREATE INDEX TreeOID ON Tree (OID);
CREATE INDEX TreeName ON Tree (Name);
CREATE INDEX TreeMIBName ON Tree (MIB, Name);
CREATE INDEX TreeParent ON Tree (ParentOID, "Index");
CREATE INDEX EnumsNameValue ON Enums (Name, Value);
CREATE INDEX MIBsName ON MIBs (Name);
CREATE INDEX IconsOID ON Icons (OID);
)sql";

struct Required {
    std::string_view table;
    std::vector<std::string_view> columns;
};

const std::array<Required, 5> kRequired = {{
    {"Tree", {"OID", "Name", "MIB", "ParentOID", "Index", "Primary", "TypeI", "TypeS", "Description",
              "Status", "Access", "Enum", "Parse", "Units"}},
    {"Enums", {"Name", "Value", "Enum"}},
    {"MIBs", {"Name", "Description", "Organization", "Contact", "Compiled", "Imported", "LastUpdated"}},
    {"Types", {"Type", "Root", "Value"}},
    {"Icons", {"OID", "Small Icon"}},
}};

}  // namespace

void create(Database& db) {
    Transaction tx(db);
    db.exec(kCreate);
    auto insert = db.query(Query::TypeInsert);
    for (const auto& t : builtinTypes()) {
        insert.bind(1, t.type).bind(2, t.root).bind(3, t.value).run();
        insert.reset();
    }
    tx.commit();
}

Presence inspect(Database& db) {
    Presence presence;
    // One read transaction: the file is locked once for all the tables.
    const ReadBatch batch(db);
    for (const auto& req : kRequired) {
        const std::string table(req.table);
        if (!db.hasColumn(table)) throw Error(ERR_DATABASE, "The MIB database has no table " + table);
        for (auto column : req.columns)
            if (!db.hasColumn(table, std::string(column)))
                throw Error(ERR_DATABASE, "The MIB database table " + table + " has no column " + std::string(column));
        if (req.table == "Tree") {
            presence.indexBy = db.hasColumn(table, "IndexBy");
            presence.calculation = db.hasColumn(table, "Calculation");
        }
    }
    return presence;
}

}  // namespace qlmib::schema
