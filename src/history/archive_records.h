#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QtGlobal>

// What the archive keeps and hands out. Times are milliseconds since the epoch, UTC; the
// window turns them into local time.

// The kind of a transcript line. The numbers are what the archive stores: never renumber.
enum class LineKind : int
{
    Line = 1,        // chat text, the welcome message included
    Link = 2,        // the address of a link the operator sent
    Image = 3,       // the address of an image the operator sent
    Notice = 4,      // joined, left, invited, closed; notices from the server
    Undelivered = 5, // a line the call's connection could not send
};

// One line as the chat window shows it: who said it and the text as shown. Notices have no
// speaker. own marks this console's operator, whose name the transcript shows in its own colour.
struct CTranscriptLine final
{
    qint64 at = 0;
    LineKind kind = LineKind::Line;
    QString speaker;
    bool own = false;
    QString text;
};

// Where a search matched inside a line's text, in UTF-16 units as QString counts them.
struct CMatchRange final
{
    int start = 0;
    int length = 0;
    bool operator==(const CMatchRange&) const = default;
};

struct CArchivedLine final
{
    qint64 id = 0;
    CTranscriptLine line;
    QList<CMatchRange> matches;
};

struct CArchivedChat final
{
    qint64 id = 0;
    int callId = 0;
    QString visitor;
    QString operatorName;
    qint64 started = 0;
    qint64 ended = 0; // 0 while the chat goes on, or when the console ended without closing it
    bool transferred = false;
    int lineCount = 0;
    int matchCount = 0; // lines that matched the search the chat was listed for
};

// Which chats to list. Names match anywhere in the visitor's or operator's name, ignoring
// case for Latin letters; search is what the operator typed into the search field.
struct CChatFilter final
{
    QString visitor;
    QString operatorName;
    QString search;
};

Q_DECLARE_METATYPE(CArchivedChat)
