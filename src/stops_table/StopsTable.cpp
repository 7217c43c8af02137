#include "stops_table/StopsTable.h"

namespace kavel {

namespace {

struct Range {
    int first;
    int count;
    EntryKind kind;
    const char* group; // label before the row number
    const char* what;  // label after it, empty for none
};

// The index map, in index order.
constexpr Range kMap[] = {
    {0, 40, EntryKind::SysEx, "global", ""},
    {40, 30, EntryKind::SysEx, "fondi", ".great"},
    {70, 30, EntryKind::SysEx, "fondi", ".swell"},
    {100, 20, EntryKind::SysEx, "mutazioni", ".great"},
    {120, 20, EntryKind::SysEx, "mutazioni", ".swell"},
    {140, 20, EntryKind::SysEx, "ancie", ".great"},
    {160, 20, EntryKind::SysEx, "ancie", ".swell"},
    {180, 20, EntryKind::SysEx, "pedale", ""},
    {200, 30, EntryKind::Name, "fondi", ".name"},
    {230, 20, EntryKind::Name, "mutazioni", ".name"},
    {250, 20, EntryKind::Name, "ancie", ".name"},
    {270, 20, EntryKind::Name, "pedale", ".name"},
    {290, 40, EntryKind::Name, "global", ".name"},
    {330, 20, EntryKind::Reserved, "reserved", ""},
    {350, 4, EntryKind::Name, "group", ".name"},
    {354, 6, EntryKind::Reserved, "reserved", ""},
    {360, 30, EntryKind::Flag, "fondi", ".rinforzabile"},
    {390, 20, EntryKind::Flag, "ancie", ".rinforzabile"},
    {410, 12, EntryKind::SysEx, "canceller", ""},
    {422, 9, EntryKind::Reserved, "reserved", ""},
};

} // namespace

EntryInfo describeEntry(int index) {
    for (const Range& r : kMap) {
        if (index < r.first || index >= r.first + r.count) continue;
        if (r.kind == EntryKind::Reserved) return {r.kind, "reserved"};
        return {r.kind,
                std::string(r.group) + "[" + std::to_string(index - r.first) + "]" + r.what};
    }
    return {EntryKind::Reserved, "outside"};
}

} // namespace kavel
