#include "call_notice.h"

#include <QCoreApplication>
#include "incoming_call.h"
#include "shown_text.h"

#include <QTextBoundaryFinder>
#include <utility>

namespace {

const QChar kEllipsis(0x2026);

int Utf8Size(QStringView text)
{
    return static_cast<int>(text.toUtf8().size());
}

// The name as the console shows network text; its length is the notice's to bound, in bytes.
QString Clean(const std::optional<QString>& text)
{
    return text ? ShownLine(*text, CallNotice::kMaxBytes) : QString();
}

// Both names within budget bytes: a name shorter than its half keeps its length and leaves the
// rest to the other; otherwise each gets half.
std::pair<QString, QString> FitPair(const QString& first, const QString& second, int budget)
{
    const int firstSize = Utf8Size(first);
    const int secondSize = Utf8Size(second);
    if (firstSize + secondSize <= budget)
        return {first, second};
    const int half = budget / 2;
    if (firstSize <= half)
        return {first, CallNotice::Elide(second, budget - firstSize)};
    if (secondSize <= budget - half)
        return {CallNotice::Elide(first, budget - secondSize), second};
    return {CallNotice::Elide(first, half), CallNotice::Elide(second, budget - half)};
}

// The bytes the sentence leaves for the names: its own size without the placeholders.
int NameBudget(const QString& sentence, int placeholders)
{
    return CallNotice::kMaxBytes - (Utf8Size(sentence) - 2 * placeholders);
}

// "...from Greta J.." reads as a slip: a name that ends the sentence with its own full stop
// needs no second one.
QString WithoutDoubleStop(QString notice)
{
    if (notice.endsWith(QLatin1String("..")) && !notice.endsWith(QLatin1String("...")))
        notice.chop(1);
    return notice;
}

} // namespace

namespace CallNotice {

QString Elide(const QString& text, int maxBytes)
{
    if (Utf8Size(text) <= maxBytes)
        return text;
    const int room = maxBytes - Utf8Size(QStringView(&kEllipsis, 1));
    if (room < 0)
        return {};
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    qsizetype cut = 0;
    int used = 0;
    for (qsizetype next = characters.toNextBoundary(); next > 0;
         next = characters.toNextBoundary()) {
        used += Utf8Size(QStringView(text).sliced(cut, next - cut));
        if (used > room)
            break;
        cut = next;
    }
    while (cut > 0 && text.at(cut - 1).isSpace())
        --cut;
    return text.left(cut) + kEllipsis;
}

std::optional<QString> Format(const CIncomingCall& call)
{
    if (call.kind == CIncomingCall::kKindCall) {
        const QString sentence =
            QCoreApplication::translate("CCallDlg", "You have received a Parlendo call from %1.");
        return WithoutDoubleStop(sentence.arg(Elide(Clean(call.text1), NameBudget(sentence, 1))));
    }
    if (call.kind == CIncomingCall::kKindTransfer) {
        const QString sentence = QCoreApplication::translate(
            "CCallDlg", "You have received a Parlendo call transfer from %1 %2.");
        const auto [first, second] =
            FitPair(Clean(call.text1), Clean(call.text2), NameBudget(sentence, 2));
        // One pass over both: a "%2" inside the first name stays as it is.
        return WithoutDoubleStop(sentence.arg(first, second));
    }
    return std::nullopt;
}

} // namespace CallNotice
