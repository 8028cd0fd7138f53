#pragma once

#include <QValidator>

// Keeps a line edit's text within what the settings record stores of it: a number of UTF-8
// bytes rather than of characters, so a text the operator sees whole is never cut on saving.
// An edit that would go beyond is refused as a whole, a paste included.
class CByteLengthValidator final : public QValidator
{
    Q_OBJECT

public:
    CByteLengthValidator(int maxBytes, QObject* parent);

    State validate(QString& input, int& pos) const override;

private:
    int m_maxBytes;
};
