#include "canned_uses.h"

#include "canned_store.h"
#include "whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <limits>

namespace {

const QString kCategory = QStringLiteral("category");
const QString kTitle = QStringLiteral("title");
const QString kCount = QStringLiteral("count");
const QString kUses = QStringLiteral("uses");

// A separator no title or category holds that the console writes.
QString Key(const QString& category, const QString& title)
{
    return category + QChar(0x1F) + title;
}

} // namespace

QString CCannedUses::DefaultFile()
{
    return QFileInfo(CannedAnswersFilePath()).absolutePath() + QStringLiteral("/canned-uses.json");
}

CCannedUses::CCannedUses(QString file) : m_file(std::move(file)), m_counts(Read(m_file)) {}

int CCannedUses::Count(const QString& category, const QString& title) const
{
    return m_counts.value(Key(category, title));
}

bool CCannedUses::Record(const QString& category, const QString& title)
{
    QHash<QString, int> counts = Read(m_file);
    for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it)
        counts[it.key()] = std::max(counts.value(it.key()), it.value());
    int& count = counts[Key(category, title)];
    count = std::min(count, std::numeric_limits<int>::max() - 1) + 1;
    m_counts = counts;

    QJsonArray uses;
    for (auto it = m_counts.cbegin(); it != m_counts.cend(); ++it) {
        const qsizetype split = it.key().indexOf(QChar(0x1F));
        uses.append(QJsonObject{{kCategory, it.key().left(split)},
                                {kTitle, it.key().mid(split + 1)},
                                {kCount, it.value()}});
    }
    return WriteWholeFile(m_file, QJsonDocument(QJsonObject{{kUses, uses}}).toJson()).isEmpty();
}

QHash<QString, int> CCannedUses::Read(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument document = QJsonDocument::fromJson(in.readAll());
    const QJsonValue uses = document.object().value(kUses);
    if (!uses.isArray())
        return {};
    QHash<QString, int> counts;
    for (const QJsonValue& use : uses.toArray()) {
        const QJsonObject entry = use.toObject();
        const QJsonValue category = entry.value(kCategory);
        const QJsonValue title = entry.value(kTitle);
        const double count = entry.value(kCount).toDouble(-1);
        // One entry out of shape means the file is not what this console wrote: all of it is
        // ignored rather than half believed.
        if (!category.isString() || !title.isString() || count < 1 ||
            count > std::numeric_limits<int>::max() || count != static_cast<int>(count))
            return {};
        counts.insert(Key(category.toString(), title.toString()), static_cast<int>(count));
    }
    return counts;
}
