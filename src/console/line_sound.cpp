#include "line_sound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

CLineSound::CLineSound(QObject* parent) : QObject(parent)
{
    // Asked first: a sound effect made without any output only warns and plays nothing.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull())
        return;
    m_effect = std::make_unique<QSoundEffect>(output);
    m_effect->setSource(QUrl(QStringLiteral("qrc:/console/line.wav")));
}

CLineSound::~CLineSound() = default;

void CLineSound::Play()
{
    if (!m_effect || (m_sincePlayed.isValid() && m_sincePlayed.elapsed() < kQuietMs))
        return;
    m_sincePlayed.start();
    m_effect->play();
}
