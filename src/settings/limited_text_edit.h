#pragma once

#include <QPlainTextEdit>

// A multi-line edit whose plain text (line breaks as '\n') never grows beyond a number of
// UTF-8 bytes, so that what the settings record stores is what the operator sees. Typing,
// pasting, dropping and input-method text that would not fit are refused whole with a beep;
// text set by the program is taken as it is. Enter starts a new line and Tab moves the focus
// on, as in the other fields of a dialog.
class CLimitedTextEdit final : public QPlainTextEdit
{
    Q_OBJECT

public:
    CLimitedTextEdit(int maxBytes, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Whether replacing the selection with this many bytes keeps the text within the limit.
    bool Fits(qsizetype insertedBytes) const;

    int m_maxBytes;
};
