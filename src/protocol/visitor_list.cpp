#include "visitor_list.h"

#include "message_codes.h"
#include "server_time.h"
#include "socket_message.h"

#include <algorithm>

namespace {

constexpr const char* kWhat = "visitors";

} // namespace

CVisitorList::CVisitorList(int capacity)
    : m_capacity(capacity), m_entries(kWhat, static_cast<std::size_t>(capacity))
{
}

const CVisitorEntry* CVisitorList::Add(CVisitorEntry entry)
{
    CSemaphoreLock::Scoped lock(m_lock);
    return m_entries.Append(std::move(entry));
}

const CVisitorEntry* CVisitorList::Find(std::int32_t id) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return m_entries.Find(id);
}

int CVisitorList::Count() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return static_cast<int>(m_entries.Size());
}

std::unique_ptr<CVisitorEntry> CVisitorList::Remove(std::int32_t id)
{
    CSemaphoreLock::Scoped lock(m_lock);
    return m_entries.Remove(id);
}

void CVisitorList::Clear()
{
    Entries old(kWhat, static_cast<std::size_t>(m_capacity));
    {
        CSemaphoreLock::Scoped lock(m_lock);
        old.Swap(m_entries);
    }
    // The entries are freed outside the lock.
}

std::optional<CVisitorEntry> CVisitorList::FindCopy(std::int32_t id) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    if (const CVisitorEntry* entry = m_entries.Find(id))
        return *entry;
    return std::nullopt;
}

std::vector<CVisitorEntry> CVisitorList::Snapshot() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return {m_entries.InOrder().begin(), m_entries.InOrder().end()};
}

int CVisitorList::Load(const CSocketMessage& reply)
{
    namespace v = msg::visitor;
    const std::int32_t announced = reply.GetIntField(msg::kListFieldCount);

    // The new list is built aside and swapped in, so readers see the old list or the new one,
    // never half of it.
    Entries fresh(kWhat, static_cast<std::size_t>(m_capacity));
    const int fields = reply.FieldCount();
    const std::int32_t records = std::min(announced, m_capacity + 1);
    std::int32_t loaded = 0;
    for (std::int32_t i = 0; i < records; ++i) {
        const long long base = msg::kListFirstField + static_cast<long long>(v::kFields) * i;
        if (base > fields)
            break; // announced, not carried
        const int b = static_cast<int>(base);
        const bool stored = fresh.AppendWith([&](CVisitorEntry& entry) {
            entry.id = reply.GetIntField(b + v::kId);
            entry.number1 = reply.GetIntField(b + v::kNumber1);
            entry.text1 = reply.FieldView(b + v::kPage);
            entry.text2 = reply.FieldView(b + v::kCaption);
            entry.text3 = reply.FieldView(b + v::kText3);
            entry.time = ServerTimeToLocal(reply.FieldView(b + v::kTime));
            entry.text5 = reply.FieldView(b + v::kAddress);
            entry.number2 = reply.GetIntField(b + v::kNumber2);
        });
        if (!stored)
            break; // full: the rest would be dropped too
        ++loaded;
    }

    {
        CSemaphoreLock::Scoped lock(m_lock);
        m_entries.Swap(fresh);
    }
    return announced < 1 ? announced : loaded;
}
