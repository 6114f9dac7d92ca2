#include "platform/Stream.h"

#include "platform/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rpt {

void TStream::ReadBuffer(void* buffer, int64_t count) {
    if (count <= 0)
        return;
    if (Read(buffer, count) != count)
        throw EReadError();
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
    if (count <= 0)
        return;
    if (Write(buffer, count) != count)
        throw EStreamError("Stream write error");
}

int64_t TStream::Remaining() const { return std::max<int64_t>(0, Size() - Position()); }

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
    if (count == 0)
        count = source.Remaining();
    uint8_t chunk[64 * 1024];
    int64_t done = 0;
    while (done < count) {
        int64_t n = std::min<int64_t>(sizeof chunk, count - done);
        source.ReadBuffer(chunk, n);
        WriteBuffer(chunk, n);
        done += n;
    }
    return done;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::soBeginning ? 0
                   : origin == TSeekOrigin::soCurrent ? position_
                                                      : Size();
    position_ = std::max<int64_t>(0, base + offset);
    return position_;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
    if (count <= 0 || position_ >= Size())
        return 0;
    int64_t n = std::min(count, Size() - position_);
    std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
    if (count <= 0)
        return 0;
    if (position_ + count > Size())
        data_.resize(static_cast<size_t>(position_ + count));
    std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
    position_ += count;
    return count;
}

void TMemoryStream::SetSize(int64_t size) {
    data_.resize(static_cast<size_t>(std::max<int64_t>(0, size)));
    position_ = std::min(position_, Size());
}

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream file(fileName);
    LoadFromStream(file);
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(source.Size()));
    source.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    data_ = std::move(bytes);
    position_ = 0;
}

namespace {
constexpr int64_t kReadAhead = 16 * 1024;
// How much of a backward window lies after the position that was asked for.
constexpr int64_t kBackwardSlack = 1024;
}

TFileStream::TFileStream(const std::string& fileName) {
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || S_ISDIR(st.st_mode)) {
        int err = S_ISDIR(st.st_mode) ? EISDIR : errno;
        ::close(fd_);
        fd_ = -1;
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(err));
    }
    // Cooperating writers take an exclusive lock; a shared one keeps them out.
    ::flock(fd_, LOCK_SH | LOCK_NB);
    size_ = st.st_size;
    buffer_.resize(kReadAhead);
}

TFileStream::~TFileStream() {
    if (fd_ >= 0)
        ::close(fd_);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
    int64_t base = origin == TSeekOrigin::soBeginning ? 0
                   : origin == TSeekOrigin::soCurrent ? position_
                                                      : size_;
    position_ = std::max<int64_t>(0, base + offset);
    return position_;
}

int64_t TFileStream::Read(void* buffer, int64_t count) {
    if (count <= 0 || position_ >= size_)
        return 0;
    auto* out = static_cast<uint8_t*>(buffer);
    int64_t done = 0;
    while (done < count && position_ < size_) {
        if (position_ >= bufferStart_ && position_ < bufferStart_ + bufferLength_) {
            int64_t offset = position_ - bufferStart_;
            int64_t n = std::min(count - done, bufferLength_ - offset);
            std::memcpy(out + done, buffer_.data() + offset, static_cast<size_t>(n));
            done += n;
            position_ += n;
            continue;
        }
        if (count - done >= kReadAhead) {
            ssize_t n = ::pread(fd_, out + done, static_cast<size_t>(count - done), position_);
            if (n <= 0)
                break;
            done += n;
            position_ += n;
            continue;
        }
        // Reading forwards, the window starts at the position. A position
        // before the window means the reader walks backwards (the page chain
        // towards page 1): the window then ends a little past the position,
        // so the records before it are read from memory too.
        int64_t start = position_;
        if (bufferLength_ > 0 && position_ < bufferStart_)
            start = std::max<int64_t>(0, position_ + kBackwardSlack - kReadAhead);
        ssize_t n = ::pread(fd_, buffer_.data(), buffer_.size(), start);
        if (n <= 0 || start + n <= position_)
            break;
        bufferStart_ = start;
        bufferLength_ = n;
    }
    return done;
}

int64_t TFileStream::Write(const void*, int64_t) {
    throw EStreamError("Stream write error");
}

} // namespace rpt
