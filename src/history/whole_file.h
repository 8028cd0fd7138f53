#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes to path whole or not at all: through a temporary file beside it, synced to disk
// and renamed over the target, so a failure (full disk, no permission) leaves an existing file
// as it was. Returns why it failed, empty when it did not.
[[nodiscard]] QString WriteWholeFile(const QString& path, const QByteArray& bytes);
