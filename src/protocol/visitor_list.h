#pragma once

#include "semaphore_lock.h"
#include "visitor_entry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CSocketMessage;

// The visitors of the account's web sites, oldest first, as the operator session keeps them.
//
// Every operation takes the list's lock for its own length only, so any thread may call any of
// them. A pointer returned by Add, Find or At stays valid until that entry is removed, the list
// is loaded or cleared, or the list is destroyed; only the operator session's receive thread
// does any of that, so pointers are safe on that thread (inside the session's callbacks). Other
// threads read through FindCopy or Snapshot.
//
// Searches run from the front and the first match wins: the server may list an id twice.
class CVisitorList final
{
public:
    CVisitorList() = default;
    CVisitorList(const CVisitorList&) = delete;
    CVisitorList& operator=(const CVisitorList&) = delete;

    // Appends a copy of the entry and returns the stored one.
    const CVisitorEntry* Add(CVisitorEntry entry);
    const CVisitorEntry* Find(std::int32_t id) const;
    // Nothing when index is negative or not below Count().
    const CVisitorEntry* At(int index) const;
    int Count() const;
    // Takes the first entry with that id out of the list; the caller owns it.
    std::unique_ptr<CVisitorEntry> Remove(std::int32_t id);
    void Clear();

    std::optional<CVisitorEntry> FindCopy(std::int32_t id) const;
    std::vector<CVisitorEntry> Snapshot() const;

    // Replaces the list with the records of a reply 9001/1007 and returns the announced count:
    // below 1 (-16 when the count is missing) leaves the list empty. Time stamps are converted
    // to local time. Records the reply announces but does not carry are not invented, so a
    // lying count neither reads past the payload nor reserves memory; the result is then the
    // number of records actually loaded.
    int Load(const CSocketMessage& reply);

private:
    using Entries = std::vector<std::unique_ptr<CVisitorEntry>>;

    // Index of the first entry with that id, or -1. Caller holds the lock.
    std::ptrdiff_t IndexOf(std::int32_t id) const;

    mutable CSemaphoreLock m_lock;
    Entries m_entries;
    // The ids again, side by side with m_entries: the search by id, run for every visitor
    // event, then scans one contiguous array instead of visiting every entry.
    std::vector<std::int32_t> m_ids;
};
