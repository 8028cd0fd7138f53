#pragma once

#include <QHash>
#include <QString>

// How often each canned answer was inserted, by category and title, for "most used first". Kept
// in canned-uses.json beside the canned answers file, so that file keeps its format and other
// consoles still read it. The counts are a convenience: a missing or damaged file counts
// nothing, and a failed write loses no answer.
class CCannedUses final
{
public:
    // canned-uses.json in the folder of the canned answers file in use.
    static QString DefaultFile();

    // Reads the file at once.
    explicit CCannedUses(QString file = DefaultFile());

    int Count(const QString& category, const QString& title) const;

    // Counts one use and writes the file through a temporary file renamed into place. The file
    // is read again first, so what other chat windows counted since is kept. False when the
    // file could not be written; the use still counts here.
    bool Record(const QString& category, const QString& title);

private:
    static QHash<QString, int> Read(const QString& file);

    QString m_file;
    QHash<QString, int> m_counts;
};
