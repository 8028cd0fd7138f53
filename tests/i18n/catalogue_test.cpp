// The German catalogue whole, as committed and as lupdate reads the code now; the windows under a
// German locale, with the welcome message still sent to the visitor as set.
#include "chat_dlg.h"
#include "day_stage.h"
#include "message_codes.h"
#include "recording_notifier.h"
#include "translator_set.h"

#include <QAbstractButton>
#include <QDomDocument>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

// Whether a translation kept the source's %1...%n and a shortcut's "&", and added none.
bool KeepsMarkers(const QString& source, const QString& form)
{
    static const QRegularExpression marker(QStringLiteral(R"(%\d+|%n|&(?=[^&\s]))"));
    for (const QRegularExpressionMatch& m : marker.globalMatch(source + u'\n' + form))
        if (!source.contains(m.captured()) || !form.contains(m.captured()))
            return false;
    return true;
}

// The catalogue's translations by source text. Entries unfinished, vanished or obsolete, empty,
// without German's two plural forms, or with a marker lost go into faulty.
QHash<QString, QString> ReadCatalogue(const QString& path, QStringList& faulty)
{
    QDomDocument document;
    if (QFile file(path); file.open(QIODevice::ReadOnly))
        document.setContent(&file);
    QHash<QString, QString> german;
    const QDomNodeList messages = document.elementsByTagName(QStringLiteral("message"));
    for (int i = 0; i < messages.size(); ++i) {
        const QString source = messages.at(i).firstChildElement(QStringLiteral("source")).text();
        const QDomElement t = messages.at(i).firstChildElement(QStringLiteral("translation"));
        QStringList forms;
        for (auto f = t.firstChildElement(QStringLiteral("numerusform")); !f.isNull();
             f = f.nextSiblingElement())
            forms << f.text();
        const bool numerus = !forms.isEmpty();
        if (!numerus)
            german.insert(source, forms.emplaceBack(t.text()));
        bool whole = t.attribute(QStringLiteral("type")).isEmpty() && forms.size() == 1 + numerus;
        for (const QString& form : forms)
            whole = whole && !form.isEmpty() && KeepsMarkers(source, form);
        if (!whole)
            faulty << t.attribute(QStringLiteral("type")) + u' ' + source;
    }
    return german;
}

} // namespace

class CatalogueTest final : public QObject
{
    Q_OBJECT

private slots:
    void wholeAndCurrent()
    {
        for (const char* path : {PARLENDO_TS_COMMITTED, PARLENDO_TS_REFRESHED}) {
            QStringList faulty;
            QVERIFY2(!ReadCatalogue(QString::fromUtf8(path), faulty).isEmpty() && faulty.isEmpty(),
                     qPrintable(path + faulty.join(u'\n')));
        }
    }

    void germanWindowsEnglishWelcome()
    {
        CTranslatorSet translations;
        QVERIFY(translations.Install(QLocale(QLocale::German, QLocale::Germany)));
        CRecordingNotifier notifier;
        CDayStage stage(notifier);
        QVERIFY(stage.StartServer());
        const QString welcome = stage.settings.m_welcomeMsg; // the default, in English
        const auto port = static_cast<std::uint16_t>(stage.settings.m_serverPort);
        QCOMPARE(stage.session.Login("127.0.0.1", port, day::kUser, day::kPassword), 0);
        const SimVisitor visitor = stage.World().Visitors().front();
        const int callId = stage.World().RequestChat(visitor.id, day::SignedInId(stage.World()));
        CChatDlg* chat = stage.OpenChat(callId);
        QTRY_VERIFY(chat->windowTitle().endsWith(QString::fromStdString(visitor.name)));
        // No button of the two windows that the catalogue translates is in English.
        QStringList faulty, english;
        const auto german = ReadCatalogue(QStringLiteral(PARLENDO_TS_COMMITTED), faulty);
        for (const QWidget* window : {static_cast<QWidget*>(stage.window), chat->window()})
            for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
                if (german.value(button->text(), button->text()) != button->text())
                    english << button->text();
        QCOMPARE(english, QStringList());
        QTRY_COMPARE(day::ServerReceived(stage.World(), msg::kChatData, callId)
                         .filter(QStringLiteral("1|ann|")),
                     QStringList{QStringLiteral("1|ann|") + welcome});
    }
};

QTEST_MAIN(CatalogueTest)
#include "catalogue_test.moc"
