#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

// The console in the operator's language: its own catalogue, built into the program, and Qt's
// catalogue for the standard buttons and dialogs (OK, Cancel, the file dialogs), for one locale.
// English, the language of the source texts, needs neither. Qt's catalogue is only taken with
// the console's own, so a language the console does not speak does not get a window half in it.
//
// Texts that go to visitors (the welcome message, canned answers, invitations) are the
// operator's and never pass through it.
class CTranslatorSet final
{
public:
    // Where Qt's own catalogues are looked for: Qt's translations folder unless another is given.
    explicit CTranslatorSet(QString qtFolder = {});
    ~CTranslatorSet();
    CTranslatorSet(const CTranslatorSet&) = delete;
    CTranslatorSet& operator=(const CTranslatorSet&) = delete;

    // Installs the catalogues for locale on the application, replacing those of an earlier call.
    // Returns whether the console's own was found; Qt's may be missing (Debian ships it apart,
    // in qt6-translations-l10n), and then Qt's few texts stay English.
    bool Install(const QLocale& locale);

private:
    void Remove();

    QString m_qtFolder;
    QTranslator m_console;
    QTranslator m_qt;
    bool m_consoleInstalled = false;
    bool m_qtInstalled = false;
};
