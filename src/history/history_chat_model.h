#pragma once

#include "archive_records.h"

#include <QAbstractTableModel>
#include <QList>

class CChatArchive;

// The chats of the history window's list, newest first, read from the archive a page at a time
// as the view scrolls down (fetchMore). Columns: start, visitor, operator, lines (or matching
// lines while searching), transferred.
class CHistoryChatModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        Started,
        Visitor,
        Operator,
        Lines,
        Transferred,
        ColumnCount,
    };
    static constexpr int kPage = 200;

    // The archive is not owned and must outlive the model.
    explicit CHistoryChatModel(CChatArchive& archive, QObject* parent = nullptr);

    // Lists the chats that pass filter, from the newest.
    void SetFilter(const CChatFilter& filter);
    const CChatFilter& Filter() const { return m_filter; }
    // Reads the list again (the archive changed), as far down as it was read before.
    void Reload();

    const CArchivedChat& Chat(int row) const { return m_chats.at(row); }
    int RowOf(qint64 chatId) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    void Load(int count);

    CChatArchive& m_archive;
    CChatFilter m_filter;
    QList<CArchivedChat> m_chats;
    bool m_complete = true; // every chat that passes the filter is listed
};
