#pragma once

// What the history tests share: a scratch data folder per test, a connection of the test's own
// to the archive file (another program's, or a second console's), and a few chats to look at.

#include "chat_archive.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

namespace history_testing {

// Points $XDG_DATA_HOME at a fresh folder for as long as it lives.
class ScratchData final
{
public:
    ScratchData() { qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.path())); }
    QString Folder() const { return m_dir.path() + QStringLiteral("/Parlendo"); }
    QString File() const { return Folder() + QStringLiteral("/history.sqlite"); }

private:
    QTemporaryDir m_dir;
};

class RawConnection final
{
public:
    explicit RawConnection(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawConnection() { QSqlDatabase::removeDatabase(m_name); }
    // The error's text, empty when the statement ran; value gets the first column of the first row.
    QString Exec(const QString& sql, QVariant* value = nullptr)
    {
        QSqlQuery query(QSqlDatabase::database(m_name));
        if (!query.exec(sql))
            return query.lastError().text();
        if (value)
            *value = query.next() ? query.value(0) : QVariant();
        return {};
    }

private:
    const QString m_name = QStringLiteral("test-%1").arg(quintptr(this));
};

inline CTranscriptLine Said(const QString& speaker, const QString& text, bool own = false,
                            qint64 at = CChatArchive::Now())
{
    return {at, LineKind::Line, speaker, own, text};
}

// Three chats from the newest: Ann with Peter, Bob with Jürgen, Ann with Mary (still going; its
// key is returned).
inline CChatArchive::ChatKey FillThreeChats(CChatArchive& archive, qint64 now)
{
    const auto chat = [&](int callId, const QString& op, const QString& visitor, qint64 at,
                          const QStringList& texts, bool end) {
        const CChatArchive::ChatKey key = archive.BeginChat(callId, op, at);
        archive.SetVisitor(key, visitor);
        archive.AddLine(key, {at, LineKind::Notice, {}, false, visitor + " has joined this call"});
        for (int i = 0; i < texts.size(); ++i)
            archive.AddLine(key, Said(i % 2 ? op : visitor, texts[i], i % 2, at + 1000 * (i + 1)));
        if (end)
            archive.EndChat(key, at + 60000);
        return key;
    };
    const auto mary = chat(1, "Ann", "Mary", now - 3 * 3600000,
                           {"My parcel is late", "Sorry to hear that. Since when?"}, false);
    chat(2, "Bob", QString::fromUtf8("Jürgen"), now - 2 * 3600000,
         {QString::fromUtf8("Is the Café open on Sunday?"), "It is, from ten."}, true);
    chat(3, "Ann", "Peter", now - 3600000, {"I would like a refund", "Of course."}, true);
    return mary;
}

} // namespace history_testing
