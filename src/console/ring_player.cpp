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
    if (m_offers.size() == 1 && m_factory) {
        m_sound = m_factory();
        if (m_sound)
            m_sound->Play();
    }
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
