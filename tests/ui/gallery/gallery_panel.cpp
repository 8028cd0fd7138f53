#include "gallery_panel.h"

#include "flat_button.h"
#include "gradient_button.h"
#include "gradient_label.h"
#include "icon_menu.h"
#include "layered_dlg.h"
#include "link_static.h"
#include "url_launcher.h"

#include <QAction>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

const QColor kTeal(0, 128, 128);
const QColor kMagenta(255, 0, 255);

enum StatusCommand
{
    kOnline = 32771,
    kBusy,
    kAway,
    kOffline,
};

QImage Art(const QString& name)
{
    return QImage(QStringLiteral(":/ui/%1.png").arg(name));
}

void Hover(QWidget* widget)
{
    const QPointF at(2, 2);
    QEnterEvent enter(at, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &enter);
}

void Focus(QWidget* widget)
{
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(widget, &in);
}

// The toolbar set-up the console gives its buttons.
void ToolbarColours(CFlatButton* button)
{
    button->SetColour(CFlatButton::kBackOver, SysColour::ScrollBar, false);
    button->SetColour(CFlatButton::kBackNormal, SysColour::ScrollBar, false);
    button->SetColour(CFlatButton::kBackFocus, SysColour::ScrollBar, false);
    button->SetColour(CFlatButton::kTextNormal, SysColour::WindowText, false);
    // Pure blue on the usual light palette, and still readable on a dark one.
    button->SetColour(CFlatButton::kTextOver, SysColour::HotTrack, false);
}

CFlatButton* ToolbarButton(const QString& text, const QString& art, QWidget* parent)
{
    auto* button = new CFlatButton(text, parent);
    button->SetBitmaps(Art(art), kTeal, {}, {}, false);
    button->SetAlignment(CFlatButton::kPictureLeft, false);
    ToolbarColours(button);
    return button;
}

std::unique_ptr<IconMenu> StatusMenu(bool withExtras)
{
    auto menu = std::make_unique<IconMenu>(QStringLiteral("Status"));
    menu->SetIconStrip(Art(QStringLiteral("status-strip")), QSize(16, 16), kMagenta);
    QAction* online = menu->AddCommand(kOnline, QStringLiteral("Online"), 0);
    menu->AddCommand(kBusy, QStringLiteral("Busy"), 1);
    menu->AddCommand(kAway, QStringLiteral("Away"), 2);
    if (withExtras) {
        online->setCheckable(true);
        online->setChecked(true);
        menu->addSeparator();
        QAction* offline = menu->AddCommand(kOffline, QStringLiteral("Offline\tCtrl+O"));
        offline->setEnabled(false);
    }
    return menu;
}

void NavigationColours(CGradientButton* button)
{
    button->SetColours(CThemeColour(SysColour::Light3D, 255),
                       CThemeColour(SysColour::GradientInactiveCaption, 255),
                       CThemeColour(SysColour::ActiveCaption, 220));
    button->SetHover(true);
}

// Draws a picture at an opacity over a checkerboard, the way a translucent window shows over
// whatever lies behind it.
QPixmap OverCheckerboard(const QPixmap& picture, int opacity)
{
    QPixmap out(picture.size() + QSize(16, 16));
    QPainter painter(&out);
    for (int y = 0; y < out.height(); y += 8)
        for (int x = 0; x < out.width(); x += 8)
            painter.fillRect(x, y, 8, 8,
                             ((x + y) / 8) % 2 ? QColor(120, 120, 120) : QColor(230, 230, 230));
    painter.setOpacity(opacity / 255.0);
    painter.drawPixmap(8, 8, picture);
    return out;
}

} // namespace

CGalleryPanel::CGalleryPanel(const QString& title, const QPalette& palette, QStyle* style,
                             QWidget* parent)
    : QWidget(parent), m_style(style), m_stage(new QWidget(this)), m_column(new QVBoxLayout(this))
{
    setPalette(palette);
    setAutoFillBackground(true);
    m_stage->hide();
    m_column->setContentsMargins(10, 8, 10, 8);
    m_column->setSpacing(4);

    auto* heading = new QLabel(title, this);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    heading->setFont(font);
    m_column->addWidget(heading);

    AddToolbar();
    AddFlatButtons();
    AddMenus();
    AddGradientButtons();
    AddGradientLabels();
    AddLinks();
    AddLayeredDialog();
    AddLiveRow();
    m_column->addStretch(1);
    Adopt(this);
}

void CGalleryPanel::Adopt(QWidget* widget) const
{
    if (!m_style)
        return;
    // Menus keep their own metrics style; they take their look from the button they belong to.
    if (!qobject_cast<IconMenu*>(widget))
        widget->setStyle(m_style);
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        Adopt(child);
}

void CGalleryPanel::Section(const QString& title)
{
    EndRow();
    auto* label = new QLabel(title, this);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setContentsMargins(0, 6, 0, 0);
    m_column->addWidget(label);
}

void CGalleryPanel::Shot(QWidget* widget, const QString& caption)
{
    if (!m_row) {
        m_row = new QWidget(this);
        auto* layout = new QHBoxLayout(m_row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(10);
        m_column->addWidget(m_row);
    }
    Adopt(widget);
    widget->ensurePolished();
    auto* cell = new QWidget(m_row);
    auto* layout = new QVBoxLayout(cell);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* picture = new QLabel(cell);
    picture->setPixmap(widget->grab());
    layout->addWidget(picture, 0, Qt::AlignLeft | Qt::AlignTop);
    auto* text = new QLabel(caption, cell);
    QFont font = text->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    text->setFont(font);
    text->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(text, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);
    static_cast<QHBoxLayout*>(m_row->layout())->addWidget(cell, 0, Qt::AlignTop);
}

void CGalleryPanel::EndRow()
{
    if (m_row)
        static_cast<QHBoxLayout*>(m_row->layout())->addStretch(1);
    m_row = nullptr;
}

void CGalleryPanel::AddToolbar()
{
    Section(QStringLiteral("Toolbar: CGradientLabel band and CFlatButton"));
    auto* bar = new QWidget(m_stage);
    auto* band = new CGradientLabel(QString(), bar);
    band->SetColours(SysColour::ScrollBar, SysColour::ScrollBar, SysColour::CaptionText);

    struct Entry
    {
        const char* text;
        const char* art;
    };
    const Entry entries[] = {{"Login", "login"},
                             {"Logout", "logout"},
                             {"My Status", "status"},
                             {"Invite to Chat", "invite"},
                             {"View Settings", "settings"},
                             {"Canned Answers", "canned"},
                             {"About", "about"}};
    QList<CFlatButton*> buttons;
    for (const Entry& e : entries)
        buttons.append(ToolbarButton(QString::fromLatin1(e.text), QString::fromLatin1(e.art), bar));

    buttons[1]->setEnabled(false);
    buttons[2]->SetMenu(StatusMenu(false), false);
    Hover(buttons[3]);
    Focus(buttons[4]);
    buttons[5]->SetCheckBoxMode(true, false);
    buttons[5]->setChecked(true);
    buttons[6]->setDown(true);

    int x = 3;
    int height = 0;
    for (CFlatButton* b : buttons)
        height = qMax(height, b->sizeHint().height());
    for (CFlatButton* b : buttons) {
        b->setGeometry(x, 3, b->sizeHint().width(), height);
        x += b->width() + 2;
    }
    band->setGeometry(0, 0, x + 1, height + 6);
    bar->resize(band->size());
    Shot(bar, QStringLiteral("normal · disabled · menu · hover · focus · checked · pressed"));
}

void CGalleryPanel::AddFlatButtons()
{
    Section(QStringLiteral("CFlatButton: picture alignment 0-3, hover picture, raised"));
    const QString names[] = {QStringLiteral("0 left"), QStringLiteral("1 right"),
                             QStringLiteral("2 above"), QStringLiteral("3 below")};
    for (int align = 0; align < 4; ++align) {
        auto* b = ToolbarButton(names[align], QStringLiteral("invite"), m_stage);
        b->SetAlignment(align, false);
        b->resize(b->sizeHint());
        Shot(b, QStringLiteral("SetAlignment(%1)").arg(align));
    }
    EndRow();

    // Three distinct pairs, so each state shows which pair it uses.
    const char* pairs[] = {"colours 2/3: normal", "colours 4/5: focus", "colours 0/1: hover"};
    for (int state = 0; state < 3; ++state) {
        auto* b = ToolbarButton(QStringLiteral("Colours"), QStringLiteral("settings"), m_stage);
        b->SetColour(CFlatButton::kBackOver, QColor(255, 226, 160), false);
        b->SetColour(CFlatButton::kTextOver, QColor(128, 64, 0), false);
        b->SetColour(CFlatButton::kBackFocus, QColor(200, 224, 255), false);
        b->SetColour(CFlatButton::kTextFocus, QColor(0, 64, 160), false);
        b->resize(b->sizeHint());
        if (state == 1)
            Focus(b);
        else if (state == 2)
            Hover(b);
        Shot(b, QString::fromLatin1(pairs[state]));
    }
    EndRow();

    const QIcon send(QStringLiteral(":/ui/send.svg"));
    const QIcon sendHover(QStringLiteral(":/ui/send-hover.svg"));
    for (int hovered = 0; hovered < 2; ++hovered) {
        auto* b = new CFlatButton(QStringLiteral("Send Link"), m_stage);
        b->SetIcons(send, sendHover, false);
        b->resize(b->sizeHint());
        if (hovered)
            Hover(b);
        Shot(b, hovered ? QStringLiteral("icon, hover picture") : QStringLiteral("icon"));
    }
    for (int hovered = 0; hovered < 2; ++hovered) {
        auto* close = new CFlatButton(QString(), m_stage);
        close->SetBitmaps(Art(QStringLiteral("close")), kTeal, {}, {}, false);
        close->SetColour(CFlatButton::kBackOver, SysColour::ScrollBar, false);
        close->SetColour(CFlatButton::kBackNormal, SysColour::ScrollBar, false);
        close->SetColour(CFlatButton::kBackFocus, SysColour::ScrollBar, false);
        close->resize(close->sizeHint());
        if (hovered)
            Hover(close);
        Shot(close, hovered ? QStringLiteral("close, hover") : QStringLiteral("close"));
    }
    EndRow();

    const char* states[] = {"raised", "raised, pressed", "raised, focus", "raised, disabled"};
    for (int state = 0; state < 4; ++state) {
        auto* b = new CFlatButton(QStringLiteral("Send"), m_stage);
        b->SetIcons(send, {}, false);
        b->SetFlat(false, false);
        b->resize(b->sizeHint() + QSize(16, 4));
        if (state == 1)
            b->setDown(true);
        else if (state == 2)
            Focus(b);
        else if (state == 3)
            b->setEnabled(false);
        Shot(b, QString::fromLatin1(states[state]));
    }
    auto* invite = new CFlatButton(QStringLiteral("Invite to chat"), m_stage);
    invite->SetColour(CFlatButton::kTextNormal, QColor(255, 0, 0), false);
    invite->SetColour(CFlatButton::kTextOver, SysColour::HotTrack, false);
    invite->resize(invite->sizeHint());
    Shot(invite, QStringLiteral("text only"));
}

void CGalleryPanel::AddMenus()
{
    Section(QStringLiteral("IconMenu: \"My Status\" menu"));
    auto* owner = new CFlatButton(QStringLiteral("My Status"), m_stage);
    owner->SetMenu(StatusMenu(true), false);
    Adopt(owner);
    IconMenu* menu = owner->Menu();
    menu->ensurePolished();
    menu->resize(menu->sizeHint());
    menu->setActiveAction(menu->actions().at(1));
    Shot(menu, QStringLiteral("Online checked, Busy selected, separator, disabled item"));
}

void CGalleryPanel::AddGradientButtons()
{
    Section(QStringLiteral("CGradientButton: navigation column"));
    const char* texts[] = {"Website Visitors", "Website Operators", "Website Reports",
                           "Account Settings", "Quick Tutorial      "};
    const char* captions[] = {"normal", "hover", "pressed", "disabled", "focus"};
    for (int i = 0; i < 5; ++i) {
        auto* b = new CGradientButton(QString::fromLatin1(texts[i]), m_stage);
        NavigationColours(b);
        b->resize(136, 26);
        if (i == 1)
            Hover(b);
        else if (i == 2)
            b->setDown(true);
        else if (i == 3)
            b->setEnabled(false);
        else if (i == 4)
            Focus(b);
        Shot(b, QString::fromLatin1(captions[i]));
    }
    EndRow();
    for (int i = 0; i < 4; ++i) {
        auto* b = new CGradientButton(QStringLiteral("Default colours"), m_stage);
        b->resize(136, 26);
        QString caption = QStringLiteral("defaults");
        if (i == 1) {
            b->SetHover(true);
            Hover(b);
            caption = QStringLiteral("defaults, hover");
        } else if (i == 2) {
            b->setDown(true);
            caption = QStringLiteral("defaults, pressed");
        } else if (i == 3) {
            b->setText(QStringLiteral("Themed frame"));
            NavigationColours(b);
            b->SetUseTheme(true);
            caption = QStringLiteral("style's frame");
        }
        Shot(b, caption);
    }
}

void CGalleryPanel::AddGradientLabels()
{
    Section(QStringLiteral("CGradientLabel: captions and bands"));
    auto* view = new CGradientLabel(QStringLiteral("View"), m_stage);
    view->SetColours(SysColour::ActiveCaption, SysColour::GradientActiveCaption,
                     SysColour::HighlightText);
    view->resize(136, 26);
    Shot(view, QStringLiteral("\"View\" heading"));

    auto* pane = new CGradientLabel(QStringLiteral(" Website Visitors"), m_stage);
    pane->SetColours(SysColour::ActiveCaption, SysColour::GradientActiveCaption,
                     SysColour::HighlightText);
    pane->resize(220, 26);
    Shot(pane, QStringLiteral("pane caption"));
    EndRow();

    auto* canned = new CGradientLabel(QStringLiteral("Canned Answers"), m_stage);
    canned->SetTopColour(SysColour::ScrollBar);
    canned->SetTextColour(SysColour::WindowText);
    canned->resize(155, 19);
    Shot(canned, QStringLiteral("panel caption"));

    auto* centred = new CGradientLabel(QStringLiteral("Default colours, centred"), m_stage);
    centred->SetCentred(true);
    centred->resize(210, 24);
    Shot(centred, QStringLiteral("defaults, centred"));
}

void CGalleryPanel::AddLinks()
{
    Section(QStringLiteral("CLinkStatic"));
    const char* captions[] = {"link", "hover", "visited", "not underlined"};
    for (int i = 0; i < 4; ++i) {
        auto* link = new CLinkStatic(QStringLiteral("Click here to create a new account"), m_stage);
        if (i == 1)
            Hover(link);
        else if (i == 2)
            link->SetVisited(true);
        else if (i == 3)
            link->SetUnderline(false);
        Shot(link, QString::fromLatin1(captions[i]));
        if (i == 1)
            EndRow();
    }
}

void CGalleryPanel::AddLayeredDialog()
{
    Section(QStringLiteral("CLayeredDlg: SetTransparency(255) and (210)"));
    for (int opacity : {255, 210}) {
        auto* dialog = new CLayeredDlg(m_stage);
        dialog->setPalette(palette());
        auto* layout = new QVBoxLayout(dialog);
        layout->setContentsMargins(6, 4, 6, 4);
        layout->setSpacing(2);
        auto* link = new CLinkStatic(QStringLiteral("Visitor 12 (Chrome, Lyon)"), dialog);
        layout->addWidget(link);
        layout->addWidget(
            new QLabel(QStringLiteral("A visitor has now entered: /products/index.html"), dialog));
        Adopt(dialog);
        dialog->SetTransparency(static_cast<std::uint8_t>(opacity));
        dialog->adjustSize();
        auto* holder = new QLabel(m_stage);
        holder->setPixmap(OverCheckerboard(dialog->grab(), dialog->Transparency()));
        holder->adjustSize();
        Shot(holder, QStringLiteral("opacity %1").arg(dialog->Transparency()));
    }
}

void CGalleryPanel::AddLiveRow()
{
    Section(QStringLiteral("Live: try the mouse on these"));
    EndRow();
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* status = ToolbarButton(QStringLiteral("My Status"), QStringLiteral("status"), row);
    status->SetMenu(StatusMenu(true), false);
    auto* shown = new QLabel(row);
    connect(status, &CFlatButton::MenuCommand, shown,
            [shown](int command) { shown->setText(QStringLiteral("command %1").arg(command)); });
    auto* check = ToolbarButton(QStringLiteral("Canned Answers"), QStringLiteral("canned"), row);
    check->SetCheckBoxMode(true, false);
    auto* nav = new CGradientButton(QStringLiteral("Website Visitors"), row);
    NavigationColours(nav);
    nav->setMinimumWidth(136);
    auto* link = new CLinkStatic(QStringLiteral("https://www.example.com/"), row);
    layout->addWidget(status);
    layout->addWidget(check);
    layout->addWidget(nav);
    layout->addWidget(link);
    layout->addWidget(shown);
    layout->addStretch(1);
    m_column->addWidget(row);
}
