#pragma once
// The object table of a metafile being played: pens, brushes and fonts made
// by its records, by slot. Slots beyond the table's capacity (from the file
// header) are refused, so a file cannot make the table grow without bound.
#include "platform/DeviceContext.h"
#include "platform/Font.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>

namespace rpt {

struct MetafileObject {
    enum Kind { Pen, Brush, Font, Other } kind = Other;
    LogPen pen;
    LogBrush brush;
    LogFont font;
};

class MetafileObjectTable {
public:
    explicit MetafileObjectTable(uint32_t capacity) : capacity_(capacity) {}

    // Puts the object into the lowest free slot, as the 16-bit format numbers
    // them; a full table drops it.
    void Add(MetafileObject object);
    // Puts the object into the given slot, replacing what was there.
    void Put(uint32_t slot, MetafileObject object);
    const MetafileObject* Find(uint32_t slot) const;
    void Remove(uint32_t slot);

private:
    uint32_t capacity_;
    std::map<uint32_t, MetafileObject> objects_;
    std::set<uint32_t> freed_;
    uint32_t highWater_ = 0;
};

} // namespace rpt
