#pragma once

#include <QString>
#include <QTemporaryDir>

// A fresh configuration folder for one test: XDG_CONFIG_HOME and HOME point into it from its
// construction on, so neither the settings file nor the autostart entry can reach the real
// home.
class CScratchConfig final
{
public:
    CScratchConfig();

    bool IsValid() const { return m_dir.isValid(); }
    QString Path() const { return m_dir.path(); }
    // $XDG_CONFIG_HOME/autostart/parlendo.desktop
    QString EntryPath() const;
    // A regular file in the folder, so that nothing, root included, can be created below it.
    QString Blocker() const;

private:
    QTemporaryDir m_dir;
};
