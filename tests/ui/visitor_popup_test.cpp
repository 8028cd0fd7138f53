#include "app_settings.h"
#include "flat_button.h"
#include "link_static.h"
#include "result_codes.h"
#include "url_launcher.h"
#include "visitor_entry.h"
#include "visitor_popup_dlg.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>
#include <mutex>

using namespace std::chrono_literals;

namespace {

// Long enough that a popup never closes by itself during a test that does not want it to.
constexpr std::chrono::milliseconds kLong{10min};

QList<QMessageBox*> ShownMessageBoxes()
{
    QList<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
            boxes.append(box);
    return boxes;
}

CVisitorEntry Visitor(int id, const std::string& page, const std::string& caption)
{
    CVisitorEntry v;
    v.id = id;
    v.text1 = page;
    v.text2 = caption;
    v.text5 = "192.0.2.1";
    return v;
}

// What an invitation function was asked to send, and from which thread.
struct SentInvitation
{
    std::mutex mutex;
    int calls = 0;
    int visitorId = 0;
    std::string text;
    QThread* thread = nullptr;
};

CVisitorPopupDlg::InviteFunction Recorder(const std::shared_ptr<SentInvitation>& sent, int result)
{
    return [sent, result](int visitorId, std::string text) {
        const std::lock_guard lock(sent->mutex);
        ++sent->calls;
        sent->visitorId = visitorId;
        sent->text = std::move(text);
        sent->thread = QThread::currentThread();
        return result;
    };
}

QString MessageText(CVisitorPopupDlg* popup)
{
    for (QLabel* label : popup->findChildren<QLabel*>())
        if (label->text().startsWith(QStringLiteral("A visitor has now entered: ")))
            return label->text();
    return {};
}

CFlatButton* Button(CVisitorPopupDlg* popup, const QString& text)
{
    for (CFlatButton* button : popup->findChildren<CFlatButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

} // namespace

class TestVisitorPopup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void twoPopupsStackUpwards();
    void popupAboveTheScreenTopSitsAtZero();
    void announceHonoursHintsAndSlots_data();
    void announceHonoursHintsAndSlots();
    void displayedAddressChainsPatterns_data();
    void displayedAddressChainsPatterns();
    void linkOpensTheFullAddress();
    void closesAfterItsLifetime();
    void closeButtonAndEscapeClose_data();
    void closeButtonAndEscapeClose();
    void inviteSendsOffTheGuiThreadAndCloses();
    void failedInviteReportsOnceThenCloses();
    void lifetimeEndingUnderTheErrorBoxFreesOnce();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CAppSettings> m_settings;
    int m_openCount = 0;
    int m_slotLimit = 0;
};

void TestVisitorPopup::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<CAppSettings>(m_dir->filePath(QStringLiteral("s.conf")));
    m_settings->m_username = QStringLiteral("ann");
    m_openCount = 0;
    m_slotLimit = 0;
}

void TestVisitorPopup::cleanup()
{
    CVisitorPopupDlg::CloseAll();
    for (QMessageBox* box : ShownMessageBoxes())
        box->close();
    QCOMPARE(m_openCount, 0);
    m_settings.reset();
    m_dir.reset();
}

void TestVisitorPopup::twoPopupsStackUpwards()
{
    auto* first = new CVisitorPopupDlg(m_settings.get(), &m_openCount, &m_slotLimit, 1,
                                       "http://a/1", "One", {}, kLong);
    auto* second = new CVisitorPopupDlg(m_settings.get(), &m_openCount, &m_slotLimit, 2,
                                        "http://a/2", "Two", {}, kLong);
    QCOMPARE(m_openCount, 2);

    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int w = first->width();
    const int h = first->height();
    QCOMPARE(second->size(), first->size());
    QCOMPARE(m_slotLimit, screen.height() / h - 1);
    QCOMPARE(first->pos(), QPoint(screen.width() - w - 5, screen.height() - (h - 1) - 30));
    // The second sits one popup height less one pixel higher, border on border.
    QCOMPARE(second->pos(), first->pos() - QPoint(0, h - 1));
    QVERIFY(first->isVisible() && second->isVisible());
    QVERIFY(first->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(first->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(first->windowFlags() & Qt::WindowType_Mask, Qt::Tool);
    QCOMPARE(first->Transparency(), 210);

    // When the lower one closes, the next popup takes the slot the count gives: the second's.
    delete first;
    QCOMPARE(m_openCount, 1);
    auto* third = new CVisitorPopupDlg(m_settings.get(), &m_openCount, &m_slotLimit, 3,
                                       "http://a/3", "Three", {}, kLong);
    QCOMPARE(third->pos(), second->pos());
}

void TestVisitorPopup::popupAboveTheScreenTopSitsAtZero()
{
    m_openCount = 1000; // as if the screen had shrunk under many open popups
    auto* popup = new CVisitorPopupDlg(m_settings.get(), &m_openCount, &m_slotLimit, 1,
                                       "http://a/1", "One", {}, kLong);
    QCOMPARE(popup->y(), QGuiApplication::primaryScreen()->geometry().top());
    delete popup;
    m_openCount = 0;
}

void TestVisitorPopup::announceHonoursHintsAndSlots_data()
{
    QTest::addColumn<int>("showHints");
    QTest::addColumn<int>("open");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("opens");

    QTest::newRow("hints on, nothing measured yet") << 1 << 0 << 0 << true;
    QTest::newRow("hints on, a slot free") << 1 << 2 << 3 << true;
    QTest::newRow("hints on, every slot taken") << 1 << 3 << 3 << false;
    QTest::newRow("hints off") << 0 << 0 << 0 << false;
}

void TestVisitorPopup::announceHonoursHintsAndSlots()
{
    QFETCH(int, showHints);
    QFETCH(int, open);
    QFETCH(int, limit);
    QFETCH(bool, opens);

    m_settings->m_showHints = showHints;
    m_openCount = open;
    m_slotLimit = limit;
    CVisitorPopupDlg* popup = CVisitorPopupDlg::Announce(
        m_settings.get(), &m_openCount, &m_slotLimit, Visitor(5, "http://a/", "Five"), {});
    QCOMPARE(popup != nullptr, opens);
    QCOMPARE(m_openCount, open + (opens ? 1 : 0));
    delete popup;
    QCOMPARE(m_openCount, open);
    m_openCount = 0;
}

void TestVisitorPopup::displayedAddressChainsPatterns_data()
{
    QTest::addColumn<QStringList>("patterns");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no pattern matches: the full address")
        << QStringList{"zzz", "", "", "", ""} << "http://www.example.com/a.html"
        << "http://www.example.com/a.html";
    QTest::newRow("BaseUrl1 empty, BaseUrl2 set")
        << QStringList{"", "*example.com", "", "", ""} << "http://www.example.com/a.html"
        << "/a.html";
    QTest::newRow("second applied to what the first left")
        << QStringList{"a/", "b/", "", "", ""} << "b/a/b/c"
        << "c";
}

void TestVisitorPopup::displayedAddressChainsPatterns()
{
    QFETCH(QStringList, patterns);
    QFETCH(QString, page);
    QFETCH(QString, shown);

    for (int i = 0; i < 5; ++i)
        m_settings->m_baseUrl[static_cast<std::size_t>(i)] = patterns.at(i);
    auto* popup = new CVisitorPopupDlg(m_settings.get(), &m_openCount, &m_slotLimit, 1,
                                       page.toStdString(), "Visitor", {}, kLong);
    QCOMPARE(MessageText(popup), QStringLiteral("A visitor has now entered: ") + shown);
    QCOMPARE(popup->findChild<CLinkStatic*>()->Url(), page);
}

void TestVisitorPopup::linkOpensTheFullAddress()
{
    m_settings->m_baseUrl[0] = QStringLiteral("*example.com");
    QList<QUrl> opened;
    const CUrlLauncher launcher([&opened](const QUrl& url) {
        opened.append(url);
        return true;
    });
    auto* popup = new CVisitorPopupDlg(m_settings.get(), &m_openCount, &m_slotLimit, 1,
                                       "http://www.example.com/shop/item.html",
                                       "Visitor 12 (Chrome, Lyon)", {}, kLong);
    popup->SetLauncher(&launcher);
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    CLinkStatic* link = popup->findChild<CLinkStatic*>();
    QCOMPARE(link->Text(), QStringLiteral("Visitor 12 (Chrome, Lyon)"));
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, link->height() / 2));
    QCOMPARE(opened.size(), 1);
    QCOMPARE(opened.first().toString(), QStringLiteral("http://www.example.com/shop/item.html"));
    QVERIFY(popup->isVisible()); // the popup stays
    delete popup;
}

void TestVisitorPopup::closesAfterItsLifetime()
{
    m_openCount = 2; // two older popups
    QPointer<CVisitorPopupDlg> popup = new CVisitorPopupDlg(
        m_settings.get(), &m_openCount, &m_slotLimit, 1, "http://a/", "A", {}, 50ms);
    QCOMPARE(m_openCount, 3);
    QSignalSpy destroyed(popup.data(), &QObject::destroyed);
    QTRY_COMPARE(destroyed.size(), 1);
    QCOMPARE(m_openCount, 2);
    m_openCount = 0;
}

void TestVisitorPopup::closeButtonAndEscapeClose_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("close button") << false;
    QTest::newRow("Escape") << true;
}

void TestVisitorPopup::closeButtonAndEscapeClose()
{
    QFETCH(bool, escape);

    QPointer<CVisitorPopupDlg> popup = new CVisitorPopupDlg(
        m_settings.get(), &m_openCount, &m_slotLimit, 1, "http://a/", "A", {}, kLong);
    QVERIFY(QTest::qWaitForWindowExposed(popup.data()));
    QSignalSpy destroyed(popup.data(), &QObject::destroyed);
    if (escape) {
        QTest::keyClick(popup.data(), Qt::Key_Escape);
    } else {
        CFlatButton* close = Button(popup.data(), QString());
        QVERIFY(close);
        QTest::mouseClick(close, Qt::LeftButton);
    }
    QTRY_COMPARE(destroyed.size(), 1);
    QCOMPARE(m_openCount, 0);
}

void TestVisitorPopup::inviteSendsOffTheGuiThreadAndCloses()
{
    auto sent = std::make_shared<SentInvitation>();
    QPointer<CVisitorPopupDlg> popup =
        new CVisitorPopupDlg(m_settings.get(), &m_openCount, &m_slotLimit, 4711, "http://a/", "A",
                             Recorder(sent, 8), kLong);
    QSignalSpy result(popup.data(), &CVisitorPopupDlg::InviteSent);
    QSignalSpy destroyed(popup.data(), &QObject::destroyed);
    QTest::mouseClick(Button(popup.data(), QStringLiteral("Invite to chat")), Qt::LeftButton);
    QTRY_COMPARE(destroyed.size(), 1);
    QCOMPARE(result.size(), 1);
    QCOMPARE(result.first().first().toInt(), 8);
    const std::lock_guard lock(sent->mutex);
    QCOMPARE(sent->calls, 1);
    QCOMPARE(sent->visitorId, 4711);
    QCOMPARE(sent->text, std::string("ann"));
    QVERIFY(sent->thread != QThread::currentThread());
    QVERIFY(ShownMessageBoxes().isEmpty());
}

void TestVisitorPopup::failedInviteReportsOnceThenCloses()
{
    auto sent = std::make_shared<SentInvitation>();
    QPointer<CVisitorPopupDlg> popup =
        new CVisitorPopupDlg(m_settings.get(), &m_openCount, &m_slotLimit, 7, "http://a/", "A",
                             Recorder(sent, rc::kVisitorNotFound), kLong);
    CFlatButton* invite = Button(popup.data(), QStringLiteral("Invite to chat"));
    QTest::mouseClick(invite, Qt::LeftButton);
    QTest::mouseClick(invite, Qt::LeftButton); // a second click while sending does nothing
    QTRY_COMPARE(ShownMessageBoxes().size(), 1);
    QMessageBox* box = ShownMessageBoxes().first();
    QCOMPARE(box->text(),
             QStringLiteral("There was an error while sending the chat invitation.\n") +
                 QString::fromUtf8(ResultMessage(rc::kVisitorNotFound)));
    QVERIFY(popup); // the popup waits for the operator's OK
    QSignalSpy destroyed(popup.data(), &QObject::destroyed);
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QTRY_COMPARE(destroyed.size(), 1);
    QCOMPARE(m_openCount, 0);
    QVERIFY(ShownMessageBoxes().isEmpty());
    const std::lock_guard lock(sent->mutex);
    QCOMPARE(sent->calls, 1);
}

void TestVisitorPopup::lifetimeEndingUnderTheErrorBoxFreesOnce()
{
    auto sent = std::make_shared<SentInvitation>();
    QPointer<CVisitorPopupDlg> popup =
        new CVisitorPopupDlg(m_settings.get(), &m_openCount, &m_slotLimit, 7, "http://a/", "A",
                             Recorder(sent, rc::kNotConnected), kLong);
    QSignalSpy destroyed(popup.data(), &QObject::destroyed);
    QTest::mouseClick(Button(popup.data(), QStringLiteral("Invite to chat")), Qt::LeftButton);
    QTRY_COMPARE(ShownMessageBoxes().size(), 1);
    QMessageBox* box = ShownMessageBoxes().first();

    // The lifetime runs out while the message is up: bring the popup's timer forward.
    popup->findChild<QTimer*>()->start(0);
    QTRY_COMPARE(destroyed.size(), 1);
    QCOMPARE(m_openCount, 0);
    QVERIFY(box->isVisible()); // the operator still gets to read it

    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QTRY_VERIFY(ShownMessageBoxes().isEmpty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(destroyed.size(), 1);
    QCOMPARE(m_openCount, 0);
}

QTEST_MAIN(TestVisitorPopup)
#include "visitor_popup_test.moc"
