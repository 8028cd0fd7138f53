#include "chat_export.h"

#include "chat_archive.h"
#include "rtf_writer.h"
#include "transcript_document.h"
#include "whole_file.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMimeData>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

QByteArray Pdf(const QTextDocument& document)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("Parlendo"));
        pdf.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        // Laid out anew for the page, paginated, with the page numbers at the foot.
        document.print(&pdf);
    }
    return buffer.data();
}

} // namespace

std::unique_ptr<QTextDocument> CChatExport::Document(CChatArchive& archive,
                                                     const QList<CArchivedChat>& chats)
{
    auto document = std::make_unique<QTextDocument>();
    for (const CArchivedChat& chat : chats)
        CTranscriptDocument::AppendChat(*document, chat, archive.Lines(chat.id), QColor(), false);
    if (chats.size() == 1)
        document->setMetaInformation(QTextDocument::DocumentTitle,
                                     CTranscriptDocument::Heading(chats.first()));
    else
        document->setMetaInformation(QTextDocument::DocumentTitle,
                                     QCoreApplication::translate("CChatExport", "Chat History"));
    return document;
}

CChatExport::Format CChatExport::FormatOf(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf"))
        return Format::Pdf;
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return Format::Html;
    return Format::Rtf;
}

QString CChatExport::Write(const QString& path, Format format, const QTextDocument& document)
{
    switch (format) {
    case Format::Rtf:
        return WriteWholeFile(path, RtfFromDocument(document));
    case Format::Html:
        return WriteWholeFile(path, document.toHtml().toUtf8());
    case Format::Pdf:
        return WriteWholeFile(path, Pdf(document));
    }
    return {};
}

QMimeData* CChatExport::MimeData(const QTextDocument& document)
{
    auto* data = new QMimeData;
    data->setText(document.toPlainText());
    data->setHtml(document.toHtml());
    return data;
}
