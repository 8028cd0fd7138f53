// The visitor-entered popup: popups stack upwards one slot each and none opens once the screen
// is full or hints are off; an invitation goes out once through the function the console
// gives, the popup closes when it has been sent, and says nothing itself about a failure.
#include "app_settings.h"
#include "flat_button.h"
#include "result_codes.h"
#include "visitor_entry.h"
#include "visitor_popup_dlg.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class VisitorPopupTest final : public QObject
{
    Q_OBJECT

private:
    CVisitorPopupDlg* Announce(int id, CVisitorPopupDlg::InviteFunction invite = {})
    {
        CVisitorEntry visitor;
        visitor.id = id;
        visitor.text1 = "http://shop.example.com/cart";
        visitor.text2 = "Visitor " + std::to_string(id);
        return CVisitorPopupDlg::Announce(m_settings.get(), &m_open, &m_slots, visitor,
                                          std::move(invite));
    }

private slots:
    void init()
    {
        m_settings = std::make_unique<CAppSettings>(m_dir.filePath(QStringLiteral("s.conf")));
        m_open = 0;
        m_slots = 0;
    }
    void cleanup()
    {
        CVisitorPopupDlg::CloseAll();
        QCOMPARE(m_open, 0);
    }

    // Each popup sits on the one below, border on border; the screen's height sets the slots.
    void popupsStackUpwards()
    {
        CVisitorPopupDlg* first = Announce(1);
        CVisitorPopupDlg* second = Announce(2);
        QVERIFY(first && second);
        QCOMPARE(m_open, 2);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(m_slots, screen.height() / first->height() - 1);
        QVERIFY(screen.contains(first->geometry()));
        QCOMPARE(second->x(), first->x());
        QCOMPARE(second->geometry().bottom(), first->geometry().top());
        delete first;
        QCOMPARE(m_open, 1);
    }

    void noPopupWhenFullOrHintsOff_data()
    {
        QTest::addColumn<int>("showHints");
        QTest::addColumn<int>("open");
        QTest::addColumn<int>("slotLimit");
        QTest::addColumn<bool>("opens");
        QTest::newRow("before the first measured the screen") << 1 << 0 << 0 << true;
        QTest::newRow("a slot free") << 1 << 2 << 3 << true;
        QTest::newRow("every slot taken") << 1 << 3 << 3 << false;
        QTest::newRow("hints off") << 0 << 0 << 0 << false;
    }
    void noPopupWhenFullOrHintsOff()
    {
        QFETCH(int, showHints);
        QFETCH(int, open);
        QFETCH(int, slotLimit);
        QFETCH(bool, opens);
        m_settings->m_showHints = showHints;
        m_open = open; // as if that many were open
        m_slots = slotLimit;
        CVisitorPopupDlg* popup = Announce(5);
        QCOMPARE(popup != nullptr, opens);
        delete popup;
        QCOMPARE(m_open, open);
        m_open = 0;
    }

    void invitationGoesThroughTheFunctionGiven_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("closedFirst");
        QTest::newRow("sent") << 8 << false;
        QTest::newRow("failed") << rc::kVisitorNotFound << false;
        QTest::newRow("answered after the popup was closed") << rc::kNotConnected << true;
    }
    void invitationGoesThroughTheFunctionGiven()
    {
        QFETCH(int, result);
        QFETCH(bool, closedFirst);
        int calls = 0;
        int invited = 0;
        std::function<void(int)> answer;
        QPointer<CVisitorPopupDlg> popup =
            Announce(4711, [&](int visitorId, std::function<void(int)> done) {
                ++calls;
                invited = visitorId;
                answer = std::move(done);
            });
        QSignalSpy sent(popup.data(), &CVisitorPopupDlg::InviteSent);
        auto* invite = popup->findChild<CFlatButton*>(QStringLiteral("invite"));
        invite->click();
        invite->click(); // while it is being sent
        QCOMPARE(calls, 1);
        QCOMPARE(invited, 4711);
        QVERIFY(popup); // waits for the answer
        if (closedFirst) {
            popup->findChild<CFlatButton*>(QStringLiteral("close"))->click();
            QTRY_VERIFY(!popup);
        }
        answer(result); // later, on this thread, as the bridge answers
        QCOMPARE(sent.size(), closedFirst ? 0 : 1);
        if (!closedFirst)
            QCOMPARE(sent.first().first().toInt(), result);
        QTRY_VERIFY(!popup);
        QCOMPARE(m_open, 0);
        // Telling the operator of a failure is the console's business, not the popup's.
        for (QWidget* window : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<QMessageBox*>(window));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CAppSettings> m_settings;
    int m_open = 0;
    int m_slots = 0;
};

QTEST_MAIN(VisitorPopupTest)
#include "visitor_popup_test.moc"
