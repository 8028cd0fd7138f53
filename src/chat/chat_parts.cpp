#include "chat_parts.h"

#include "art_icon_engine.h"
#include "canned_panel.h"
#include "dialog_units.h"
#include "flat_button.h"
#include "toolbar_band.h"
#include "transcript_ctrl.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

CChatParts CChatParts::Build(QWidget* window)
{
    const CDialogUnits units(window->font());
    CChatParts parts;

    auto* toolbar = new CToolbarBand(window);
    const auto add = [toolbar](const QString& caption, const char* picture, const char* name) {
        return toolbar->AddButton(caption, QString::fromLatin1(picture), QString::fromLatin1(name));
    };
    parts.cannedAnswers = add(tr("Canned Answers"), ":/ui/canned.svg", "cannedAnswers");
    parts.transferChat = add(tr("Transfer Chat"), ":/ui/invite.svg", "transferChat");
    parts.sendLink = add(tr("Send Link"), ":/chat/link.svg", "sendLink");
    parts.sendImage = add(tr("Send Image"), ":/chat/image.svg", "sendImage");
    parts.saveChat = add(tr("Save Chat"), ":/chat/save.svg", "saveChat");
    parts.printChat = add(tr("Print Chat"), ":/chat/print.svg", "printChat");
    parts.closeChat = add(tr("Close Chat"), ":/chat/close-chat.svg", "closeChat");
    parts.saveChat->SetTooltip(tr("Save the chat as a rich text file (Ctrl+S)"), false);
    parts.printChat->SetTooltip(tr("Print the chat (Ctrl+P)"), false);
    parts.toolbarWidth = toolbar->RowWidth();

    parts.transcript = new CTranscriptCtrl(window);
    parts.transcript->setObjectName(QStringLiteral("transcript"));
    parts.transcript->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    parts.input = new QPlainTextEdit(window);
    parts.input->setObjectName(QStringLiteral("input"));
    parts.input->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    parts.input->setTabChangesFocus(true);
    parts.input->setFixedHeight(units.Y(30));

    // The one raised button of the window: it is what Enter does.
    parts.send = new CFlatButton(tr("Send"), window);
    parts.send->setObjectName(QStringLiteral("send"));
    parts.send->SetIcons(CArtIconEngine::Icon(QStringLiteral(":/chat/send.svg")), {}, false);
    parts.send->SetAlignment(CFlatButton::kPictureLeft, false);
    parts.send->SetFlat(false, false);
    parts.send->setFixedSize(std::max(units.X(50), parts.send->sizeHint().width()), units.Y(30));

    // Reads the answers as they are now: a later save in the editor leaves this window's alone.
    parts.cannedPanel = new CCannedPanel(parts.input, window);
    QObject::connect(parts.cannedAnswers, &QAbstractButton::clicked, parts.cannedPanel,
                     &CCannedPanel::Toggle);

    parts.offerInfo = new QLabel(window);
    parts.offerInfo->setObjectName(QStringLiteral("offerInfo"));
    parts.offerInfo->setTextFormat(Qt::PlainText);
    parts.offerInfo->setWordWrap(true);
    parts.offerInfo->hide();

    auto* line = new QFrame(window);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    parts.statusLine = new QLabel(window);
    parts.statusLine->setObjectName(QStringLiteral("statusLine"));
    parts.statusLine->setTextFormat(Qt::PlainText);

    auto* inputRow = new QHBoxLayout;
    inputRow->setSpacing(units.X(1));
    inputRow->addWidget(parts.input, 1);
    inputRow->addWidget(parts.send);
    auto* conversation = new QVBoxLayout;
    conversation->setSpacing(units.Y(2));
    conversation->addWidget(parts.transcript, 1);
    conversation->addLayout(inputRow);
    auto* body = new QHBoxLayout;
    body->setSpacing(units.X(1));
    body->addWidget(parts.cannedPanel);
    body->addLayout(conversation, 1);
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(1, 1, 2, 2);
    layout->setSpacing(units.Y(2));
    layout->addWidget(toolbar);
    layout->addWidget(parts.offerInfo);
    layout->addLayout(body, 1);
    layout->addWidget(line);
    layout->addWidget(parts.statusLine);

    QWidget::setTabOrder(parts.input, parts.send);
    QWidget::setTabOrder(parts.send, parts.transcript);
    return parts;
}
