#pragma once

#include "row_sequence.h"
#include "user_entry.h"

#include <QAbstractTableModel>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class CSessionBridge;

// The operators list: one row per operator of the account with name, status and host, fed with
// the copies of the session's entries that the session bridge delivers on the GUI thread.
//
// New rows go on top, so a refresh shows the session's operators in reverse order. A row's
// status image is 1 for online, 2 for busy and for away; a status the console does not know is
// shown as "online" and leaves the image as it was (0 for a new row). Searches by id find the
// topmost row with it.
class COperatorListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column : int
    {
        kNameColumn = 0,
        kStatusColumn = 1,
        kHostColumn = 2,
        kColumnCount = 3,
    };
    enum Role : int
    {
        IdRole = Qt::UserRole + 1,
        ImageRole, // index into the operators image list
    };
    static constexpr int kImageNone = 0;
    static constexpr int kImageOnline = 1;
    static constexpr int kImageNotAvailable = 2;

    explicit COperatorListModel(QObject* parent = nullptr);
    ~COperatorListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Follows the session through its bridge: refreshes, arrivals, departures and status changes,
    // and an empty list at every log-in and log-out. The bridge must outlive the model.
    void Follow(const CSessionBridge& bridge);

    // The session replaced its operator list.
    void Reset(const std::vector<CUserEntry>& entries);
    // An operator signed in: a new row on top, or the existing row's status and host (its name
    // stays as it is).
    void Add(const CUserEntry& entry);
    // An operator's status changed; the host stays. False when the operator is not listed.
    bool Update(const CUserEntry& entry);
    bool Remove(const CUserEntry& entry);
    void Clear();

    // The topmost row with that operator id, or -1.
    int RowOfId(std::int32_t operatorId) const;

private:
    struct Row;

    Row* FindFirst(std::int32_t operatorId) const;
    Row* RowAt(int row) const;
    // A new row on top with the name and image 0; no model signals.
    Row* LinkOnTop(const CUserEntry& entry);
    static void SetStatus(Row* row, int status);
    void ForgetAll();

    CRowSequence m_rows;
    std::unordered_map<std::int32_t, std::vector<std::unique_ptr<Row>>> m_byId;
};
