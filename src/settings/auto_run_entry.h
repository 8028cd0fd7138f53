#pragma once

#include <QByteArray>
#include <QString>

// The desktop's autostart entry that starts the console when the operator logs in. It exists
// exactly while the settings' AutoRun is 1: the options dialog brings it in step after saving
// the record. Its Exec line names the executable that wrote it, so confirming the dialog from
// a console that was moved points the entry at the new place.
class CAutoRunEntry final
{
public:
    // An empty entry path means the per-user entry; an empty executable path means the running
    // executable (which needs the application object).
    explicit CAutoRunEntry(QString entryPath = {}, QString executablePath = {});

    // $XDG_CONFIG_HOME/autostart/parlendo.desktop (~/.config when the variable is not set).
    static QString DefaultEntryPath();
    // The entry for an executable. Its path is quoted and escaped as the Desktop Entry format
    // asks when it holds a reserved character, so a folder with blanks still starts.
    static QByteArray EntryText(const QString& executablePath);

    // Writes the entry atomically, replacing an older one, when enabled; removes it otherwise,
    // a missing entry being no error. 0, or rc::kFileNotSaved when the entry could not be
    // written or removed.
    int Update(bool enabled) const;

    const QString& EntryPath() const { return m_entryPath; }

private:
    QString m_entryPath;
    QString m_executablePath;
};
