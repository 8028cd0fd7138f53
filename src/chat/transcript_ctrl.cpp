#include "transcript_ctrl.h"

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
