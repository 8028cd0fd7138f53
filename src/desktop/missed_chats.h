#pragma once

#include "missed_chat.h"
#include "missed_chats_file.h"

#include <QAbstractTableModel>
#include <QList>
#include <chrono>
#include <functional>

// The "Missed chats" list: the offers that closed unanswered, newest first, with the count of
// those the operator has not looked at yet. Kept in a file across restarts; an entry goes once
// it is older than the keeping time, at the next load or addition. Every change is saved at once,
// so that a crash loses nothing.
class CMissedChats final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        TimeColumn,
        FromColumn,
        KindColumn,
        DetailsColumn,
        ColumnCount
    };

    static constexpr std::chrono::hours kKeepFor{24};
    using Clock = std::function<QDateTime()>;

    // Nothing is read until Load, which a change before it runs first, so that no change ever
    // saves over entries it has not seen.
    explicit CMissedChats(const QString& filePath = CMissedChatsFile::DefaultPath(),
                          QObject* parent = nullptr);

    // Where the time comes from (the system's clock unless set), and how long entries stay.
    void SetClock(Clock clock);
    void SetKeepFor(std::chrono::milliseconds keepFor);

    // Replaces the list with the file's. A damaged file is left alone, the list starts empty,
    // and Note says so.
    void Load();
    // An offer closed unanswered now.
    void Add(CMissedChat chat);
    // The operator has looked at the list.
    void MarkAllSeen();
    int UnseenCount() const;
    const QList<CMissedChat>& Entries() const { return m_entries; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    static QString Title();

signals:
    void UnseenCountChanged(int unseen);
    // Something the operator should be told about the file: it was damaged, or could not be
    // written. Nothing stops.
    void Note(const QString& text);

private:
    void Prune();
    void Save();
    void Replace(QList<CMissedChat> entries);

    CMissedChatsFile m_file;
    Clock m_clock;
    std::chrono::milliseconds m_keepFor = kKeepFor;
    QList<CMissedChat> m_entries; // newest first
    bool m_loaded = false;
};
