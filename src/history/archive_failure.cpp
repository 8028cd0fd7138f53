#include "archive_failure.h"

#include <QSqlError>

namespace {

// SQLite's primary result codes; extended codes carry them in their low byte.
constexpr int kError = 1;
constexpr int kPerm = 3;
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kNoMem = 7;
constexpr int kReadOnly = 8;
constexpr int kIoErr = 10;
constexpr int kCorrupt = 11;
constexpr int kFull = 13;
constexpr int kCantOpen = 14;
constexpr int kNotADb = 26;

} // namespace

ArchiveFailure ClassifyFailure(const QSqlError& error)
{
    if (error.type() == QSqlError::NoError)
        return ArchiveFailure::None;
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    if (!numeric)
        return ArchiveFailure::Unusable; // the driver's own failure: nothing SQLite said
    switch (code) {
    case kBusy:
    case kLocked:
        return ArchiveFailure::Busy;
    case kCorrupt:
    case kNotADb:
        return ArchiveFailure::Damaged;
    case kNoMem:
    case kIoErr:
    case kFull:
        return ArchiveFailure::Transient;
    case kPerm:
    case kReadOnly:
    case kCantOpen:
    case kError:
    default:
        return ArchiveFailure::Unusable;
    }
}

CArchiveProblem ProblemOf(const QSqlError& error)
{
    const ArchiveFailure failure = ClassifyFailure(error);
    if (failure == ArchiveFailure::None)
        return {};
    // The driver's own texts ("Unable to fetch row") say less than SQLite's.
    return {failure, error.databaseText().isEmpty() ? error.driverText() : error.databaseText()};
}
