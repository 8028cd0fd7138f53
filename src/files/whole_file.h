#pragma once

#include <QByteArrayView>
#include <QString>

// Writes bytes to path whole or not at all: through a temporary file beside it, synced to disk
// and renamed over the target, so a failure (full disk, no permission) leaves an existing file
// as it was. The folder is made when missing. Returns why it failed, empty when it did not.
// Every file the console keeps is written this way.
[[nodiscard]] QString WriteWholeFile(const QString& path, QByteArrayView bytes);
