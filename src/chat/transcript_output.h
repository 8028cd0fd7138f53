#pragma once

#include <QString>

class CNotifier;
class QPrinter;
class QTextDocument;
class QWidget;

// The transcript leaving the window: saved as rich text, or printed. Both return an error text
// for the operator, empty when all went well. They run on the GUI thread, as the document's
// owner does.

// Writes the document as rich text to path. The file appears whole or not at all: an existing
// file is replaced only once the new one is completely written, and stays as it was when
// anything fails.
[[nodiscard]] QString SaveTranscript(const QString& path, const QTextDocument& document);

// Prints the document, paginated for the printer's page, as a job named title. Only the pages
// in the printer's range are printed when one is set. The printer's page margins are used;
// when it has none (printing to PDF, for one), a margin is added so text does not touch the
// edge of the paper.
[[nodiscard]] QString PrintTranscript(QPrinter& printer, const QTextDocument& document,
                                      const QString& title);

// The Save Chat and Print Chat commands: a save dialog (rich text, asking before it overwrites)
// or a print dialog (all pages; printing to a PDF file where there is no printer), then the
// above, with a failure told through the notifier. Neither blocks: the dialogs are window-modal
// over parent, which must outlive them, as the document, printer and notifier must.
void OfferToSaveTranscript(QWidget* parent, const QTextDocument& document, CNotifier& notifier);
void OfferToPrintTranscript(QWidget* parent, QPrinter& printer, const QTextDocument& document,
                            CNotifier& notifier);
