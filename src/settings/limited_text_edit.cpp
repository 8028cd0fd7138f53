#include "limited_text_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <algorithm>

namespace {

qsizetype Utf8Size(const QString& text)
{
    return text.toUtf8().size();
}

// The text a key would insert; empty for keys that only move, delete or command.
QString InsertedByKey(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return QStringLiteral("\n");
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return {};
    const QString text = event.text();
    const bool printable = std::any_of(text.cbegin(), text.cend(),
                                       [](QChar c) { return c.isPrint() || c.isSurrogate(); });
    return printable ? text : QString();
}

} // namespace

CLimitedTextEdit::CLimitedTextEdit(int maxBytes, QWidget* parent)
    : QPlainTextEdit(parent), m_maxBytes(maxBytes)
{
    setTabChangesFocus(true);
}

bool CLimitedTextEdit::Fits(qsizetype insertedBytes) const
{
    const qsizetype selected = Utf8Size(textCursor().selection().toPlainText());
    return Utf8Size(toPlainText()) - selected + insertedBytes <= m_maxBytes;
}

void CLimitedTextEdit::keyPressEvent(QKeyEvent* event)
{
    const QString inserted = InsertedByKey(*event);
    if (!inserted.isEmpty() && !isReadOnly() && !Fits(Utf8Size(inserted))) {
        QApplication::beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CLimitedTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Only the committed text enters the document; the pre-edit text is shown, not stored.
    if (!event->commitString().isEmpty() && !Fits(Utf8Size(event->commitString()))) {
        QApplication::beep();
        QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&withoutCommit);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void CLimitedTextEdit::insertFromMimeData(const QMimeData* source)
{
    // Measured in the form the document takes it in, line breaks and all.
    const QString text = QTextDocumentFragment::fromPlainText(source->text()).toPlainText();
    if (!Fits(Utf8Size(text))) {
        QApplication::beep();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}
