#include "transcript_output.h"

#include "notifier.h"

#include "rtf_writer.h"
#include "whole_file.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <algorithm>
#include <memory>

namespace {

// The translators' context of this file's texts.
struct TranscriptOutput
{
    Q_DECLARE_TR_FUNCTIONS(TranscriptOutput)
};

QString SaveError(const QString& path, const QString& reason)
{
    return TranscriptOutput::tr("The chat could not be saved to %1.\n%2")
        .arg(QDir::toNativeSeparators(path), reason);
}

constexpr qreal kPaperMarginMm = 15.0;

} // namespace

QString SaveTranscript(const QString& path, const QTextDocument& document)
{
    const QString reason = WriteWholeFile(path, RtfFromDocument(document));
    return reason.isEmpty() ? QString() : SaveError(path, reason);
}

QString PrintTranscript(QPrinter& printer, const QTextDocument& document, const QString& title)
{
    printer.setDocName(title);

    QPainter painter;
    if (!painter.begin(&printer))
        return TranscriptOutput::tr(
            "The chat could not be printed: the printer could not be started.");

    // The copy is laid out for the printer, leaving the window's own layout alone.
    const std::unique_ptr<QTextDocument> copy(document.clone());
    copy->documentLayout()->setPaintDevice(&printer);
    copy->setDocumentMargin(0);

    // Text keeps off the paper's edge: by the printer's margins, or ours when it has none.
    // Without full page, the printer applies its margins and the painter's origin is their
    // inner corner; with full page, the origin is the paper's corner and margins are ours.
    const QMarginsF printerMargins = printer.pageLayout().margins(QPageLayout::Millimeter);
    const bool ownMargins = printerMargins.isNull();
    const QMarginsF marginsMm =
        ownMargins ? QMarginsF(kPaperMarginMm, kPaperMarginMm, kPaperMarginMm, kPaperMarginMm)
                   : printerMargins;
    const qreal dotsPerMm = printer.resolution() / 25.4;
    QRectF body(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    if (printer.fullPage() || ownMargins)
        body = body.marginsRemoved(marginsMm * dotsPerMm);
    // Lines that would cross the bottom of a page are moved to the next one by the layout.
    copy->setPageSize(body.size());

    const int pageCount = copy->pageCount();
    const int first = printer.fromPage() > 0 ? std::max(printer.fromPage(), 1) : 1;
    const int last = printer.toPage() > 0 ? std::min(printer.toPage(), pageCount) : pageCount;
    const qreal pageHeight = body.height();
    for (int page = first; page <= last; ++page) {
        if (page > first && !printer.newPage())
            return TranscriptOutput::tr(
                "The chat could not be printed: the printer refused a new page.");
        const QRectF area(0, (page - 1) * pageHeight, body.width(), pageHeight);
        painter.save();
        painter.translate(body.left(), body.top() - area.top());
        // The layout draws every line that touches the clip, and a line moved to the next page
        // starts exactly on the boundary: clipped from view, its text would still be in the
        // job (twice in a PDF's text). Half a device pixel off each edge leaves it out.
        copy->drawContents(&painter, area.adjusted(0, 0.5, 0, -0.5));
        painter.restore();
    }
    if (!painter.end())
        return TranscriptOutput::tr(
            "The chat could not be printed: the print job could not be finished.");
    return {};
}

void OfferToSaveTranscript(QWidget* parent, const QTextDocument& document, CNotifier& notifier)
{
    auto* dialog = new QFileDialog(parent, TranscriptOutput::tr("Save As"), QString(),
                                   TranscriptOutput::tr("Rich Text Format(*.rtf)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("rtf"));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    QObject::connect(dialog, &QFileDialog::fileSelected, parent,
                     [parent, &document, &notifier](const QString& path) {
                         const QString error = SaveTranscript(path, document);
                         if (!error.isEmpty())
                             notifier.Inform(parent, error);
                     });
    dialog->open();
}

void OfferToPrintTranscript(QWidget* parent, QPrinter& printer, const QTextDocument& document,
                            CNotifier& notifier)
{
    printer.setPrintRange(QPrinter::AllPages);
    auto* dialog = new QPrintDialog(&printer, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    QObject::connect(dialog, &QDialog::finished, parent,
                     [parent, &printer, &document, &notifier](int result) {
                         if (result != QDialog::Accepted)
                             return;
                         const QString error =
                             PrintTranscript(printer, document, parent->window()->windowTitle());
                         if (!error.isEmpty())
                             notifier.Inform(parent, error);
                     });
    dialog->open();
}
