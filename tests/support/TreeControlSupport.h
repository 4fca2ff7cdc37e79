#pragma once
// For tests of the tree controls: a tree grid's node rows as text, and
// custom icons in the database.

#include <string>
#include <vector>

#include <qlmib/mibdata/Database.h>
#include <qlmib/ui/GridModel.h>

namespace qlmib::test {

// The start of a PNG file of the given size: signature and IHDR chunk.
inline std::string pngHeader(unsigned width, unsigned height) {
    std::string bytes("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
    for (unsigned value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xFF);
    return bytes + std::string("\x08\x06\0\0\0", 5);
}

inline void insertIcon(Database& db, const std::string& oid, const std::string& bytes) {
    db.prepare("INSERT INTO Icons (OID, \"Small Icon\") VALUES (?1, ?2)").bind(1, oid).bindBlob(2, bytes).run();
}

// Each row below the header as "level key text picture", then " +" for an
// open node with children or " -" for a closed one.
inline std::vector<std::string> dump(const ui::GridModel& grid) {
    std::vector<std::string> rows;
    for (std::int32_t r = grid.getFixedRows(); r < grid.getRows(); ++r) {
        std::string line = std::to_string(grid.getRowOutlineLevel(r)) + " " + grid.getRowKey(r) + " " +
                           grid.getTextMatrix(r, 0) + " " + grid.getCellPicture(r, 0);
        if (grid.HasChildren(r)) line += grid.getIsCollapsed(r) ? " -" : " +";
        rows.push_back(line);
    }
    return rows;
}

}  // namespace qlmib::test
