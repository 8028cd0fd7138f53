// The dotted-address field: what it shows of a stored text, what typing makes of it, and that a
// blank field gives an empty text rather than an address a visitor could have.
#include "ip_address_edit.h"
#include "test_helpers.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QVBoxLayout>
#include <memory>

namespace {

// Two address fields between two ordinary edits, to see where Tab leads.
class CFieldWindow final : public QWidget
{
public:
    CFieldWindow()
    {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : std::initializer_list<QWidget*>{before, first, second, after})
            layout->addWidget(w);
    }

    QLineEdit* before = new QLineEdit(this);
    CIpAddressEdit* first = new CIpAddressEdit(this);
    CIpAddressEdit* second = new CIpAddressEdit(this);
    QLineEdit* after = new QLineEdit(this);
};

// The part of the field that has the focus, or -1.
int FocusedPart(const CIpAddressEdit* field)
{
    const QList<QLineEdit*> parts = field->findChildren<QLineEdit*>();
    return static_cast<int>(parts.indexOf(qobject_cast<QLineEdit*>(QApplication::focusWidget())));
}

// Sends keys to whichever part has the focus at each key.
void Keys(std::initializer_list<Qt::Key> keys)
{
    for (const Qt::Key key : keys)
        QTest::keyClick(QApplication::focusWidget(), key);
}

} // namespace

class IpAddressEditTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_window.reset(); }

    void showsStoredText_data();
    void showsStoredText();
    void typing_data();
    void typing();
    void backspaceAndArrowsCrossParts();
    void tabLeavesTheField();
    void pastedAddressFillsEveryPart();

private:
    std::unique_ptr<CFieldWindow> m_window;
};

void IpAddressEditTest::init()
{
    m_window = std::make_unique<CFieldWindow>();
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void IpAddressEditTest::showsStoredText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("text");
    TextRow("address", "192.168.1.10", "192.168.1.10");
    TextRow("every part 0", "0.0.0.0", "0.0.0.0");
    TextRow("every part 255", "255.255.255.255", "255.255.255.255");
    TextRow("leading zeros dropped", "010.001.000.255", "10.1.0.255");
    TextRow("blanks around", " 1.2.3.4 ", "1.2.3.4");
    TextRow("empty", "", "");
    TextRow("part above 255", "256.1.1.1", "");
    TextRow("three parts", "1.2.3", "");
    TextRow("five parts", "1.2.3.4.5", "");
    TextRow("empty part", "1..2.3", "");
    TextRow("four digits", "1.2.3.0004", "");
    TextRow("host name", "visitor.example", "");
    TextRow("sign", "+1.2.3.4", "");
    TextRow("IPv6", "::1", "");
}

void IpAddressEditTest::showsStoredText()
{
    QFETCH(QString, stored);
    QFETCH(QString, text);
    m_window->first->SetText(QStringLiteral("9.9.9.9")); // replaced even when refused
    m_window->first->SetText(stored);
    QCOMPARE(m_window->first->Text(), text);
}

void IpAddressEditTest::typing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("text");
    TextRow("dotted", "192.168.1.10", "192.168.1.10");
    TextRow("third digit moves on", "1921681.10", "192.168.1.10");
    TextRow("blank moves on", "10 0 0 7", "10.0.0.7");
    TextRow("above 255 becomes 255", "300.999.256.1000", "255.255.255.100");
    TextRow("leading zeros", "010.001.0.00", "10.1.0.0");
    TextRow("blank parts count as 0", "10.1", "10.1.0.0");
    TextRow("dot in an empty part stays", "1...4", "1.4.0.0");
    TextRow("dot first stays", ".5", "5.0.0.0");
    TextRow("letters refused", "a1b.c2", "1.2.0.0");
    TextRow("last part takes no more", "1.2.3.4.5", "1.2.3.45");
    TextRow("nothing: empty, not 0.0.0.0", "", "");
    TextRow("letters only", "abc", "");
    TextRow("dots only", "...", "");
}

void IpAddressEditTest::typing()
{
    QFETCH(QString, keys);
    QFETCH(QString, text);
    m_window->first->setFocus();
    TypeText(keys);
    QCOMPARE(m_window->first->Text(), text);
}

void IpAddressEditTest::backspaceAndArrowsCrossParts()
{
    CIpAddressEdit* field = m_window->first;
    field->setFocus();
    TypeText(QStringLiteral("12.34"));
    Keys({Qt::Key_Left, Qt::Key_Left});
    QCOMPARE(FocusedPart(field), 1);
    Keys({Qt::Key_Left, Qt::Key_Backspace}); // out of "34" to the end of "12"
    QCOMPARE(field->Text(), QStringLiteral("1.34.0.0"));
    Keys({Qt::Key_Right, Qt::Key_5}); // into "34" at its start: 534
    QCOMPARE(field->Text(), QStringLiteral("1.255.0.0"));

    // Emptied part by part with Backspace, the field is blank again.
    QCOMPARE(FocusedPart(field), 2); // moved on after the third digit
    for (int i = 0; i < 6; ++i)      // into "255", three digits, into "1", one digit
        Keys({Qt::Key_Backspace});
    QCOMPARE(FocusedPart(field), 0);
    QCOMPARE(field->Text(), QString());
}

void IpAddressEditTest::tabLeavesTheField()
{
    m_window->before->setFocus();
    Keys({Qt::Key_Tab});
    QCOMPARE(FocusedPart(m_window->first), 0);
    TypeText(QStringLiteral("1.2.3"));
    QCOMPARE(FocusedPart(m_window->first), 2);
    Keys({Qt::Key_Tab});
    QCOMPARE(FocusedPart(m_window->second), 0);
    Keys({Qt::Key_Tab});
    QCOMPARE(QApplication::focusWidget(), m_window->after);
    Keys({Qt::Key_Backtab});
    QCOMPARE(FocusedPart(m_window->second), 0);

    // From a later part, Shift+Tab leaves the field too rather than going back inside it.
    TypeText(QStringLiteral("4.5"));
    QCOMPARE(FocusedPart(m_window->second), 1);
    Keys({Qt::Key_Backtab});
    QCOMPARE(FocusedPart(m_window->first), 0);
    QCOMPARE(m_window->first->Text(), QStringLiteral("1.2.3.0"));
    QCOMPARE(m_window->second->Text(), QStringLiteral("4.5.0.0"));
}

void IpAddressEditTest::pastedAddressFillsEveryPart()
{
    CIpAddressEdit* field = m_window->first;
    field->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("10.20.30.40"));
    QTest::keySequence(QApplication::focusWidget(), QKeySequence::Paste);
    QCOMPARE(field->Text(), QStringLiteral("10.20.30.40"));

    // Text that is not an address goes no further than a part would take it.
    field->SetText({});
    field->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("host.example"));
    QTest::keySequence(QApplication::focusWidget(), QKeySequence::Paste);
    QCOMPARE(field->Text(), QString());
    QApplication::clipboard()->setText(QStringLiteral("42"));
    QTest::keySequence(QApplication::focusWidget(), QKeySequence::Paste);
    QCOMPARE(field->Text(), QStringLiteral("42.0.0.0"));
}

QTEST_MAIN(IpAddressEditTest)
#include "ip_address_edit_test.moc"
