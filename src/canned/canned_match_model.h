#pragma once

#include <QAbstractListModel>
#include <vector>

class CCannedMatcher;

// The answers a CCannedMatcher found, as the rows of the completion list, best first. Keeps
// entry numbers only; the texts stay in the matcher, which outlives the model.
class CCannedMatchModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role
    {
        CategoryRole = Qt::UserRole + 1, // QString; the title is Qt::DisplayRole
        MessageRole,                     // QString
    };

    CCannedMatchModel(const CCannedMatcher& matcher, QObject* parent = nullptr);

    void SetEntries(std::vector<size_t> entries);
    // The matcher's entry shown in a row.
    size_t EntryAt(int row) const { return m_entries[static_cast<size_t>(row)]; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    const CCannedMatcher& m_matcher;
    std::vector<size_t> m_entries;
};
