#include "sound_effect_ring.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

CSoundEffectRing::CSoundEffectRing(const QUrl& source)
{
    // Asked first: a sound effect made without any output only warns and plays nothing.
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull())
        return;
    m_effect = std::make_unique<QSoundEffect>(output);
    m_effect->setSource(source);
    m_effect->setLoopCount(QSoundEffect::Infinite);
}

CSoundEffectRing::~CSoundEffectRing()
{
    if (m_effect)
        m_effect->stop();
}

void CSoundEffectRing::Play()
{
    // Plays as soon as the file has loaded, which happens in the background.
    if (m_effect)
        m_effect->play();
}
