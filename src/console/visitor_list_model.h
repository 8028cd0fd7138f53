#pragma once

#include "row_sequence.h"
#include "visitor_entry.h"

#include <QAbstractTableModel>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CAppSettings;
class CSessionBridge;

// The visitors list: one row per visitor browsing the account's web sites, fed with the copies
// of the session's entries that the session bridge delivers on the GUI thread.
//
// Each row owns a display record: a copy of the entry with the page address replaced by the
// address to show (domain-name patterns taken out), the invited flag and the minute count. The
// records are created, changed and freed on the GUI thread only, through this model.
//
// Row order: a new row goes directly above the first row with the same group key (number2), or
// on top when there is none, so rows of one group stay together with the newest on top.
// Visitors whose IP text equals one of the blocked addresses are never listed. The settings are
// read at each event, so a change made in the options applies to the next one.
//
// Ids: the server may list an id twice in a refresh; then every search by id finds the topmost
// row with it, as a search of the list from the top would.
class CVisitorListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column : int
    {
        kGroupColumn = 0, // shows the group key as text; the delegate draws the row instead
        kInfoColumn = 1,
        kColumnCount = 2,
    };
    enum Role : int
    {
        IdRole = Qt::UserRole + 1,
        GroupKeyRole,
        CaptionRole,
        AddressRole, // the display address
        MinutesRole,
        InvitedRole,
        IpRole,
        TimeRole,
    };

    // The settings are not owned and must outlive the model.
    explicit CVisitorListModel(const CAppSettings* settings, QObject* parent = nullptr);
    ~CVisitorListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Both columns have empty headings.
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Follows the session through its bridge: refreshes, arrivals, departures and invitations,
    // and an empty list at every log-in and log-out. The bridge must outlive the model.
    void Follow(const CSessionBridge& bridge);

    // The session replaced its visitor list: every row goes, then one row per entry that is not
    // blocked, in the snapshot's order.
    void Reset(const std::vector<CVisitorEntry>& entries);
    // A visitor arrived. False, and nothing changes, when it is blocked or already listed;
    // true when a row was added, which is when the window announces the visitor.
    bool AddVisitor(const CVisitorEntry& entry);
    // A visitor left: its row goes, if it has one. False when there was none.
    bool RemoveVisitor(const CVisitorEntry& entry);
    // The server confirmed an invitation: the caption of the visitor's row turns red for good.
    bool MarkInvited(std::int32_t visitorId);
    // The same for a row the operator selected.
    bool MarkInvitedAt(int row);
    // A keep-alive tick: every row has been listed one minute longer.
    void TickMinutes();
    void Clear();

    bool IsBlocked(const CVisitorEntry& entry) const;
    // The topmost row with that visitor id, or -1.
    int RowOfId(std::int32_t visitorId) const;
    // The display record of a row; null out of range. Valid until the row is deleted.
    const CVisitorEntry* Record(int row) const;

signals:
    // A refreshed list has been listed.
    void Listed(int count);
    // A visitor who arrived while the console runs has been listed (not blocked, not listed
    // already): the console announces it.
    void VisitorArrived(const CVisitorEntry& entry);

private:
    struct Row;
    using Patterns = std::array<std::string, 5>;
    using Blocked = std::array<QString, 5>;

    Patterns CurrentPatterns() const;
    Blocked CurrentBlocked() const;
    static bool IsBlockedBy(const CVisitorEntry& entry, const Blocked& blocked);
    // Where a row of that group goes: above the group's top row, or 0.
    int GroupPosition(std::int32_t groupKey) const;
    // Links a new row at its group position; no model signals.
    Row* Link(const CVisitorEntry& entry, const Patterns& patterns);
    Row* FindFirst(std::int32_t visitorId) const;
    Row* RowAt(int row) const;
    void Unlink(Row* row);
    void ForgetAll();

    const CAppSettings* m_settings;
    CRowSequence m_rows;
    // Owns every row's record, by visitor id (almost always one row per id).
    std::unordered_map<std::int32_t, std::vector<std::unique_ptr<Row>>> m_byId;
    // The top row of each group on the list.
    std::unordered_map<std::int32_t, Row*> m_groupTop;
};
