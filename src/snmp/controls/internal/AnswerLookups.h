#pragma once
// The database work of placing answers, done as seldom as a walk allows:
//  - the instances of one object (a table column) follow one another, so its
//    row is looked up once: when nothing lies below the object in the
//    database, the next instance only changes the suffix;
//  - an enumerated value's text depends on the enumeration and the value
//    alone, so each is rendered once;
//  - the answers of a walk share one read transaction, so the file is
//    locked once rather than once per answer. The control releases it at
//    each tick of its timer, before a host's handler runs and when the walk
//    ends; a write on the connection releases it first.
// What it learnt holds while the database stays as it was: each read
// transaction begins by checking that nothing was committed since the last,
// and forgets everything otherwise. A control also clears it when a walk or
// download starts.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "qlmib/mibdata/Database.h"

namespace qlmib {
class OID;
}  // namespace qlmib

namespace qlmib::live {

class AnswerLookups {
public:
    AnswerLookups();
    ~AnswerLookups();
    AnswerLookups(const AnswerLookups&) = delete;
    AnswerLookups& operator=(const AnswerLookups&) = delete;

    // As object.setOID(oid).
    void Point(OID& object, const std::string& oid);
    // As the value parser's text for the object (the raw value when it cannot be parsed).
    std::string Parse(const OID& object, std::string_view value, std::string_view hexValue);
    void Clear();

    // Between these, the lookups share one read transaction; with `linger` it
    // stays open after the last EndAnswer, until Release. Nests.
    void BeginAnswer() { ++answers_; }
    void EndAnswer(bool linger);
    void Release() noexcept;

private:
    // What the database says lies below an object whose row was loaded.
    enum class Below { Unasked, Nothing, Objects };

    void point(OID& object, const std::string& oid);
    void beforeQuery();

    // By base OID, for objects loaded since the last Clear.
    std::unordered_map<std::string, Below> loaded_;
    std::unordered_map<std::string, std::string> enumerated_;  // by enumeration, NUL, value
    int answers_ = 0;  // BeginAnswer not yet ended
    bool holding_ = false;
    Database::ChangeStamp stamp_;
};

}  // namespace qlmib::live
