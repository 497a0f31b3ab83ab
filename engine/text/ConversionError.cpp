// Failures from the exceptions of the engine, the platform and the standard library.
#include "ConversionError.h"

#include "FailureText.h"

#include <system_error>

namespace folivane::engine {
namespace {

FailureKind KindOf(platform::FileOperation operation) {
    using Op = platform::FileOperation;
    switch (operation) {
    case Op::None:
        break;
    case Op::Open:
        return FailureKind::FileNotOpened;
    case Op::Create:
        return FailureKind::FileNotCreated;
    case Op::Read:
        return FailureKind::FileNotRead;
    case Op::Write:
        return FailureKind::FileNotWritten;
    case Op::WriteToDisk:
        return FailureKind::FileNotWrittenToDisk;
    case Op::Close:
        return FailureKind::FileNotClosed;
    case Op::Seek:
        return FailureKind::FileNotSeeked;
    case Op::Resize:
        return FailureKind::FileNotResized;
    case Op::ReplaceProtected:
        return FailureKind::ProtectedFileNotKept;
    }
    return FailureKind::Unexpected;
}

} // namespace

ConversionError::ConversionError(Failure failure)
    : std::runtime_error(FailureText(failure)), failure_(std::move(failure)) {}

Failure FileFailure(const platform::EStreamError& error) {
    const FailureKind kind = KindOf(error.Operation());
    if (kind == FailureKind::Unexpected) return {.kind = kind, .detail = error.what()};
    return {.kind = kind, .path = error.Path(), .cause = error.Cause()};
}

Failure CaughtFailure() {
    try {
        throw;
    } catch (const ConversionError& error) {
        return error.Reason();
    } catch (const platform::EStreamError& error) {
        return FileFailure(error);
    } catch (const std::bad_alloc&) {
        return {.kind = FailureKind::OutOfMemory};
    } catch (const std::system_error& error) {
        const std::error_category& category = error.code().category();
        if (error.code().value() > 0 &&
            (category == std::generic_category() || category == std::system_category()))
            return {.kind = FailureKind::SystemRefused, .cause = error.code().value()};
        return {.kind = FailureKind::Unexpected, .detail = error.what()};
    } catch (const std::exception& error) {
        return {.kind = FailureKind::Unexpected, .detail = error.what()};
    } catch (...) {
        return {.kind = FailureKind::Unexpected, .detail = "an exception of no known type"};
    }
}

} // namespace folivane::engine
