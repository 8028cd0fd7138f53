#pragma once

#include "canned_answers.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>
#include <optional>

// Import and export of canned answers, so that a team can share one set: in the canned answers
// file's own format, or as UTF-8 text that people can read, mail and edit:
//
//   Parlendo canned answers 1
//
//   category: Greetings
//
//   title: Welcome
//   > Hello {visitor}, thank you for calling me.
//   > How can I help you today?
//
//   end
//
// The first line names the format. "category: " and "title: " are followed by the text as it
// stands; each line of a message follows "> " (an empty line of a message is ">" alone), and the
// message lines of an answer come straight after its title. Blank lines and lines that start
// with "#" may stand between answers. A backslash is written "\\" and a carriage return "\r";
// in a category or title a line break is "\n". The file ends with the line "end", so that a file
// cut short is known. Lines may end in CR LF.
class CCannedExchange final
{
    Q_DECLARE_TR_FUNCTIONS(CCannedExchange)

public:
    enum class Format
    {
        Text,
        Binary,
    };

    // The canned answers file's format for a name ending in ".dat", text otherwise.
    static Format FormatOf(const QString& file);

    static QByteArray ToText(const CannedAnswers& categories);

    // The answers in bytes of either format, told apart by their start. A file that is not
    // whole and well formed gives nothing, and error tells the operator why in a sentence.
    static std::optional<CannedAnswers> FromBytes(const QByteArray& bytes, QString* error);

    // Written through a temporary file, so a failed export leaves what the file held.
    static bool Export(const CannedAnswers& categories, const QString& file, Format format);
    static std::optional<CannedAnswers> Import(const QString& file, QString* error);
};
