#pragma once

#include "keyed_entries.h"
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
// them. A pointer returned by FindOrAdd, Find or SetStatus stays valid until that entry is
// removed, the list is loaded or cleared, or the list is destroyed; only the receive thread
// that fills the list does any of that, so pointers are safe on that thread (inside its
// callbacks). Other threads read through FindCopy or Snapshot.
//
// Lookups by key take constant time, and a key is listed once. The list holds at most its
// capacity (limits::kOperators, limits::kParticipants): what comes beyond is dropped, and logged.
class CUserList final
{
public:
    // what names the entries in the log ("operators", "participants").
    CUserList(const char* what, int capacity);
    CUserList(const CUserList&) = delete;
    CUserList& operator=(const CUserList&) = delete;

    const CUserEntry* Find(std::int32_t id, std::int32_t type) const;
    // Returns the entry already listed for (values.id, values.type), unchanged, or appends a
    // copy of values; nothing when it is not listed and the list is full. *added tells which.
    const CUserEntry* FindOrAdd(const CUserEntry& values, bool* added = nullptr);
    int Count() const;
    // Takes the entry with that key out of the list; the caller owns it.
    std::unique_ptr<CUserEntry> Remove(std::int32_t id, std::int32_t type);
    void Clear();
    // Number of entries with that status; -1 counts them all.
    int CountWithStatus(std::int32_t status) const;
    // Sets the status of the entry with that key; nothing when it is not listed.
    const CUserEntry* SetStatus(std::int32_t id, std::int32_t type, std::int32_t status);

    std::optional<CUserEntry> FindCopy(std::int32_t id, std::int32_t type) const;
    std::vector<CUserEntry> Snapshot() const;

    // Replaces the list with the records of a reply 9001/1006 and returns the announced count
    // when it is below 1 (-16 when missing; the list is then empty), else the number of records
    // read: a record repeating a key leaves the first one in place, records announced but not
    // carried are not invented, and no more records are read than the list holds.
    int Load(const CSocketMessage& reply);

private:
    static std::uint64_t KeyOf(std::int32_t id, std::int32_t type);
    static std::uint64_t KeyOfEntry(const CUserEntry& entry) { return KeyOf(entry.id, entry.type); }
    using Entries = CKeyedEntries<CUserEntry, std::uint64_t, &CUserList::KeyOfEntry>;

    const char* const m_what;
    const int m_capacity;
    mutable CSemaphoreLock m_lock;
    Entries m_entries;
};
