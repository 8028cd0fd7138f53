#pragma once

#include "archive_records.h"

#include <QColor>
#include <QTextCharFormat>

class QTextCursor;

// How transcript lines look wherever they are shown: the chat window, the history window, and
// every file and print made of them. Only colour, weight and underline are set; the font is the
// widget's or the page's.
//
// A speaker's line is two paragraphs, the name ("Ann:") and then what was said; a notice is one.
// With times on, the local time leads the first paragraph of each line, in grey.
class CTranscriptLook final
{
public:
    enum class Part
    {
        OwnName,   // this console's operator
        OtherName, // anyone else
        ChatText,
        Address, // a link or image the operator sent
        Notice,
        Time,
        Heading, // a chat's title in the history and its exports
    };

    // The colours on paper; on screen, each is made lighter or darker where it would not read on
    // the background.
    static constexpr QRgb kOwnNameColour = qRgb(255, 0, 0);
    static constexpr QRgb kOtherNameColour = qRgb(0, 0, 255);
    static constexpr QRgb kChatTextColour = qRgb(64, 64, 64);
    static constexpr QRgb kAddressColour = qRgb(0, 0, 255);
    static constexpr QRgb kNoticeColour = qRgb(0, 128, 128);
    static constexpr QRgb kTimeColour = qRgb(128, 128, 128);

    // background: the colour the line is shown on; none (invalid) for paper, which keeps the
    // colours above whatever the screen's theme.
    static QTextCharFormat Format(Part part, const QColor& background = {});
    // A search match: dark text on yellow, readable on either background.
    static QTextCharFormat MatchFormat();

    // Appends a paragraph holding text in format: in the document's first, still empty
    // paragraph, or in a new one after the last line. '\r' and "\r\n" break lines as '\n' does.
    static void AppendParagraph(QTextCursor& cursor, const QString& text,
                                const QTextCharFormat& format);
    // Appends a whole line. Returns where its text begins in the document, from which a match
    // range of the text is placed by ShownOffset.
    static int Append(QTextCursor& cursor, const CTranscriptLine& line, bool showTime,
                      const QColor& background = {});
    // Where offset into text lies once text is shown (each "\r\n" shown as one break).
    static int ShownOffset(const QString& text, int offset);
    // The time as a transcript shows it: the local time of day, in the locale's short form.
    static QString TimeText(qint64 at);
    // The local date and time of day, in the locale's short forms: when a chat began.
    static QString DateTimeText(qint64 at);
};
