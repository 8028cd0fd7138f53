#include "call_list.h"

#include "call.h"
#include "result_codes.h"

#include <algorithm>

CCallList::CCallList(COperatorSession& session) : m_session(session) {}

CCallList::~CCallList()
{
    DestroyAll();
}

int CCallList::OpenCall(int callId, CCall::Callbacks callbacks)
{
    {
        CSemaphoreLock::Scoped lock(m_lock);
        const bool listed = std::any_of(m_calls.begin(), m_calls.end(),
                                        [&](const auto& call) { return call->CallId() == callId; });
        if (listed || std::find(m_opening.begin(), m_opening.end(), callId) != m_opening.end())
            return rc::kCallNotFound;
        m_opening.push_back(callId);
    }
    auto call = std::make_shared<CCall>(m_session, callId);
    call->SetCallbacks(std::move(callbacks));
    const int result = call->OpenChannel(0);
    CSemaphoreLock::Scoped lock(m_lock);
    m_opening.erase(std::find(m_opening.begin(), m_opening.end(), callId));
    if (result == rc::kOk)
        m_calls.push_back(std::move(call));
    // A call that failed is destroyed on leaving, after the lock: it has no channel left to
    // wait for.
    return result;
}

int CCallList::CloseCall(int callId)
{
    std::shared_ptr<CCall> call;
    {
        CSemaphoreLock::Scoped lock(m_lock);
        const auto it = std::find_if(m_calls.begin(), m_calls.end(),
                                     [&](const auto& c) { return c->CallId() == callId; });
        if (it == m_calls.end())
            return rc::kCallNotFound;
        call = std::move(*it);
        m_calls.erase(it);
    }
    call->Close();
    return rc::kOk;
}

std::shared_ptr<CCall> CCallList::Find(int callId) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    for (const auto& call : m_calls) {
        if (call->CallId() == callId)
            return call;
    }
    return nullptr;
}

int CCallList::Count() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return static_cast<int>(m_calls.size());
}

void CCallList::DestroyAll()
{
    std::vector<std::shared_ptr<CCall>> calls;
    {
        CSemaphoreLock::Scoped lock(m_lock);
        calls.swap(m_calls);
    }
    for (const auto& call : calls)
        call->Close();
}
