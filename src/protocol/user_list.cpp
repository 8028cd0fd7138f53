#include "user_list.h"

#include "message_codes.h"
#include "socket_message.h"

#include <algorithm>
#include <unordered_set>

CUserEntry* CUserList::FindIn(const Entries& entries, std::int32_t id, std::int32_t type)
{
    for (const auto& entry : entries) {
        if (entry->id == id && entry->type == type)
            return entry.get();
    }
    return nullptr;
}

const CUserEntry* CUserList::Find(std::int32_t id, std::int32_t type) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return FindIn(m_entries, id, type);
}

const CUserEntry* CUserList::FindOrAdd(const CUserEntry& values, bool* added)
{
    CSemaphoreLock::Scoped lock(m_lock);
    if (const CUserEntry* existing = FindIn(m_entries, values.id, values.type)) {
        if (added)
            *added = false;
        return existing;
    }
    m_entries.push_back(std::make_unique<CUserEntry>(values));
    if (added)
        *added = true;
    return m_entries.back().get();
}

const CUserEntry* CUserList::At(int index) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size())
        return nullptr;
    return m_entries[static_cast<size_t>(index)].get();
}

int CUserList::Count() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return static_cast<int>(m_entries.size());
}

std::unique_ptr<CUserEntry> CUserList::Remove(std::int32_t id, std::int32_t type)
{
    CSemaphoreLock::Scoped lock(m_lock);
    const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& entry) {
        return entry->id == id && entry->type == type;
    });
    if (it == m_entries.end())
        return nullptr;
    std::unique_ptr<CUserEntry> entry = std::move(*it);
    m_entries.erase(it);
    return entry;
}

void CUserList::Clear()
{
    Entries old;
    CSemaphoreLock::Scoped lock(m_lock);
    old.swap(m_entries);
    // Declared before the lock guard, old is freed after the lock is released.
}

int CUserList::CountWithStatus(std::int32_t status) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    if (status == -1)
        return static_cast<int>(m_entries.size());
    return static_cast<int>(
        std::count_if(m_entries.begin(), m_entries.end(),
                      [&](const auto& entry) { return entry->status == status; }));
}

const CUserEntry* CUserList::SetStatus(std::int32_t id, std::int32_t type, std::int32_t status)
{
    CSemaphoreLock::Scoped lock(m_lock);
    CUserEntry* entry = FindIn(m_entries, id, type);
    if (entry)
        entry->status = status;
    return entry;
}

std::optional<CUserEntry> CUserList::FindCopy(std::int32_t id, std::int32_t type) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    if (const CUserEntry* entry = FindIn(m_entries, id, type))
        return *entry;
    return std::nullopt;
}

std::vector<CUserEntry> CUserList::Snapshot() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    std::vector<CUserEntry> copy;
    copy.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        copy.push_back(*entry);
    return copy;
}

int CUserList::Load(const CSocketMessage& reply)
{
    namespace u = msg::user;
    const std::int32_t announced = reply.GetIntField(msg::kListFieldCount);

    Entries fresh;
    // A reply may repeat keys; the set keeps the check linear in what the reply carries.
    std::unordered_set<std::uint64_t> keys;
    const int fields = reply.FieldCount();
    std::int32_t carried = 0;
    for (std::int32_t i = 0; i < announced; ++i) {
        const long long base = msg::kListFirstField + static_cast<long long>(u::kFields) * i;
        if (base > fields)
            break; // announced, not carried
        const int b = static_cast<int>(base);
        ++carried;
        const std::int32_t id = reply.GetIntField(b + u::kId);
        const std::int32_t type = reply.GetIntField(b + u::kType);
        const auto key = (std::uint64_t{static_cast<std::uint32_t>(id)} << 32) |
                         static_cast<std::uint32_t>(type);
        if (!keys.insert(key).second)
            continue;
        auto entry = std::make_unique<CUserEntry>();
        entry->id = id;
        entry->number = reply.GetIntField(b + u::kNumber);
        entry->type = type;
        entry->status = reply.GetIntField(b + u::kStatus);
        entry->text1 = reply.FieldView(b + u::kText1);
        entry->text2 = reply.FieldView(b + u::kText2);
        entry->text3 = reply.FieldView(b + u::kText3);
        fresh.push_back(std::move(entry));
    }

    {
        CSemaphoreLock::Scoped lock(m_lock);
        m_entries.swap(fresh);
    }
    return announced < 1 ? announced : carried;
}
