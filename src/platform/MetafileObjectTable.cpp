#include "platform/MetafileObjectTable.h"

namespace rpt {

void MetafileObjectTable::Add(MetafileObject object) {
    uint32_t slot;
    if (!freed_.empty()) {
        slot = *freed_.begin();
        freed_.erase(freed_.begin());
    } else if (highWater_ < capacity_) {
        slot = highWater_++;
    } else {
        return;
    }
    objects_[slot] = std::move(object);
}

void MetafileObjectTable::Put(uint32_t slot, MetafileObject object) {
    if (slot < capacity_)
        objects_[slot] = std::move(object);
}

const MetafileObject* MetafileObjectTable::Find(uint32_t slot) const {
    auto it = objects_.find(slot);
    return it == objects_.end() ? nullptr : &it->second;
}

void MetafileObjectTable::Remove(uint32_t slot) {
    if (objects_.erase(slot) && slot < highWater_)
        freed_.insert(slot);
}

} // namespace rpt
