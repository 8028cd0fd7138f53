#include "sim_chat_script.h"

#include "message_codes.h"
#include "sim_messages.h"

#include <algorithm>

namespace {

constexpr int kMinThinkMs = 800;
constexpr int kMaxThinkMs = 2'500;
constexpr int kTypingBaseMs = 1'200;
constexpr int kTypingPerCharMs = 45;
constexpr int kMaxTypingMs = 8'000;
// The console clears "is typing" 4 s after the last notice, so a long answer repeats it.
constexpr int kTypingRepeatMs = 3'000;
constexpr int kMinGoodbyeMs = 2'000;
constexpr int kMaxGoodbyeMs = 5'000;

using Ms = std::chrono::milliseconds;

} // namespace

void CSimChatScript::NextLine(CSimWorld::Call& call)
{
    const SimVisitor* visitor = m_world.m_crowd.Find(call.visitorId);
    if (!visitor || call.replyPending)
        return;
    if (!call.asked) {
        call.asked = true;
        Line(call.id, visitor->question, false);
    } else if (call.nextReply < visitor->replies.size()) {
        const std::size_t index = call.nextReply++;
        Line(call.id, visitor->replies[index], call.nextReply == visitor->replies.size());
    }
}

void CSimChatScript::Line(std::int32_t callId, std::string text, bool last)
{
    CSimWorld::Call* call = m_world.FindCall(callId);
    if (!call)
        return;
    call->replyPending = true;
    const int thinkMs = m_world.m_random.Between(kMinThinkMs, kMaxThinkMs);
    const int typingMs =
        std::min(kTypingBaseMs + kTypingPerCharMs * static_cast<int>(text.size()), kMaxTypingMs);

    auto typing = [this, callId] {
        const CSimWorld::Call* c = m_world.FindCall(callId);
        const SimVisitor* v = c ? m_world.m_crowd.Find(c->visitorId) : nullptr;
        if (c && v && c->replyPending)
            m_world.SendToMembers(*c, simmsg::Chat(msg::chat::kTyping, v->name));
    };
    for (int at = 0; at < typingMs; at += kTypingRepeatMs)
        m_world.m_scheduler.After(Ms(thinkMs + at), typing);

    m_world.m_scheduler.After(Ms(thinkMs + typingMs), [this, callId, text = std::move(text), last] {
        CSimWorld::Call* c = m_world.FindCall(callId);
        const SimVisitor* v = c ? m_world.m_crowd.Find(c->visitorId) : nullptr;
        if (!c || !v)
            return;
        c->replyPending = false;
        m_world.SendToMembers(*c, simmsg::Chat(msg::chat::kLine, v->name, text));
        if (last) {
            m_world.m_scheduler.After(Ms(m_world.m_random.Between(kMinGoodbyeMs, kMaxGoodbyeMs)),
                                      [this, callId] { m_world.VisitorClosesChat(callId); });
        }
    });
}
