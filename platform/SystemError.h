// Errors of the system's file operations and the one format their messages share.
#pragma once

#include <stdexcept>
#include <string>

namespace folivane::platform {

class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "Cannot open file "%s". %s"
class EFOpenError : public EStreamError {
public:
    EFOpenError(const std::string& path, const std::string& reason)
        : EStreamError("Cannot open file \"" + path + "\". " + reason) {}
};

// "Cannot create file "%s". %s"
class EFCreateError : public EStreamError {
public:
    EFCreateError(const std::string& path, const std::string& reason)
        : EStreamError("Cannot create file \"" + path + "\". " + reason) {}
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
