#pragma once
// The database work of placing answers, done as seldom as a walk allows:
//  - the instances of one object (a table column) follow one another, so its
//    row is looked up once: when nothing lies below the object in the
//    database, the next instance only changes the suffix;
//  - an enumerated value's text depends on the enumeration and the value
//    alone, so each is rendered once;
//  - the lookups that remain for one answer share one read transaction,
//    begun at the first of them.
// What it learnt holds until Clear: a control clears it when a walk or
// download starts, and so sees objects imported meanwhile.

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

namespace qlmib {
class OID;
class ReadBatch;
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

    // Between these, the lookups share one read transaction. Nests.
    void BeginAnswer() { ++answers_; }
    void EndAnswer();

private:
    void point(OID& object, const std::string& oid);
    void beforeQuery();

    std::unordered_map<std::string, bool> leaves_;             // by base OID: nothing lies below it
    std::unordered_map<std::string, std::string> enumerated_;  // by enumeration, NUL, value
    int answers_ = 0;  // BeginAnswer not yet ended
    std::unique_ptr<ReadBatch> batch_;
};

}  // namespace qlmib::live
