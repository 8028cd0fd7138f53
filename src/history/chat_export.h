#pragma once

#include "archive_records.h"

#include <QList>
#include <QString>
#include <memory>

class CChatArchive;
class QMimeData;
class QTextDocument;

// Chats out of the history: as a file for a customer or a colleague (rich text, a web page or
// PDF), or on the clipboard. All of it runs on the GUI thread.
class CChatExport final
{
public:
    enum class Format
    {
        Rtf,
        Html,
        Pdf,
    };

    // The chats one after another, as printed: light background, no search marks.
    static std::unique_ptr<QTextDocument> Document(CChatArchive& archive,
                                                   const QList<CArchivedChat>& chats);
    // By the file's extension; rich text when it has none of the three.
    static Format FormatOf(const QString& path);
    // Writes the document whole or not at all. Why it failed, or empty.
    [[nodiscard]] static QString Write(const QString& path, Format format,
                                       const QTextDocument& document);
    // Plain text and HTML, for any program it is pasted into.
    static QMimeData* MimeData(const QTextDocument& document);
};
