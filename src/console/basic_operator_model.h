#pragma once

#include "user_entry.h"

#include <QStandardItemModel>
#include <vector>

// The operators list as plain rows: "Agent Name", "Agent Status", "Agent Host", the newest on
// top. Rows are found by id (ListRole::Id). Fed by the session bridge's operator signals.
class CBasicOperatorModel final : public QStandardItemModel
{
    Q_OBJECT

public:
    explicit CBasicOperatorModel(QObject* parent = nullptr);

    void Refresh(const std::vector<CUserEntry>& operators);
    // Adds a row, or updates the status and host of the row already listing that operator.
    void Add(const CUserEntry& entry);
    void Update(const CUserEntry& entry);
    void Remove(const CUserEntry& entry);

    int RowOf(int operatorId) const;

private:
    void Insert(const CUserEntry& entry);
    void SetStatus(int row, int status);
};
