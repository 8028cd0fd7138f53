#include "missed_chats_file.h"

#include "whole_file.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

constexpr int kVersion = 1;

namespace Key {
const QString Version = QStringLiteral("version");
const QString Entries = QStringLiteral("entries");
const QString Time = QStringLiteral("time");
const QString CallId = QStringLiteral("callId");
const QString Number = QStringLiteral("number");
const QString Kind = QStringLiteral("kind");
const QString Text1 = QStringLiteral("text1");
const QString Text2 = QStringLiteral("text2");
const QString Text3 = QStringLiteral("text3");
const QString Seen = QStringLiteral("seen");
} // namespace Key

QJsonObject ToJson(const CMissedChat& chat)
{
    return {{Key::Time, chat.time.toUTC().toString(Qt::ISODateWithMs)},
            {Key::CallId, chat.callId},
            {Key::Number, chat.number},
            {Key::Kind, chat.kind},
            {Key::Text1, chat.text1},
            {Key::Text2, chat.text2},
            {Key::Text3, chat.text3},
            {Key::Seen, chat.seen}};
}

// Every field must be there with its type: a file that holds something else is not ours to
// guess at.
std::optional<CMissedChat> FromJson(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    for (const QString& key : {Key::Time, Key::Text1, Key::Text2, Key::Text3})
        if (!object.value(key).isString())
            return std::nullopt;
    for (const QString& key : {Key::CallId, Key::Number, Key::Kind})
        if (!object.value(key).isDouble())
            return std::nullopt;
    if (!object.value(Key::Seen).isBool())
        return std::nullopt;
    CMissedChat chat;
    chat.time = QDateTime::fromString(object.value(Key::Time).toString(), Qt::ISODateWithMs);
    if (!chat.time.isValid())
        return std::nullopt;
    chat.time = chat.time.toUTC();
    chat.callId = object.value(Key::CallId).toInt();
    chat.number = object.value(Key::Number).toInt();
    chat.kind = object.value(Key::Kind).toInt();
    chat.text1 = object.value(Key::Text1).toString();
    chat.text2 = object.value(Key::Text2).toString();
    chat.text3 = object.value(Key::Text3).toString();
    chat.seen = object.value(Key::Seen).toBool();
    return chat;
}

} // namespace

QString CMissedChatsFile::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Parlendo/missed-chats.json");
}

std::optional<QList<CMissedChat>> CMissedChatsFile::Load(QString* error) const
{
    QFile file(m_path);
    if (!file.exists())
        return QList<CMissedChat>();
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return std::nullopt;
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parse);
    if (parse.error != QJsonParseError::NoError) {
        *error = parse.errorString();
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    if (root.value(Key::Version).toInt() != kVersion || !root.value(Key::Entries).isArray()) {
        *error = tr("not a list of missed chats");
        return std::nullopt;
    }
    QList<CMissedChat> entries;
    for (const QJsonValue& value : root.value(Key::Entries).toArray()) {
        std::optional<CMissedChat> chat = FromJson(value);
        if (!chat) {
            *error = tr("entry %1 is damaged").arg(entries.size() + 1);
            return std::nullopt;
        }
        entries.append(*std::move(chat));
    }
    return entries;
}

bool CMissedChatsFile::Save(const QList<CMissedChat>& entries, QString* error) const
{
    QJsonArray array;
    for (const CMissedChat& chat : entries)
        array.append(ToJson(chat));
    const QByteArray bytes =
        QJsonDocument(QJsonObject{{Key::Version, kVersion}, {Key::Entries, array}}).toJson();
    *error = WriteWholeFile(m_path, bytes);
    return error->isEmpty();
}
