#pragma once

// What the history tests share: a scratch data folder, a connection of the test's own to the
// archive file (another program's, or a second console's), and a few chats to look at.

#include "chat_archive.h"

#include <QtSql>

namespace history_testing {

struct ScratchData final
{
    ScratchData() { qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path())); }
    QString Folder() const { return dir.path() + "/Parlendo"; }
    QString File() const { return Folder() + "/history.sqlite"; }
    QTemporaryDir dir;
};

struct RawConnection final
{
    explicit RawConnection(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawConnection() { QSqlDatabase::removeDatabase(name); }
    // The first value the statement gives, or its error's text.
    QString Exec(const QString& sql) const
    {
        QSqlQuery query(QSqlDatabase::database(name));
        if (!query.exec(sql))
            return query.lastError().text();
        return query.next() ? query.value(0).toString() : QString();
    }
    const QString name = QString::number(quintptr(this));
};

inline CTranscriptLine Said(const QString& speaker, const QString& text, bool own = false,
                            qint64 at = CChatArchive::Now())
{
    return {at, LineKind::Line, speaker, own, text};
}

// From the newest: Ann with Peter, Bob with Jürgen, Ann with Mary (going on: its key returned).
inline CChatArchive::ChatKey FillThreeChats(CChatArchive& archive, qint64 now)
{
    const auto chat = [&](const QString& op, const QString& visitor, int hoursAgo,
                          const QStringList& texts) {
        const qint64 at = now - hoursAgo * 3600000LL;
        const CChatArchive::ChatKey key = archive.BeginChat(hoursAgo, op, at);
        archive.SetVisitor(key, visitor);
        archive.AddLine(key, {at, LineKind::Notice, {}, false, visitor + " has joined this call"});
        for (int i = 0; i < texts.size(); ++i)
            archive.AddLine(key, Said(i % 2 ? op : visitor, texts[i], i % 2, at + 1000 * (i + 1)));
        return key;
    };
    const auto mary = chat("Ann", "Mary", 3, {"My parcel is late", "Sorry to hear that."});
    archive.EndChat(chat("Bob", "Jürgen", 2, {"Is the Café open on Sunday?", "It is."}));
    archive.EndChat(chat("Ann", "Peter", 1, {"I would like a refund", "Of course."}));
    return mary;
}

} // namespace history_testing
