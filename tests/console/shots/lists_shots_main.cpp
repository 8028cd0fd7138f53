// parlendo-lists-shots: pictures of the visitors list, the operators list and two stacked
// visitor-entered popups, as the console shows them.
//   parlendo-lists-shots --grab DIR   writes visitors-list.png, operators-list.png and popup.png

#include "app_settings.h"
#include "operator_list_ctrl.h"
#include "operator_list_model.h"
#include "visitor_list_ctrl.h"
#include "visitor_list_model.h"
#include "visitor_popup_dlg.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdio>

namespace {

CVisitorEntry Visitor(int id, int group, const char* caption, const char* page, const char* ip,
                      const char* time)
{
    CVisitorEntry v;
    v.id = id;
    v.number2 = group;
    v.text2 = caption;
    v.text1 = page;
    v.text5 = ip;
    v.time = time;
    return v;
}

CUserEntry Operator(int id, int status, const char* first, const char* last, const char* host)
{
    CUserEntry e;
    e.id = id;
    e.type = 2;
    e.status = status;
    e.text1 = host;
    e.text2 = first;
    e.text3 = last;
    return e;
}

bool Save(const QPixmap& picture, const QString& file)
{
    if (picture.save(file))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
    return false;
}

QPixmap VisitorsList(const CAppSettings& settings)
{
    CVisitorListModel model(&settings);
    const std::vector<CVisitorEntry> arrivals = {
        Visitor(101, 3, "Visitor 101 (Firefox, Lyon)", "http://www.example.com/index.html",
                "192.0.2.14", "09:58:12 03/14/2024"),
        Visitor(102, 7, "Visitor 102 (Chrome, Porto)",
                "http://shop.example.org/catalogue/garden/tools/pruning-shears-with-long-"
                "handles-and-replaceable-blades.html?colour=green&size=large&ref=newsletter",
                "198.51.100.77", "10:02:40 03/14/2024"),
        Visitor(103, 3, "Returning customer looking at the pricing page for the third time today",
                "http://www.example.com/pricing.html", "203.0.113.5", "10:05:03 03/14/2024"),
        Visitor(104, 9, "Visitor 104 (Safari, Leeds)", "http://support.example.net/faq#refunds",
                "192.0.2.201", "10:07:55 03/14/2024"),
        Visitor(105, 7, "Visitor 105 (Edge, Graz)", "http://shop.example.org/cart", "198.51.100.8",
                "10:09:31 03/14/2024"),
        Visitor(106, 12, "Visitor 106", "", "192.0.2.99", "10:11:00 03/14/2024"),
        Visitor(107, 9, "Visitor 107 (Chrome, Turku)",
                "http://support.example.net/contact us/form.aspx", "203.0.113.250",
                "10:12:18 03/14/2024"),
        Visitor(108, 3, "Visitor 108 (Firefox, Gent)", "http://www.example.com/about/team.html",
                "192.0.2.3", "10:14:47 03/14/2024"),
    };
    model.Reset({arrivals.begin(), arrivals.begin() + 3});
    for (int tick = 0; tick < 4; ++tick)
        model.TickMinutes();
    for (std::size_t i = 3; i < arrivals.size(); ++i) {
        model.AddVisitor(arrivals[i]);
        if (i % 2)
            model.TickMinutes();
    }
    model.MarkInvited(102);
    model.MarkInvited(108);

    CVisitorListCtrl view;
    view.setModel(&model);
    view.selectionModel()->select(model.index(model.RowOfId(104), 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.resize(view.header()->length() + view.frameWidth() * 2 + 2,
                view.header()->height() + 8 * 48 + view.frameWidth() * 2);
    view.show();
    QApplication::processEvents();
    return view.grab();
}

QPixmap OperatorsList()
{
    COperatorListModel model;
    model.Reset({Operator(1, 1, "Ann", "Smith", "10.0.0.21"),
                 Operator(2, 2, "Bo", "Li", "10.0.0.22"),
                 Operator(3, 3, "Cyril", "Ng", "desk-7.example.com"),
                 Operator(4, 5, "Dana", "Okafor", "10.0.0.40")});
    model.Add(Operator(5, 1, "Eve", "Marsh", "laptop-eve"));
    model.Update(Operator(2, 3, "", "", ""));
    COperatorListCtrl view;
    view.setModel(&model);
    view.selectionModel()->select(model.index(1, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view.setFocus();
    view.resize(view.header()->length() + view.frameWidth() * 2 + 2, 150);
    view.show();
    QApplication::processEvents();
    return view.grab();
}

// The bottom-right corner of the screen with two popups stacked in it, each blended over the
// desktop at its own opacity, as the window system would show them.
QPixmap StackedPopups(CAppSettings& settings)
{
    settings.m_baseUrl[0] = QStringLiteral("http://www.example.com");
    int open = 0;
    int slotLimit = 0;
    auto* lower = new CVisitorPopupDlg(&settings, &open, &slotLimit, 12,
                                       "http://www.example.com/products/index.html",
                                       "Visitor 12 (Chrome, Lyon)", {}, std::chrono::minutes(1));
    auto* upper = new CVisitorPopupDlg(
        &settings, &open, &slotLimit, 13,
        "http://www.example.com/products/garden/tools/pruning-shears-with-long-handles-and-"
        "replaceable-blades.html?colour=green&size=large",
        "Returning customer (Firefox, Porto)", {}, std::chrono::minutes(1));
    QApplication::processEvents();

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int margin = 40;
    const QRect corner(upper->x() - margin, upper->y() - margin,
                       screen.right() + 1 - (upper->x() - margin),
                       screen.bottom() + 1 - (upper->y() - margin));
    QPixmap desktop(corner.size());
    desktop.fill(QColor(58, 110, 165));
    QPainter painter(&desktop);
    painter.setPen(QColor(200, 215, 235));
    painter.drawText(desktop.rect().adjusted(8, 0, 0, -6), Qt::AlignLeft | Qt::AlignBottom,
                     QStringLiteral("bottom right of the screen; the lower edge is the screen's"));
    for (CVisitorPopupDlg* popup : {lower, upper}) {
        painter.setOpacity(popup->Transparency() / 255.0);
        painter.drawPixmap(popup->pos() - corner.topLeft(), popup->grab());
    }
    painter.end();
    delete upper;
    delete lower;
    return desktop;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Parlendo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Pictures of the console's live lists."));
    parser.addHelpOption();
    const QCommandLineOption grab(QStringLiteral("grab"),
                                  QStringLiteral("Write the pictures into <dir> and exit."),
                                  QStringLiteral("dir"));
    parser.addOption(grab);
    parser.process(app);
    if (!parser.isSet(grab)) {
        parser.showHelp(1);
    }

    QTemporaryDir settingsDir;
    CAppSettings settings(settingsDir.filePath(QStringLiteral("settings.conf")));
    settings.m_blockIp = {"198.51.100.250", "", "", "", ""};
    settings.m_baseUrl = {"http://www.example.com", "*//shop.example.org", "", "", ""};
    settings.m_username = QStringLiteral("ann");

    const QDir out(parser.value(grab));
    bool ok = Save(VisitorsList(settings), out.filePath(QStringLiteral("visitors-list.png")));
    ok = Save(OperatorsList(), out.filePath(QStringLiteral("operators-list.png"))) && ok;
    ok = Save(StackedPopups(settings), out.filePath(QStringLiteral("popup.png"))) && ok;
    return ok ? 0 : 1;
}
