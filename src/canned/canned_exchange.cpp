#include "canned_exchange.h"

#include "canned_store.h"
#include "whole_file.h"
#include "canned_text.h"

#include <QFile>
#include <QStringDecoder>

namespace {

const QString kFirstLine = QStringLiteral("Parlendo canned answers 1");
const QString kCategory = QStringLiteral("category: ");
const QString kTitle = QStringLiteral("title: ");
const QString kEnd = QStringLiteral("end");

// Larger than any set of answers a team keeps; refused before it is read into memory.
constexpr qint64 kLargestImport = 64 * 1024 * 1024;

QString Escaped(const QString& text, bool keepLineBreaks)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            out += QLatin1String("\\\\");
        else if (c == u'\r')
            out += QLatin1String("\\r");
        else if (c == u'\n' && !keepLineBreaks)
            out += QLatin1String("\\n");
        else
            out += c;
    }
    return out;
}

std::optional<QString> Unescaped(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        if (text[i] == u'\\')
            out += u'\\';
        else if (text[i] == u'r')
            out += u'\r';
        else if (text[i] == u'n')
            out += u'\n';
        else
            return std::nullopt;
    }
    return out;
}

std::string Utf8(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// Reads the text format line by line; Error() is empty while all is well.
class CTextReader final
{
    Q_DECLARE_TR_FUNCTIONS(CCannedExchange)

public:
    std::optional<CannedAnswers> Read(const QString& text)
    {
        const QStringList lines = text.split(u'\n');
        for (qsizetype i = 0; i < lines.size() && m_error.isEmpty(); ++i) {
            QStringView line = lines[i];
            if (line.endsWith(u'\r'))
                line.chop(1);
            m_line = static_cast<int>(i) + 1;
            ReadLine(line);
        }
        FinishAnswer();
        if (m_error.isEmpty() && !m_ended)
            m_error = tr("It ends before its \"end\" line: it was cut short.");
        if (!m_error.isEmpty())
            return std::nullopt;
        return std::move(m_answers);
    }

    const QString& Error() const { return m_error; }

private:
    void ReadLine(QStringView line)
    {
        if (m_line == 1) {
            if (line != kFirstLine)
                m_error = tr("It is not a canned answers file.");
            return;
        }
        if (m_ended) {
            if (!line.trimmed().isEmpty())
                Fail(tr("Line %1 follows the \"end\" line."));
            return;
        }
        if (line.startsWith(u'>')) {
            if (!m_inAnswer)
                return Fail(tr("Line %1 is a message line outside an answer."));
            line = line.sliced(1);
            if (line.startsWith(u' '))
                line = line.sliced(1);
            if (const std::optional<QString> text = Text(line))
                m_message.append(*text);
            return;
        }
        FinishAnswer();
        if (line.isEmpty() || line.startsWith(u'#'))
            return;
        if (line.startsWith(kCategory)) {
            const std::optional<QString> name = Text(line.sliced(kCategory.size()));
            if (name && name->isEmpty())
                return Fail(tr("Line %1 is a category without a name."));
            if (name)
                m_answers.push_back({Utf8(*name), {}, true});
        } else if (line.startsWith(kTitle)) {
            if (m_answers.empty())
                return Fail(tr("Line %1 is an answer before any category."));
            const std::optional<QString> title = Text(line.sliced(kTitle.size()));
            if (title && title->isEmpty())
                return Fail(tr("Line %1 is an answer without a title."));
            m_title = title.value_or(QString());
            m_titleLine = m_line;
            m_inAnswer = true;
        } else if (line == kEnd) {
            m_ended = true;
        } else {
            Fail(tr("Line %1 is not understood."));
        }
    }

    std::optional<QString> Text(QStringView escaped)
    {
        std::optional<QString> text = Unescaped(escaped);
        if (!text)
            Fail(tr("Line %1 holds a backslash that is not \\\\, \\r or \\n."));
        return text;
    }

    void FinishAnswer()
    {
        if (!m_inAnswer || !m_error.isEmpty())
            return;
        m_inAnswer = false;
        const QString message = m_message.join(u'\n');
        m_message.clear();
        if (message.isEmpty()) {
            m_line = m_titleLine;
            return Fail(tr("The answer on line %1 has no message."));
        }
        m_answers.back().answers.push_back({Utf8(m_title), Utf8(message)});
    }

    void Fail(const QString& sentence)
    {
        if (m_error.isEmpty())
            m_error = sentence.arg(m_line);
    }

    CannedAnswers m_answers;
    QString m_error;
    int m_line = 0;
    int m_titleLine = 0;
    bool m_inAnswer = false;
    bool m_ended = false;
    QString m_title;
    QStringList m_message;
};

} // namespace

CCannedExchange::Format CCannedExchange::FormatOf(const QString& file)
{
    return file.endsWith(QLatin1String(".dat"), Qt::CaseInsensitive) ? Format::Binary
                                                                     : Format::Text;
}

QByteArray CCannedExchange::ToText(const CannedAnswers& categories)
{
    QString text = kFirstLine + u'\n';
    for (const CannedCategory& category : categories) {
        text += u'\n' + kCategory + Escaped(CCannedText::Decode(category.name), false) + u'\n';
        for (const CannedAnswer& answer : category.answers) {
            text += u'\n' + kTitle + Escaped(CCannedText::Decode(answer.title), false) + u'\n';
            const QString message = Escaped(CCannedText::Decode(answer.message), true);
            for (const QStringView line : QStringView(message).split(u'\n')) {
                text += line.isEmpty() ? QLatin1String(">") : QLatin1String("> ");
                text += line;
                text += u'\n';
            }
        }
    }
    text += u'\n' + kEnd + u'\n';
    return text.toUtf8();
}

std::optional<CannedAnswers> CCannedExchange::FromBytes(const QByteArray& bytes, QString* error)
{
    QString why;
    std::optional<CannedAnswers> answers;
    QByteArray header;
    for (int i = 0; i < 4; ++i)
        header.append(static_cast<char>((canned_format::kHeader >> (8 * i)) & 0xFF));
    if (bytes.startsWith(header)) {
        bool whole = false;
        answers = ParseCannedAnswers(
            std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), &whole);
        if (!whole) {
            answers.reset();
            why = tr("It is damaged or was cut short.");
        }
    } else {
        QStringDecoder utf8(QStringConverter::Utf8);
        const QString text = utf8(bytes);
        CTextReader reader;
        if (utf8.hasError())
            why = bytes.startsWith(kFirstLine.toUtf8()) ? tr("It is not UTF-8 text.")
                                                        : tr("It is not a canned answers file.");
        else
            answers = reader.Read(text);
        if (why.isEmpty())
            why = reader.Error();
    }
    if (error)
        *error = answers ? QString() : why;
    return answers;
}

bool CCannedExchange::Export(const CannedAnswers& categories, const QString& file, Format format)
{
    if (format == Format::Text)
        return WriteWholeFile(file, ToText(categories)).isEmpty();
    const std::string bytes = SerializeCannedAnswers(categories);
    return WriteWholeFile(file, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))
        .isEmpty();
}

std::optional<CannedAnswers> CCannedExchange::Import(const QString& file, QString* error)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        if (error)
            *error = tr("It cannot be read.");
        return std::nullopt;
    }
    if (in.size() > kLargestImport) {
        if (error)
            *error = tr("It is too large to hold canned answers.");
        return std::nullopt;
    }
    return FromBytes(in.readAll(), error);
}
