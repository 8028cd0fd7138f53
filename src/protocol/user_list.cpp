#include "user_list.h"

#include "message_codes.h"
#include "socket_message.h"

#include <algorithm>

CUserList::CUserList(const char* what, int capacity)
    : m_what(what), m_capacity(capacity), m_entries(what, static_cast<std::size_t>(capacity))
{
}

std::uint64_t CUserList::KeyOf(std::int32_t id, std::int32_t type)
{
    return (std::uint64_t{static_cast<std::uint32_t>(id)} << 32) | static_cast<std::uint32_t>(type);
}

const CUserEntry* CUserList::Find(std::int32_t id, std::int32_t type) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return m_entries.Find(KeyOf(id, type));
}

const CUserEntry* CUserList::FindOrAdd(const CUserEntry& values, bool* added)
{
    CSemaphoreLock::Scoped lock(m_lock);
    const std::uint64_t key = KeyOf(values.id, values.type);
    const CUserEntry* entry = m_entries.Find(key);
    const bool fresh = !entry;
    if (fresh)
        entry = m_entries.Append(values);
    if (added)
        *added = fresh && entry;
    return entry;
}

int CUserList::Count() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return static_cast<int>(m_entries.Size());
}

std::unique_ptr<CUserEntry> CUserList::Remove(std::int32_t id, std::int32_t type)
{
    CSemaphoreLock::Scoped lock(m_lock);
    return m_entries.Remove(KeyOf(id, type));
}

void CUserList::Clear()
{
    Entries old(m_what, static_cast<std::size_t>(m_capacity));
    CSemaphoreLock::Scoped lock(m_lock);
    old.Swap(m_entries);
    // Declared before the lock guard, old is freed after the lock is released.
}

int CUserList::CountWithStatus(std::int32_t status) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    const auto& entries = m_entries.InOrder();
    if (status == -1)
        return static_cast<int>(entries.size());
    return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                          [&](const CUserEntry& e) { return e.status == status; }));
}

const CUserEntry* CUserList::SetStatus(std::int32_t id, std::int32_t type, std::int32_t status)
{
    CSemaphoreLock::Scoped lock(m_lock);
    CUserEntry* entry = m_entries.Find(KeyOf(id, type));
    if (entry)
        entry->status = status;
    return entry;
}

std::optional<CUserEntry> CUserList::FindCopy(std::int32_t id, std::int32_t type) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    if (const CUserEntry* entry = m_entries.Find(KeyOf(id, type)))
        return *entry;
    return std::nullopt;
}

std::vector<CUserEntry> CUserList::Snapshot() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return {m_entries.InOrder().begin(), m_entries.InOrder().end()};
}

int CUserList::Load(const CSocketMessage& reply)
{
    namespace u = msg::user;
    const std::int32_t announced = reply.GetIntField(msg::kListFieldCount);

    Entries fresh(m_what, static_cast<std::size_t>(m_capacity));
    const int fields = reply.FieldCount();
    std::int32_t carried = 0;
    for (std::int32_t i = 0; i < announced; ++i) {
        const long long base = msg::kListFirstField + static_cast<long long>(u::kFields) * i;
        if (base > fields)
            break; // announced, not carried
        // A hostile reply may carry millions of records, repeated keys too: read no further.
        if (fresh.Full() || i == m_capacity) {
            fresh.NoteDropped();
            break;
        }
        const int b = static_cast<int>(base);
        ++carried;
        const std::int32_t id = reply.GetIntField(b + u::kId);
        const std::int32_t type = reply.GetIntField(b + u::kType);
        if (fresh.Find(KeyOf(id, type)))
            continue;
        CUserEntry entry;
        entry.id = id;
        entry.number = reply.GetIntField(b + u::kNumber);
        entry.type = type;
        entry.status = reply.GetIntField(b + u::kStatus);
        entry.text1 = reply.FieldView(b + u::kText1);
        entry.text2 = reply.FieldView(b + u::kText2);
        entry.text3 = reply.FieldView(b + u::kText3);
        fresh.Append(std::move(entry));
    }

    {
        CSemaphoreLock::Scoped lock(m_lock);
        m_entries.Swap(fresh);
    }
    return announced < 1 ? announced : carried;
}
