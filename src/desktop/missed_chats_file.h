#pragma once

#include "missed_chat.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <optional>

// The file that keeps the missed chats across restarts: a small JSON document, replaced whole
// on each save so that a crash or a full disk leaves the previous list intact.
class CMissedChatsFile final
{
    Q_DECLARE_TR_FUNCTIONS(CMissedChatsFile)

public:
    // $XDG_DATA_HOME/Parlendo/missed-chats.json (~/.local/share when the variable is not set).
    static QString DefaultPath();

    explicit CMissedChatsFile(QString path) : m_path(std::move(path)) {}

    // The entries; none when there is no file; nothing when the file is damaged, with why in
    // error.
    std::optional<QList<CMissedChat>> Load(QString* error) const;
    // Creates the folder on the way. False when it could not be written whole; the file on disk
    // is then as it was.
    bool Save(const QList<CMissedChat>& entries, QString* error) const;

private:
    QString m_path;
};
