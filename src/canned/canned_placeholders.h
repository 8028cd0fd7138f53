#pragma once

#include <QDateTime>
#include <QString>

// Who and when a canned answer is inserted for.
struct CannedContext
{
    QString visitor;      // the visitor's name, empty while not known
    QString operatorName; // the operator's name
    QDateTime now;        // invalid: the moment of insertion
};

// The message with {visitor}, {operator}, {date} and {time} filled in, the date and time in the
// short form of the operator's language. A name that is not known (empty) and any other text in
// braces stay as typed, so the operator sees them in the input box before sending. One pass: a
// name that itself holds a placeholder is not filled in again.
QString FillCannedPlaceholders(const QString& message, const CannedContext& context);
