// Errors of the system's file operations: what was done, to which file, and the system's cause.
#pragma once

#include <stdexcept>
#include <string>

namespace folivane::platform {

// What a file operation was doing when it failed.
enum class FileOperation {
    None,             // a stream's own failure, not the system's: what() alone says it
    Open,             // opening an existing file to read it
    Create,           // creating or replacing a file
    Read,             // reading an open file
    Write,            // writing an open file
    WriteToDisk,      // fsync: the written bytes to the disk
    Close,            // a deferred write error reported at close
    Seek,             // moving in an open file
    Resize,           // ftruncate
    ReplaceProtected, // replacing a file that its owner protected from writing
};

// The cause of a file failure that the system has no errno for; errno values are positive.
constexpr int kNotRegularFile = -1;

// A file operation that failed. The front ends say it from Operation(), Path() and Cause();
// what() is the English sentence, for developers and the zip layer's own messages.
class EStreamError : public std::runtime_error {
public:
    // `operation` on the file at `path` failed for `cause` (an errno value or kNotRegularFile).
    EStreamError(FileOperation operation, std::string path, int cause);
    // A stream's own failure (a program fault), said by `message` alone.
    explicit EStreamError(const std::string& message);

    FileOperation Operation() const { return operation_; }
    const std::string& Path() const { return path_; }
    // 0 for a stream's own failure.
    int Cause() const { return cause_; }
    // The system's cause alone ("No space left on device"); empty when there is none.
    std::string Reason() const;

private:
    FileOperation operation_ = FileOperation::None;
    std::string path_;
    int cause_ = 0;
};

// "Cannot open file "%s". %s"
class EFOpenError : public EStreamError {
public:
    EFOpenError(std::string path, int cause)
        : EStreamError(FileOperation::Open, std::move(path), cause) {}
};

// "Cannot create file "%s". %s"
class EFCreateError : public EStreamError {
public:
    EFCreateError(std::string path, int cause)
        : EStreamError(FileOperation::Create, std::move(path), cause) {}
};

// A read or write that the file did not complete.
class EReadError : public EStreamError {
public:
    EReadError(std::string path, int cause)
        : EStreamError(FileOperation::Read, std::move(path), cause) {}
    using EStreamError::EStreamError;
};

class EWriteError : public EStreamError {
public:
    EWriteError(std::string path, int cause, FileOperation operation = FileOperation::Write)
        : EStreamError(operation, std::move(path), cause) {}
    using EStreamError::EStreamError;
};

// The system's cause in English whatever the locale: "No space left on device" for ENOSPC,
// "Not a regular file" for kNotRegularFile, "Unknown error N" for what the C library does
// not know.
std::string SystemErrorText(int cause);

// The English sentence of a failed file operation, as EStreamError::what() says it.
std::string FileFailureText(FileOperation operation, const std::string& path, int cause);

// The path made absolute against the working folder, for messages.
std::string ExpandFileName(const std::string& path);

} // namespace folivane::platform
