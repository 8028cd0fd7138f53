#include "outbox.h"

#include <algorithm>

void COutbox::Queued(int code, QString lostNotice)
{
    m_waiting.push_back({code, std::move(lostNotice)});
}

std::optional<QString> COutbox::Reported(int code)
{
    // Reports come in queue order, so this is normally the first entry; searching keeps the
    // queue right should a report ever go missing.
    const auto it = std::find_if(m_waiting.begin(), m_waiting.end(),
                                 [code](const Waiting& w) { return w.code == code; });
    if (it == m_waiting.end())
        return std::nullopt;
    QString notice = std::move(it->lostNotice);
    m_waiting.erase(m_waiting.begin(), it + 1);
    return notice;
}
