#include "about_dlg.h"

#include "dialog_picture.h"
#include "dialog_units.h"
#include "link_static.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(const CUrlLauncher* launcher, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About Parlendo"));
    const CDialogUnits units(font());

    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(units.X(2), units.Y(1), units.X(6), units.Y(4));
    row->setSpacing(units.X(6));
    row->addWidget(new CDialogPicture(67, 98, frame), 0, Qt::AlignTop);

    auto* text = new QVBoxLayout;
    text->setSpacing(units.Y(1));
    auto* name = new QLabel(tr("Parlendo"), frame);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    text->addWidget(name);
    text->addWidget(new QLabel(tr("version %1").arg(QStringLiteral("1.2")), frame));
    text->addSpacing(units.Y(9));
    auto* site = new CLinkStatic(QString::fromLatin1(kWebSite), frame);
    site->setObjectName(QStringLiteral("webSite"));
    site->SetLauncher(launcher);
    text->addWidget(site, 0, Qt::AlignLeft);
    text->addStretch(1);
    auto* line =
        new QLabel(tr("Live chat with the visitors of your web sites."), frame);
    line->setWordWrap(true);
    text->addWidget(line);
    auto* licence = new CLinkStatic(tr("License Agreement"), frame);
    licence->setObjectName(QStringLiteral("licence"));
    licence->SetLauncher(launcher);
    licence->SetUrl(QString::fromLatin1(kLicenceFile));
    text->addWidget(licence, 0, Qt::AlignLeft);
    row->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAboutDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.X(7), units.Y(7), units.X(7), units.Y(7));
    layout->setSpacing(units.Y(6));
    layout->addWidget(frame);
    layout->addWidget(buttons);
    frame->setMinimumWidth(units.X(216));
}
