#pragma once
// Byte streams: the report file is read through one of these.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace rpt {

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A seekable byte stream. `Read` answers how many bytes it delivered;
// `ReadBuffer` raises EReadError ("Stream read error") on a short read.
class TStream {
public:
    virtual ~TStream() = default;

    virtual int64_t Size() const = 0;
    virtual int64_t Position() const = 0;
    // Answers the new position. Seeking before 0 is clamped to 0; past the
    // end is allowed (the next read then delivers nothing).
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin = TSeekOrigin::soBeginning) = 0;
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;

    void SetPosition(int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Bytes left between the position and the end (0 when past the end).
    int64_t Remaining() const;
    // Copies count bytes from source at its position (all remaining for 0).
    int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream held in memory; grows as it is written.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}

    int64_t Size() const override { return static_cast<int64_t>(data_.size()); }
    int64_t Position() const override { return position_; }
    int64_t Seek(int64_t offset, TSeekOrigin origin = TSeekOrigin::soBeginning) override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;

    void SetSize(int64_t size);
    void Clear();
    // Loads the whole file; raises EFOpenError or EReadError.
    void LoadFromFile(const std::string& fileName);
    void LoadFromStream(TStream& source);
    const uint8_t* Memory() const { return data_.data(); }
    const std::vector<uint8_t>& Bytes() const { return data_; }

private:
    std::vector<uint8_t> data_;
    int64_t position_ = 0;
};

// A read-only file stream; other writers are denied while it is open
// (an advisory shared lock on the file). Raises EFOpenError when the file
// cannot be opened.
class TFileStream : public TStream {
public:
    explicit TFileStream(const std::string& fileName);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    int64_t Size() const override { return size_; }
    int64_t Position() const override { return position_; }
    int64_t Seek(int64_t offset, TSeekOrigin origin = TSeekOrigin::soBeginning) override;
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;

private:
    int fd_ = -1;
    int64_t size_ = 0;
    int64_t position_ = 0;
    // A small read-ahead buffer: the reader takes operands a few bytes at a time.
    std::vector<uint8_t> buffer_;
    int64_t bufferStart_ = 0;
    int64_t bufferLength_ = 0;
};

} // namespace rpt
