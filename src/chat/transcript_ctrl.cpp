#include "transcript_ctrl.h"

#include <QEvent>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QThread>

CTranscriptCtrl::CTranscriptCtrl(QWidget* parent) : QTextEdit(parent)
{
    setReadOnly(true);
    setAcceptRichText(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false); // a read-only record has nothing to undo; saves memory per line
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere); // long addresses wrap too

    m_background = Background();
    QScrollBar* bar = verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &CTranscriptCtrl::OnScrollValueChanged);
    connect(bar, &QScrollBar::rangeChanged, this, &CTranscriptCtrl::OnScrollRangeChanged);
}

QColor CTranscriptCtrl::Background() const
{
    return palette().color(QPalette::Active, QPalette::Base);
}

QList<CColourPair> CTranscriptCtrl::ColourPairs() const
{
    using Part = CTranscriptLook::Part;
    QList<CColourPair> pairs;
    for (const auto& [what, part] :
         {std::pair{"own name", Part::OwnName}, {"other name", Part::OtherName},
          {"chat text", Part::ChatText}, {"address", Part::Address}, {"notice", Part::Notice},
          {"time", Part::Time}}) {
        pairs.append({QStringLiteral("transcript ") + QLatin1String(what),
                      CTranscriptLook::Format(part, m_background).foreground().color(),
                      m_background});
    }
    return pairs;
}

void CTranscriptCtrl::Append(const CTranscriptLine& line)
{
    Q_ASSERT_X(QThread::currentThread() == thread(), "CTranscriptCtrl",
               "appends must run on the GUI thread");
    m_lines.append(line);
    // As in AppendLine: the operator's caret or selection stays where it was.
    const int caretAnchor = textCursor().anchor();
    const int caretPosition = textCursor().position();
    const int end = document()->characterCount() - 1;
    const bool caretAtEnd = caretAnchor == end || caretPosition == end;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    CTranscriptLook::Append(cursor, line, m_showTimes, m_background);
    cursor.endEditBlock();
    if (caretAtEnd)
        RestoreCaret(caretAnchor, caretPosition);
}

void CTranscriptCtrl::SetShowTimes(bool show)
{
    if (m_showTimes == show)
        return;
    m_showTimes = show;
    ShowAgain();
}

void CTranscriptCtrl::ShowAgain()
{
    const bool atEnd = m_followEnd;
    clear();
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    for (const CTranscriptLine& line : std::as_const(m_lines))
        CTranscriptLook::Append(cursor, line, m_showTimes, m_background);
    cursor.endEditBlock();
    m_followEnd = atEnd;
    OnScrollRangeChanged(0, 0);
}

const QTextDocument& CTranscriptCtrl::PaperDocument()
{
    m_paper = std::make_unique<QTextDocument>();
    m_paper->setDefaultFont(font());
    QTextCursor cursor(m_paper.get());
    cursor.beginEditBlock();
    for (const CTranscriptLine& line : std::as_const(m_lines))
        CTranscriptLook::Append(cursor, line, m_showTimes);
    cursor.endEditBlock();
    return *m_paper;
}

void CTranscriptCtrl::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    // A change of the desktop's theme shows the lines again in colours readable on it.
    if (event->type() == QEvent::PaletteChange && Background() != m_background) {
        m_background = Background();
        ShowAgain();
    }
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

    // The operator's caret or selection may end where the line goes, at the end of the text.
    // It would be carried along (a selection would grow over the new line), so it is put back.
    // Kept as numbers: a copied cursor shares its position with the view's and moves with it.
    const int caretAnchor = textCursor().anchor();
    const int caretPosition = textCursor().position();
    const int end = document()->characterCount() - 1;
    const bool caretAtEnd = caretAnchor == end || caretPosition == end;

    // Only colour, weight and underline are given; font family and size stay the widget's.
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(underline);

    // One edit block: the document is laid out once per line, after it is complete. Moving
    // inside the block also spares the layout of the last line just to place the cursor.
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    CTranscriptLook::AppendParagraph(cursor, text, format);
    cursor.endEditBlock();

    if (caretAtEnd)
        RestoreCaret(caretAnchor, caretPosition);
}

void CTranscriptCtrl::RestoreCaret(int anchor, int position)
{
    QTextCursor caret(document());
    caret.setPosition(anchor);
    caret.setPosition(position, QTextCursor::KeepAnchor);
    // Handing the cursor back scrolls it into view; the view stays where it was instead.
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    setTextCursor(caret);
    verticalScrollBar()->setValue(vertical);
    horizontalScrollBar()->setValue(horizontal);
}

void CTranscriptCtrl::OnScrollValueChanged(int value)
{
    // Within half a line of the bottom counts as the end: Ctrl+End and other moves of the
    // caret to the last line stop short of it by the document's margin.
    m_followEnd = value >= verticalScrollBar()->maximum() - fontMetrics().lineSpacing() / 2;
}

void CTranscriptCtrl::OnScrollRangeChanged(int /*minimum*/, int /*maximum*/)
{
    // Every append grows the range. Scrolling at once would blit the view once per line, which
    // dominates a burst of lines; one scroll when the event loop next runs covers them all.
    if (m_followEnd && !m_scrollToEndPending) {
        m_scrollToEndPending = true;
        QMetaObject::invokeMethod(this, &CTranscriptCtrl::ScrollToEnd, Qt::QueuedConnection);
    }
}

void CTranscriptCtrl::ScrollToEnd()
{
    m_scrollToEndPending = false;
    // The operator may have scrolled away since the lines came in.
    if (m_followEnd)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}
