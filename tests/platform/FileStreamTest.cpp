#include "platform/Exceptions.h"
#include "platform/Stream.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <vector>

namespace rpt {
namespace {

uint8_t ByteAt(int64_t position) { return static_cast<uint8_t>(position * 7 + position / 251); }

// A file larger than the read-ahead window, each byte telling its position.
class FileStreamTest : public ::testing::Test {
protected:
    static constexpr int64_t kSize = 100 * 1024 + 37;

    void SetUp() override {
        path_ = QDir(dir_.path()).filePath("bytes.bin").toStdString();
        std::vector<char> bytes(kSize);
        for (int64_t i = 0; i < kSize; ++i)
            bytes[static_cast<size_t>(i)] = static_cast<char>(ByteAt(i));
        QFile file(QString::fromStdString(path_));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes.data(), kSize), kSize);
    }

    // Reads count bytes at position and checks every one of them.
    static void ExpectBytesAt(TFileStream& stream, int64_t position, int64_t count) {
        stream.SetPosition(position);
        std::vector<uint8_t> got(static_cast<size_t>(count));
        ASSERT_EQ(stream.Read(got.data(), count), count) << position;
        for (int64_t i = 0; i < count; ++i)
            ASSERT_EQ(got[static_cast<size_t>(i)], ByteAt(position + i)) << position + i;
        EXPECT_EQ(stream.Position(), position + count);
    }

    QTemporaryDir dir_;
    std::string path_;
};

// The reader walks page chains both ways with small reads; every access
// pattern must deliver the file's own bytes.
TEST_F(FileStreamTest, DeliversTheFilesBytesWhicheverWayItIsWalked) {
    TFileStream stream(path_);
    EXPECT_EQ(stream.Size(), kSize);
    for (int64_t at = 0; at + 19 <= kSize; at += 67)
        ExpectBytesAt(stream, at, 19);
    for (int64_t at = kSize - 19; at >= 0; at -= 67)
        ExpectBytesAt(stream, at, 19);
    // Jumps across the file, reads across window edges, and one read larger
    // than the window.
    for (int64_t at : {int64_t(50000), int64_t(10), int64_t(16 * 1024 - 3), int64_t(90000),
                       int64_t(16 * 1024 - 1000), int64_t(0)})
        ExpectBytesAt(stream, at, 40);
    ExpectBytesAt(stream, 123, 40000);
    ExpectBytesAt(stream, 0, kSize);
}

TEST_F(FileStreamTest, ReadsStopAtTheEndAndReadBufferRaisesTheReadError) {
    TFileStream stream(path_);
    uint8_t bytes[16];
    stream.SetPosition(kSize - 5);
    EXPECT_EQ(stream.Read(bytes, 16), 5);
    EXPECT_EQ(stream.Read(bytes, 16), 0);
    stream.SetPosition(kSize + 100);
    EXPECT_EQ(stream.Read(bytes, 1), 0);
    stream.SetPosition(kSize - 5);
    try {
        stream.ReadBuffer(bytes, 16);
        FAIL() << "a short read must raise";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    EXPECT_THROW(TFileStream(path_ + ".missing"), EFOpenError);
}

} // namespace
} // namespace rpt
