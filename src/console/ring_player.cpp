#include "ring_player.h"

#include "ring_sound.h"
#include "sound_effect_ring.h"

CRingPlayer::CRingPlayer(QObject* parent)
    : QObject(parent), m_factory([] { return std::make_unique<CSoundEffectRing>(); })
{
}

CRingPlayer::~CRingPlayer() = default;

void CRingPlayer::SetSoundFactory(SoundFactory factory)
{
    m_factory = std::move(factory);
}

void CRingPlayer::Ring(const QObject* offer)
{
    if (!offer || m_offers.contains(offer))
        return;
    m_offers.insert(offer, connect(offer, &QObject::destroyed, this,
                                   [this, offer] { Silence(offer); }));
    if (m_offers.size() == 1)
        Sound();
}

void CRingPlayer::Sound()
{
    if (m_muted || m_sound || !m_factory)
        return;
    m_sound = m_factory();
    if (m_sound)
        m_sound->Play();
}

void CRingPlayer::SetMuted(bool muted)
{
    if (m_muted == muted)
        return;
    m_muted = muted;
    if (m_muted)
        m_sound.reset();
    else if (!m_offers.isEmpty())
        Sound();
    emit MutedChanged(m_muted);
}

void CRingPlayer::Silence(const QObject* offer)
{
    const auto it = m_offers.find(offer);
    if (it == m_offers.end())
        return;
    disconnect(it.value());
    m_offers.erase(it);
    if (m_offers.isEmpty())
        m_sound.reset();
}
