// Exception classes raised by the zip archive writer and its streams.
#pragma once

#include "platform/SystemError.h"

#include <stdexcept>
#include <string>

namespace folivane::zip {

// Base of every failure that the archive writer itself detects.
class EZipException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The archive stream took fewer bytes than it was given: "Not enough room to write archive
// "%s". %s", with the system's cause (ENOSPC when the stream gave none).
class ENotEnoughRoom : public EZipException {
public:
    ENotEnoughRoom(const std::string& archive, int cause)
        : EZipException("Not enough room to write archive \"" + archive + "\". " +
                        platform::SystemErrorText(cause)),
          cause_(cause) {}
    explicit ENotEnoughRoom(const std::string& message) : EZipException(message) {}
    // The errno the archive's stream reported; 0 when it was not the system's.
    int Cause() const { return cause_; }

private:
    int cause_ = 0;
};

// The archive, or one entry, would pass a limit of the zip format without Zip64 (4 GiB,
// 65,535 entries), which the writer does not write.
class EZip64Needed : public EZipException {
public:
    using EZipException::EZipException;
};

// An existing file has no end-of-central-directory record.
class EIncompleteZip : public EZipException {
public:
    EIncompleteZip() : EZipException("Incomplete Zip File") {}
    using EZipException::EZipException;
};

// An existing archive's directory is damaged or hostile.
class EBadZipFile : public EZipException {
public:
    EBadZipFile() : EZipException("Not a valid zip file!") {}
    using EZipException::EZipException;
};

// The owner's cancellation callback asked the run to stop.
class EZipAborted : public EZipException {
public:
    EZipAborted() : EZipException("User Abort") {}
};

class EZLibError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// zlib reported a negative result code.
class EZCompressionError : public EZLibError {
public:
    using EZLibError::EZLibError;
};

// The file errors of the platform layer are the writer's too: BuildArchive raises them for
// an output or an existing archive that cannot be created or opened.
using platform::EFCreateError;
using platform::EFOpenError;
using platform::EReadError;
using platform::EStreamError;
using platform::EWriteError;
using platform::SystemErrorText;

// A sorted entry list refused an entry equal to one it holds.
class EListError : public std::runtime_error {
public:
    EListError() : std::runtime_error("Duplicate Object index") {}
};

} // namespace folivane::zip
