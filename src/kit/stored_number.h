#pragma once

#include <QVariant>
#include <optional>

// A number read back from QSettings: decimal text as the INI file holds it, or a number where
// QSettings serves the value from its in-process cache. Anything else is no number. The caller
// decides which range it takes.
std::optional<qlonglong> StoredNumber(const QVariant& value);
