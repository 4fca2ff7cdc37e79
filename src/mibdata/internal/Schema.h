#pragma once
// Creating a new MIB database, and checking that an existing one has the tables we read.

#include <string_view>
#include <vector>

namespace qlmib {
class Database;

struct TypeEntry {
    std::string_view type, root;
    int value;
};

namespace schema {

struct Presence {
    bool indexBy = false;
    bool calculation = false;
};

// Tables, indexes and the built-in type catalogue of a new database.
void create(Database& db);
// Throws Error naming the first table or column that is missing.
Presence inspect(Database& db);
// The type catalogue shipped in data/types.tsv.
const std::vector<TypeEntry>& builtinTypes();

}  // namespace schema
}  // namespace qlmib
