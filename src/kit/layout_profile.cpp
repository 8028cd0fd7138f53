#include "layout_profile.h"

#include "result_codes.h"
#include "stored_number.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <algorithm>
#include <cstdint>
#include <limits>
#include <sys/stat.h>
#include <utility>

namespace {

QString Key(const QString& section, const char* name)
{
    return section + QLatin1Char('/') + QString::fromLatin1(name);
}

QString ColumnKey(const QString& section, int column)
{
    return section + QLatin1Char('/') + QString::fromLatin1(LayoutKey::ColumnPattern).arg(column);
}

// Decimal text of a 32-bit integer; anything else takes the fallback. Numbers come back as
// numbers rather than texts when QSettings serves them from its in-process cache.
int ReadInt(const QSettings& store, const QString& key, int fallback)
{
    const std::optional<qlonglong> number = StoredNumber(store.value(key));
    if (!number || *number < std::numeric_limits<std::int32_t>::min() ||
        *number > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return static_cast<int>(*number);
}

// A committed atomic write replaces the file by a new one; nothing else changes its inode.
std::optional<std::pair<dev_t, ino_t>> FileIdentity(const QString& path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::pair(info.st_dev, info.st_ino);
}

} // namespace

CLayoutProfile::CLayoutProfile(QString filePath)
    : m_filePath(filePath.isEmpty() ? DefaultFilePath() : std::move(filePath))
{
}

QString CLayoutProfile::DefaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Parlendo/parlendo.ini");
}

int CLayoutProfile::SaveWindowPlacement(const QString& section,
                                        const WindowPlacement& placement) const
{
    using namespace LayoutKey;
    return Write(section, {{QString::fromLatin1(Show), placement.show},
                           {QString::fromLatin1(Left), placement.left},
                           {QString::fromLatin1(Right), placement.right},
                           {QString::fromLatin1(Top), placement.top},
                           {QString::fromLatin1(Bottom), placement.bottom}});
}

std::optional<WindowPlacement> CLayoutProfile::LoadWindowPlacement(const QString& section) const
{
    constexpr int kNothingStored = -1;
    const QSettings store(m_filePath, QSettings::IniFormat);
    WindowPlacement placement;
    placement.show = ReadInt(store, Key(section, LayoutKey::Show), kNothingStored);
    if (placement.show == kNothingStored)
        return std::nullopt;
    placement.left = ReadInt(store, Key(section, LayoutKey::Left), placement.left);
    placement.right = ReadInt(store, Key(section, LayoutKey::Right), placement.right);
    placement.top = ReadInt(store, Key(section, LayoutKey::Top), placement.top);
    placement.bottom = ReadInt(store, Key(section, LayoutKey::Bottom), placement.bottom);
    return placement;
}

int CLayoutProfile::SaveColumnWidths(const QString& section, const QList<int>& widths) const
{
    QList<std::pair<QString, int>> values;
    values.reserve(widths.size() + 1);
    values.append({QString::fromLatin1(LayoutKey::NumCols), static_cast<int>(widths.size())});
    for (int column = 0; column < widths.size(); ++column)
        values.append({QString::fromLatin1(LayoutKey::ColumnPattern).arg(column), widths[column]});
    return Write(section, values);
}

QList<int> CLayoutProfile::LoadColumnWidths(const QString& section, int columnCount) const
{
    const QSettings store(m_filePath, QSettings::IniFormat);
    // Bounded by the list's own columns, so a damaged NumCols cannot make this loop long.
    const int stored = ReadInt(store, Key(section, LayoutKey::NumCols), 0);
    const int count = std::max(0, std::min(stored, columnCount));
    QList<int> widths;
    widths.reserve(count);
    for (int column = 0; column < count; ++column) {
        const int value = ReadInt(store, ColumnKey(section, column), 0);
        widths.append(static_cast<int>(static_cast<std::uint16_t>(value)));
    }
    return widths;
}

int CLayoutProfile::Write(const QString& section,
                          const QList<std::pair<QString, int>>& values) const
{
    // The folder is shared with the settings file, which holds the password.
    const QFileInfo folder(QFileInfo(m_filePath).absolutePath());
    if (!folder.isDir()) {
        const QString parent = folder.absolutePath();
        if (!QDir().mkpath(parent))
            return rc::kFileNotSaved;
        if (!QDir(parent).mkdir(folder.fileName(),
                                QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
            !QFileInfo(folder.absoluteFilePath()).isDir())
            return rc::kFileNotSaved;
    }

    const auto before = FileIdentity(m_filePath);
    QSettings store(m_filePath, QSettings::IniFormat);
    store.beginGroup(section);
    for (const auto& [name, value] : values)
        store.setValue(name, value);
    store.endGroup();
    store.sync();
    // QSettings keeps only the first error it meets, so the FormatError of a damaged profile
    // would hide a failed write: whether a new file took the old one's place tells instead.
    // A short write on a full disk still passes for success (Qt 6.4 commits the cut file); the
    // settings file guards against that, this profile holds nothing worth the extra step.
    if (store.status() == QSettings::FormatError)
        return FileIdentity(m_filePath) != before ? rc::kOk : rc::kFileNotSaved;
    return store.status() == QSettings::NoError ? rc::kOk : rc::kFileNotSaved;
}
