// Errors of the system's file operations and the one format their messages share.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace folivane::platform {

class EStreamError : public std::runtime_error {
public:
    explicit EStreamError(const std::string& message, std::string reason = {})
        : std::runtime_error(message), reason_(std::move(reason)) {}
    // The system's reason alone ("No space left on device"), when the error has one.
    const std::string& Reason() const { return reason_; }

private:
    std::string reason_;
};

// "Cannot open file "%s". %s"
class EFOpenError : public EStreamError {
public:
    EFOpenError(const std::string& path, const std::string& reason)
        : EStreamError("Cannot open file \"" + path + "\". " + reason, reason) {}
};

// "Cannot create file "%s". %s"
class EFCreateError : public EStreamError {
public:
    EFCreateError(const std::string& path, const std::string& reason)
        : EStreamError("Cannot create file \"" + path + "\". " + reason, reason) {}
};

// A read or write that the file did not complete.
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// The system's text for an errno value.
std::string SystemErrorText(int error);

// The path made absolute against the working folder, for messages.
std::string ExpandFileName(const std::string& path);

} // namespace folivane::platform
