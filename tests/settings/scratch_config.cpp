#include "scratch_config.h"

#include <QFile>

CScratchConfig::CScratchConfig()
{
    qputenv("HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("home"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
}

QString CScratchConfig::EntryPath() const
{
    return m_dir.filePath(QStringLiteral("config/autostart/parlendo.desktop"));
}

QString CScratchConfig::Blocker() const
{
    const QString path = m_dir.filePath(QStringLiteral("blocker"));
    QFile file(path);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.write("not a folder");
    return path;
}
