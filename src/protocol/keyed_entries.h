#pragma once

#include <cstddef>
#include <cstdio>
#include <list>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

// Entries in arrival order with an index by key, for the locked lists: finding, appending and
// removing take constant time whatever the length. A key may repeat (a server can list a
// visitor twice): the first entry of a key is the one found and the one removed, after which
// the next one of that key is found. Entries keep their address until they are removed.
//
// The index is built by the first lookup, not while a reply is loaded: a list reloaded before
// anything is looked up in it costs no more than the entries themselves.
//
// A capacity bounds what a server can make the list hold: beyond it entries are dropped, and
// the first drop of each time the list is full is logged.
//
// Not locked: the list that holds it locks around every call.
template <class Entry, class Key, Key (*KeyOf)(const Entry&)> class CKeyedEntries final
{
public:
    using Order = std::list<Entry>;

    // what names the entries in the log ("visitors").
    CKeyedEntries(const char* what, std::size_t capacity) : m_what(what), m_capacity(capacity) {}

    bool Full() const { return m_order.size() >= m_capacity; }
    // Something was not listed for want of room.
    void NoteDropped()
    {
        if (!m_dropping)
            std::fprintf(stderr, "parlendo: %zu %s listed, the most taken; more are dropped\n",
                         m_capacity, m_what);
        m_dropping = true;
    }

    Entry* Find(const Key& key)
    {
        Index();
        const auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &*it->second.first;
    }
    const Entry* Find(const Key& key) const { return const_cast<CKeyedEntries*>(this)->Find(key); }

    // The stored entry, or nothing when the list is full.
    Entry* Append(Entry entry)
    {
        return AppendWith([&](Entry& stored) { stored = std::move(entry); });
    }
    // The same for an entry that fill writes in place, as a reply is read.
    template <class Fill> Entry* AppendWith(Fill&& fill)
    {
        if (Full()) {
            NoteDropped();
            return nullptr;
        }
        m_dropping = false;
        fill(m_order.emplace_back());
        if (m_indexed)
            IndexOne(std::prev(m_order.end()));
        return &m_order.back();
    }

    // The first entry of that key, taken out; nothing when none is listed.
    std::unique_ptr<Entry> Remove(const Key& key)
    {
        Index();
        const auto it = m_index.find(key);
        if (it == m_index.end())
            return nullptr;
        Slot& slot = it->second;
        auto entry = std::make_unique<Entry>(std::move(*slot.first));
        m_order.erase(slot.first);
        if (slot.later.empty()) {
            m_index.erase(it);
        } else {
            slot.first = slot.later.front();
            slot.later.erase(slot.later.begin());
        }
        return entry;
    }

    void Swap(CKeyedEntries& other) noexcept
    {
        m_order.swap(other.m_order);
        m_index.swap(other.m_index);
        std::swap(m_indexed, other.m_indexed);
        std::swap(m_dropping, other.m_dropping);
    }

    std::size_t Size() const { return m_order.size(); }
    const Order& InOrder() const { return m_order; }

private:
    void Index()
    {
        if (m_indexed)
            return;
        m_index.reserve(m_order.size());
        for (auto position = m_order.begin(); position != m_order.end(); ++position)
            IndexOne(position);
        m_indexed = true;
    }
    void IndexOne(typename Order::iterator position)
    {
        const auto [slot, fresh] = m_index.try_emplace(KeyOf(*position), Slot{position, {}});
        if (!fresh)
            slot->second.later.push_back(position);
    }

    // Where a key's entries stand, oldest first; a key almost never has more than one.
    struct Slot
    {
        typename Order::iterator first;
        std::vector<typename Order::iterator> later;
    };

    const char* m_what;
    std::size_t m_capacity;
    bool m_dropping = false; // logged already since the list filled up
    Order m_order;
    std::unordered_map<Key, Slot> m_index;
    bool m_indexed = false;
};
