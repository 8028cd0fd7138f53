#pragma once

#include <QByteArray>

class QTextDocument;

// The document as rich text: a font table with the document's default font, a colour table
// collected from the text, and per stretch of text its colour, bold, italic and underline. One
// paragraph per block. The output is 7-bit ASCII; other characters are written as Unicode
// escapes, so a transcript in any script survives any reader that knows them.
QByteArray RtfFromDocument(const QTextDocument& document);
