#include "fixture/MetafileWriter.h"
#include "platform/Graphics.h"

#include <gtest/gtest.h>

#include <memory>

namespace rpt {
namespace {

using fixture::MetafileWriter;

std::unique_ptr<TMetafile> Load(const std::vector<uint8_t>& bytes) {
    TMemoryStream stream(bytes);
    auto metafile = std::make_unique<TMetafile>();
    metafile->LoadFromStream(stream);
    return metafile;
}

struct SizeCase {
    const char* name;
    std::vector<uint8_t> bytes;
    int32_t width;
    int32_t height;
    bool enhanced;
};

TEST(MetafileLoadTest, NaturalSizeIsAt96PixelsPerInch) {
    const SizeCase cases[] = {
        {"placeable, 1440 per inch", MetafileWriter::PlaceableWmf(0, 0, 1440, 720, 1440).Bytes(), 96, 48, false},
        {"placeable, reversed box", MetafileWriter::PlaceableWmf(200, 100, 0, 0, 100).Bytes(), 192, 96, false},
        {"placeable, no units per inch counts twips", MetafileWriter::PlaceableWmf(0, 0, 2880, 1440, 0).Bytes(), 192, 96, false},
        {"plain, window extent", MetafileWriter::Wmf().SetWindowOrg(5, 5).SetWindowExt(200, 100).Rectangle(0, 0, 9, 9).Bytes(), 200, 100, false},
        {"plain, no window: what it draws", MetafileWriter::Wmf().Rectangle(10, 20, 60, 45).Bytes(), 50, 25, false},
        {"plain, nothing at all", MetafileWriter::Wmf().Bytes(), 96, 96, false},
        {"enhanced, frame of 25.4 by 12.7 mm",
         MetafileWriter::Emf(0, 0, 10, 10, 0, 0, 2540, 1270).Bytes(), 96, 48, true},
        {"enhanced, empty frame: the bounds",
         MetafileWriter::Emf(0, 0, 99, 49, 0, 0, 0, 0).Bytes(), 96, 48, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto metafile = Load(c.bytes);
        EXPECT_EQ(metafile->Width(), c.width);
        EXPECT_EQ(metafile->Height(), c.height);
        EXPECT_EQ(metafile->Enhanced(), c.enhanced);
        EXPECT_EQ(metafile->Bytes(), c.bytes);
    }
}

std::vector<uint8_t> Truncated(std::vector<uint8_t> bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
}

std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at, std::vector<uint8_t> with) {
    std::copy(with.begin(), with.end(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
    return bytes;
}

TEST(MetafileLoadTest, MalformedFilesRaiseInvalidGraphic) {
    auto wmf = MetafileWriter::Wmf().Rectangle(0, 0, 10, 10).Bytes();
    auto emf = MetafileWriter::Emf(0, 0, 10, 10, 0, 0, 100, 100).Rectangle(0, 0, 5, 5).Bytes();
    const std::pair<const char*, std::vector<uint8_t>> cases[] = {
        {"empty", {}},
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', ',', ' ', 'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}},
        {"placeable key only", {0xD7, 0xCD, 0xC6, 0x9A, 0, 0}},
        {"placeable header without a metafile", Truncated(MetafileWriter::PlaceableWmf(0, 0, 9, 9, 96).Bytes(), 30)},
        {"wrong header size", Patched(wmf, 2, {8, 0})},
        {"record cut in the middle", Truncated(wmf, wmf.size() - 8)},
        {"record of size zero", MetafileWriter::Wmf().RecordDeclaring(0x041B, 0, {}).Bytes()},
        {"record claiming 2 GB", MetafileWriter::Wmf().RecordDeclaring(0x041B, 0x40000000, {1, 2, 3, 4}).Bytes()},
        {"enhanced signature wrong", Patched(emf, 40, {'X'})},
        {"enhanced header larger than the file", Patched(emf, 4, {0xFF, 0xFF, 0, 0})},
        {"enhanced record shorter than its header", MetafileWriter::Emf(0, 0, 1, 1, 0, 0, 9, 9).RecordDeclaring(43, 4, {}).Bytes()},
        {"enhanced record claiming 4 GB", MetafileWriter::Emf(0, 0, 1, 1, 0, 0, 9, 9).RecordDeclaring(43, 0xFFFFFFF0u, {0, 0, 0, 0}).Bytes()},
        {"enhanced file cut inside a record", Truncated(emf, emf.size() - 24)},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        EXPECT_THROW(Load(bytes), EInvalidGraphic);
    }
}

TEST(MetafileLoadTest, FailedLoadKeepsThePreviousPicture) {
    auto metafile = Load(MetafileWriter::PlaceableWmf(0, 0, 96, 48, 96).Bytes());
    TMemoryStream garbage(std::vector<uint8_t>(40, 0x55));
    EXPECT_THROW(metafile->LoadFromStream(garbage), EInvalidGraphic);
    EXPECT_EQ(metafile->Width(), 96);
    EXPECT_EQ(metafile->Height(), 48);
}

TEST(MetafileLoadTest, AFileEndingWithoutItsEndRecordStillLoads) {
    auto metafile = Load(MetafileWriter::PlaceableWmf(0, 0, 96, 96, 96).Rectangle(0, 0, 5, 5).WithoutEnd().Bytes());
    EXPECT_EQ(metafile->Width(), 96);
}

} // namespace
} // namespace rpt
