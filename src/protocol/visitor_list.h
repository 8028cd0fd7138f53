#pragma once

#include "keyed_entries.h"
#include "semaphore_lock.h"
#include "visitor_entry.h"
#include "wire_limits.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CSocketMessage;

// The visitors of the account's web sites, oldest first, as the operator session keeps them.
//
// Every operation takes the list's lock for its own length only, so any thread may call any of
// them. A pointer returned by Add or Find stays valid until that entry is removed, the list is
// loaded or cleared, or the list is destroyed; only the operator session's receive thread does
// any of that, so pointers are safe on that thread (inside the session's callbacks). Other
// threads read through FindCopy or Snapshot.
//
// Lookups by id take constant time; the server may list an id twice, and then the first entry
// is the one found and removed. The list holds at most its capacity (a hostile server could
// otherwise make it hold millions): what comes beyond is dropped, and logged.
class CVisitorList final
{
public:
    explicit CVisitorList(int capacity = limits::kVisitors);
    CVisitorList(const CVisitorList&) = delete;
    CVisitorList& operator=(const CVisitorList&) = delete;

    // Appends the entry and returns the stored one; nothing when the list is full.
    const CVisitorEntry* Add(CVisitorEntry entry);
    const CVisitorEntry* Find(std::int32_t id) const;
    int Count() const;
    // Takes the first entry with that id out of the list; the caller owns it.
    std::unique_ptr<CVisitorEntry> Remove(std::int32_t id);
    void Clear();

    std::optional<CVisitorEntry> FindCopy(std::int32_t id) const;
    std::vector<CVisitorEntry> Snapshot() const;

    // Replaces the list with the records of a reply 9001/1007 and returns the announced count
    // when it is below 1 (-16 when missing; the list is then empty), else the number of records
    // loaded: a lying count neither reads past the payload nor reserves memory, and records past
    // the capacity are dropped. Time stamps are converted to local time.
    int Load(const CSocketMessage& reply);

private:
    static std::int32_t KeyOf(const CVisitorEntry& entry) { return entry.id; }
    using Entries = CKeyedEntries<CVisitorEntry, std::int32_t, &CVisitorList::KeyOf>;

    const int m_capacity;
    mutable CSemaphoreLock m_lock;
    Entries m_entries;
};
