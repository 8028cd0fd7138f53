#pragma once

#include "user_entry.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <vector>

// The operators the invite dialog offers: every operator of the session but the operator, in
// the reverse of the session's order (newest first), with the status word and the picture of
// the operators image strip (0 status unknown, 1 online, 2 busy or away).
class CInviteListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column : int
    {
        kNameColumn = 0,
        kStatusColumn = 1,
        kColumnCount = 2,
    };
    // The operator's id on every index of a row.
    static constexpr int IdRole = Qt::UserRole + 1;
    // The index of the row's picture among the operators' states (CArtIconEngine).
    static constexpr int ImageRole = Qt::UserRole + 2;

    explicit CInviteListModel(QObject* parent = nullptr);

    // operators in the session's order.
    void SetOperators(const std::vector<CUserEntry>& operators, int ownOperatorId);
    // The strip index for a status.
    static int ImageOf(int status);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        int id;
        QString name;
        int status;
    };
    std::vector<Row> m_rows;
    QList<QIcon> m_images;
};
