#pragma once
// The platform's exception family. Every error the system reports is one of
// these; `EAbort` is the silent abort that front ends swallow without a message.
#include <stdexcept>
#include <string>

namespace rpt {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Base of the stream errors: a file that cannot be opened or read.
class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be opened.
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// A read that found fewer bytes than it needed: "Stream read error".
class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
    using EStreamError::EStreamError;
};

// A text that is not a number where one is required.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An object of the wrong class: "Invalid class typecast".
class EInvalidCast : public Exception {
public:
    EInvalidCast() : Exception("Invalid class typecast") {}
};

// A list index out of range.
class EListError : public Exception {
public:
    using Exception::Exception;
};

// Unwinds the current operation and shows nothing.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};

// Raises the silent abort.
[[noreturn]] void Abort();

} // namespace rpt
