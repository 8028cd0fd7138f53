#include "translator_set.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <utility>

namespace {

// Built in by the kit's CMakeLists (the catalogues of translations/).
const QString kConsoleFolder = QStringLiteral(":/i18n");

} // namespace

CTranslatorSet::CTranslatorSet(QString qtFolder)
    : m_qtFolder(qtFolder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                                    : std::move(qtFolder))
{
}

CTranslatorSet::~CTranslatorSet()
{
    Remove();
}

bool CTranslatorSet::Install(const QLocale& locale)
{
    Remove();
    // The user's languages in their order (LANGUAGE=en_GB:de wants English first). Each is tried
    // from its most specific name (parlendo_de_DE) to the language alone (parlendo_de).
    for (const QString& language : locale.uiLanguages()) {
        const QLocale wanted(language);
        if (wanted.language() == QLocale::English || wanted.language() == QLocale::C)
            return false;
        if (!m_console.load(wanted, QStringLiteral("parlendo"), QStringLiteral("_"),
                            kConsoleFolder))
            continue;
        m_consoleInstalled = QCoreApplication::installTranslator(&m_console);
        if (m_qt.load(wanted, QStringLiteral("qtbase"), QStringLiteral("_"), m_qtFolder))
            m_qtInstalled = QCoreApplication::installTranslator(&m_qt);
        return m_consoleInstalled;
    }
    return false;
}

void CTranslatorSet::Remove()
{
    if (std::exchange(m_consoleInstalled, false))
        QCoreApplication::removeTranslator(&m_console);
    if (std::exchange(m_qtInstalled, false))
        QCoreApplication::removeTranslator(&m_qt);
}
