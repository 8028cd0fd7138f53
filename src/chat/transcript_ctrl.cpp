#include "transcript_ctrl.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QThread>

namespace {

// Marks a block that holds an appended line. A cleared document has one unmarked empty block,
// which the next line fills; otherwise a line starts a block of its own. Counting on the
// document rather than on a flag keeps an empty first line and clear() both right.
constexpr int kLineState = 1;

QString WithoutCarriageReturns(const QString& text)
{
    // The document breaks blocks on '\n' only; a '\r' would be drawn as a stray glyph.
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

} // namespace

CTranscriptCtrl::CTranscriptCtrl(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false); // a read-only record has nothing to undo; saves memory per line
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere); // long addresses wrap too

    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &CTranscriptCtrl::OnScrollValueChanged);
    connect(bar, &QScrollBar::rangeChanged, this, &CTranscriptCtrl::OnScrollRangeChanged);
}

void CTranscriptCtrl::AppendText(const QString& text, const QColor& colour)
{
    AppendLine(text, colour, false, false);
}

void CTranscriptCtrl::AppendBoldText(const QString& text, const QColor& colour)
{
    AppendLine(text, colour, true, false);
}

void CTranscriptCtrl::AppendNotice(const QString& text, const QColor& colour, bool underline,
                                   bool bold)
{
    AppendLine(text, colour, bold, underline);
}

void CTranscriptCtrl::AppendLine(const QString& text, const QColor& colour, bool bold,
                                 bool underline)
{
    Q_ASSERT_X(QThread::currentThread() == thread(), "CTranscriptCtrl",
               "appends must run on the GUI thread");

    KeepCaretBeforeNewLines();

    // A cursor of our own, so the operator's caret and selection are not moved to the new line.
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);

    // Only colour, weight and underline are given; font family and size stay the widget's.
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(underline);

    cursor.beginEditBlock();
    if (cursor.block().userState() == kLineState)
        cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(WithoutCarriageReturns(text), format);
    cursor.block().setUserState(kLineState);
    cursor.endEditBlock();
}

void CTranscriptCtrl::KeepCaretBeforeNewLines()
{
    // A caret or selection that ends at the end of the text would otherwise grow over every
    // line inserted there, and the operator copying the last line would copy the new ones too.
    // The setting lives in the view's cursor, which setTextCursor() replaces, so it is renewed
    // here.
    QTextCursor caret = textCursor();
    if (caret.keepPositionOnInsert())
        return;
    caret.setKeepPositionOnInsert(true);
    // Handing the cursor back scrolls it into view; the operator's place is kept instead.
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    setTextCursor(caret);
    verticalScrollBar()->setValue(vertical);
    horizontalScrollBar()->setValue(horizontal);
}

void CTranscriptCtrl::OnScrollValueChanged(int value)
{
    m_followEnd = value >= verticalScrollBar()->maximum();
}

void CTranscriptCtrl::OnScrollRangeChanged(int /*minimum*/, int maximum)
{
    // The range grows as new lines are laid out, which may happen after the append returns.
    if (m_followEnd)
        verticalScrollBar()->setValue(maximum);
}
