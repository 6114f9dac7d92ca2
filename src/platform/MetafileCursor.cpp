#include "platform/MetafileCursor.h"

#include "platform/Graphics.h"

#include <bit>
#include <cstring>

namespace rpt {

namespace {
[[noreturn]] void Truncated() {
    throw EInvalidGraphic("Metafile record is truncated");
}
} // namespace

void MetafileCursor::Seek(size_t position) {
    if (position > bytes_.size())
        Truncated();
    position_ = position;
}

void MetafileCursor::Skip(size_t count) {
    if (count > Remaining())
        Truncated();
    position_ += count;
}

uint8_t MetafileCursor::U8() {
    if (Remaining() < 1)
        Truncated();
    return bytes_[position_++];
}

uint16_t MetafileCursor::U16() {
    auto b = Take(2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t MetafileCursor::U32() {
    auto b = Take(4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

float MetafileCursor::F32() {
    return std::bit_cast<float>(U32());
}

std::span<const uint8_t> MetafileCursor::Take(size_t count) {
    if (count > Remaining())
        Truncated();
    auto result = bytes_.subspan(position_, count);
    position_ += count;
    return result;
}

std::span<const uint8_t> MetafileCursor::Slice(size_t offset, size_t count) const {
    if (offset > bytes_.size() || count > bytes_.size() - offset)
        Truncated();
    return bytes_.subspan(offset, count);
}

} // namespace rpt
