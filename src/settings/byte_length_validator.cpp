#include "byte_length_validator.h"

CByteLengthValidator::CByteLengthValidator(int maxBytes, QObject* parent)
    : QValidator(parent), m_maxBytes(maxBytes)
{
}

QValidator::State CByteLengthValidator::validate(QString& input, int&) const
{
    return input.toUtf8().size() <= m_maxBytes ? Acceptable : Invalid;
}
