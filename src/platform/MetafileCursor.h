#pragma once
// A bounded little-endian reader over metafile bytes (a whole file or one
// record). Every read past the end raises EInvalidGraphic, so a short record
// can never read into its neighbour.
#include <cstddef>
#include <cstdint>
#include <span>

namespace rpt {

class MetafileCursor {
public:
    explicit MetafileCursor(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    size_t Position() const { return position_; }
    size_t Size() const { return bytes_.size(); }
    size_t Remaining() const { return bytes_.size() - position_; }
    void Seek(size_t position);
    void Skip(size_t count);

    uint8_t U8();
    uint16_t U16();
    int16_t I16() { return static_cast<int16_t>(U16()); }
    uint32_t U32();
    int32_t I32() { return static_cast<int32_t>(U32()); }
    float F32();
    // The next count bytes, checked against what is left.
    std::span<const uint8_t> Take(size_t count);
    // count bytes at an absolute offset of the whole span; the position is unchanged.
    std::span<const uint8_t> Slice(size_t offset, size_t count) const;
    std::span<const uint8_t> All() const { return bytes_; }

private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

} // namespace rpt
