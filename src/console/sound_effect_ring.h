#pragma once

#include "ring_sound.h"

#include <QUrl>
#include <memory>

class QSoundEffect;

// The ring played through the desktop's default audio output, in an endless loop. Without an
// audio output it stays silent: the offer still shows and flashes.
class CSoundEffectRing final : public CRingSound
{
public:
    static constexpr char kSource[] = "qrc:/console/ring.wav";

    explicit CSoundEffectRing(const QUrl& source = QUrl(QString::fromLatin1(kSource)));
    ~CSoundEffectRing() override;

    void Play() override;
    // Whether an audio output was there to play on.
    bool HasOutput() const { return m_effect != nullptr; }

private:
    std::unique_ptr<QSoundEffect> m_effect;
};
