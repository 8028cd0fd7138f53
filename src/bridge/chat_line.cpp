#include "chat_line.h"

#include "message_codes.h"
#include "socket_message.h"

namespace {

std::optional<QString> Text(const CSocketMessage& message, int field)
{
    if (!message.HasField(field))
        return std::nullopt;
    const std::string_view text = message.FieldView(field);
    if (text.empty())
        return std::nullopt;
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CChatLine CChatLine::From(const CSocketMessage& message)
{
    return {message.GetIntField(msg::chat::kFieldKind), Text(message, msg::chat::kFieldSender),
            Text(message, msg::chat::kFieldText)};
}
