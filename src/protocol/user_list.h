#pragma once

#include "semaphore_lock.h"
#include "user_entry.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class CSocketMessage;

// Users keyed by (id, type), oldest first: the operators of the account (one list per operator
// session) or the participants of a call (one list per call).
//
// Every operation takes the list's lock for its own length only, so any thread may call any of
// them. A pointer returned by FindOrAdd, Find, At or SetStatus stays valid until that entry is
// removed, the list is loaded or cleared, or the list is destroyed; only the receive thread
// that fills the list does any of that, so pointers are safe on that thread (inside its
// callbacks). Other threads read through FindCopy or Snapshot.
//
// Searches run from the front and the first match wins.
class CUserList final
{
public:
    CUserList() = default;
    CUserList(const CUserList&) = delete;
    CUserList& operator=(const CUserList&) = delete;

    const CUserEntry* Find(std::int32_t id, std::int32_t type) const;
    // Returns the entry already listed for (values.id, values.type), unchanged, or appends a
    // copy of values. *added tells which.
    const CUserEntry* FindOrAdd(const CUserEntry& values, bool* added = nullptr);
    const CUserEntry* At(int index) const;
    int Count() const;
    // Takes the first entry with that key out of the list; the caller owns it.
    std::unique_ptr<CUserEntry> Remove(std::int32_t id, std::int32_t type);
    void Clear();
    // Number of entries with that status; -1 counts them all.
    int CountWithStatus(std::int32_t status) const;
    // Sets the status of the first entry with that key; nothing when it is not listed.
    const CUserEntry* SetStatus(std::int32_t id, std::int32_t type, std::int32_t status);

    std::optional<CUserEntry> FindCopy(std::int32_t id, std::int32_t type) const;
    std::vector<CUserEntry> Snapshot() const;

    // Replaces the list with the records of a reply 9001/1006 and returns the announced count:
    // below 1 (-16 when the count is missing) leaves the list empty. A record repeating a key
    // leaves the first one in place. Records announced but not carried are not invented; the
    // result is then the number of records the reply carried.
    int Load(const CSocketMessage& reply);

private:
    using Entries = std::vector<std::unique_ptr<CUserEntry>>;

    // Caller holds the lock.
    static CUserEntry* FindIn(const Entries& entries, std::int32_t id, std::int32_t type);

    mutable CSemaphoreLock m_lock;
    Entries m_entries;
};
