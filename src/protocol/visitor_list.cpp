#include "visitor_list.h"

#include "message_codes.h"
#include "result_codes.h"
#include "server_time.h"
#include "socket_message.h"

#include <algorithm>

const CVisitorEntry* CVisitorList::Add(CVisitorEntry entry)
{
    auto stored = std::make_unique<CVisitorEntry>(std::move(entry));
    const CVisitorEntry* result = stored.get();
    CSemaphoreLock::Scoped lock(m_lock);
    m_ids.push_back(result->id);
    m_entries.push_back(std::move(stored));
    return result;
}

std::ptrdiff_t CVisitorList::IndexOf(std::int32_t id) const
{
    const auto it = std::find(m_ids.begin(), m_ids.end(), id);
    return it == m_ids.end() ? -1 : it - m_ids.begin();
}

const CVisitorEntry* CVisitorList::Find(std::int32_t id) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    const std::ptrdiff_t i = IndexOf(id);
    return i < 0 ? nullptr : m_entries[static_cast<size_t>(i)].get();
}

const CVisitorEntry* CVisitorList::At(int index) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    if (index < 0 || static_cast<size_t>(index) >= m_entries.size())
        return nullptr;
    return m_entries[static_cast<size_t>(index)].get();
}

int CVisitorList::Count() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return static_cast<int>(m_entries.size());
}

std::unique_ptr<CVisitorEntry> CVisitorList::Remove(std::int32_t id)
{
    CSemaphoreLock::Scoped lock(m_lock);
    const std::ptrdiff_t i = IndexOf(id);
    if (i < 0)
        return nullptr;
    std::unique_ptr<CVisitorEntry> entry = std::move(m_entries[static_cast<size_t>(i)]);
    m_entries.erase(m_entries.begin() + i);
    m_ids.erase(m_ids.begin() + i);
    return entry;
}

void CVisitorList::Clear()
{
    Entries old;
    {
        CSemaphoreLock::Scoped lock(m_lock);
        old.swap(m_entries);
        m_ids.clear();
    }
    // The entries are freed outside the lock.
}

std::optional<CVisitorEntry> CVisitorList::FindCopy(std::int32_t id) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    const std::ptrdiff_t i = IndexOf(id);
    if (i < 0)
        return std::nullopt;
    return *m_entries[static_cast<size_t>(i)];
}

std::vector<CVisitorEntry> CVisitorList::Snapshot() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    std::vector<CVisitorEntry> copy;
    copy.reserve(m_entries.size());
    for (const auto& entry : m_entries)
        copy.push_back(*entry);
    return copy;
}

int CVisitorList::Load(const CSocketMessage& reply)
{
    namespace v = msg::visitor;
    const std::int32_t announced = reply.GetIntField(msg::kListFieldCount);

    // The new list is built aside and swapped in, so readers see the old list or the new one,
    // never half of it.
    Entries fresh;
    std::vector<std::int32_t> ids;
    const int fields = reply.FieldCount();
    std::int32_t loaded = 0;
    for (std::int32_t i = 0; i < announced; ++i) {
        const long long base = msg::kListFirstField + static_cast<long long>(v::kFields) * i;
        if (base > fields)
            break; // announced, not carried
        const int b = static_cast<int>(base);
        auto entry = std::make_unique<CVisitorEntry>();
        entry->id = reply.GetIntField(b + v::kId);
        entry->number1 = reply.GetIntField(b + v::kNumber1);
        entry->text1 = reply.FieldView(b + v::kPage);
        entry->text2 = reply.FieldView(b + v::kCaption);
        entry->text3 = reply.FieldView(b + v::kText3);
        entry->time = ServerTimeToLocal(reply.FieldView(b + v::kTime));
        entry->text5 = reply.FieldView(b + v::kAddress);
        entry->number2 = reply.GetIntField(b + v::kNumber2);
        ids.push_back(entry->id);
        fresh.push_back(std::move(entry));
        ++loaded;
    }

    {
        CSemaphoreLock::Scoped lock(m_lock);
        m_entries.swap(fresh);
        m_ids.swap(ids);
    }
    return announced < 1 ? announced : loaded;
}
