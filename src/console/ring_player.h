#pragma once

#include <QHash>
#include <QObject>
#include <functional>
#include <memory>

class CRingSound;

// The one ring of every open offer. An offer that rings joins while it is open: the sound
// starts with the first and goes on until the last has left, so answering or declining one
// offer never silences another that is still waiting. The sound object exists only while
// something rings. An offer destroyed without leaving leaves by itself.
class CRingPlayer final : public QObject
{
    Q_OBJECT

public:
    using SoundFactory = std::function<std::unique_ptr<CRingSound>()>;

    // Rings through the desktop's audio output (CSoundEffectRing).
    explicit CRingPlayer(QObject* parent = nullptr);
    ~CRingPlayer() override;

    // Where the next ring's sound comes from; a null factory rings silently.
    void SetSoundFactory(SoundFactory factory);

    // Both idempotent for the same offer.
    void Ring(const QObject* offer);
    void Silence(const QObject* offer);

    // Muted, offers still join and leave, but nothing sounds until it is unmuted while some
    // still ring.
    void SetMuted(bool muted);
    bool IsMuted() const { return m_muted; }

    int RingingOffers() const { return static_cast<int>(m_offers.size()); }
    bool IsRinging() const { return !m_offers.isEmpty(); }

signals:
    void MutedChanged(bool muted);

private:
    void Sound();

    SoundFactory m_factory;
    bool m_muted = false;
    std::unique_ptr<CRingSound> m_sound;
    QHash<const QObject*, QMetaObject::Connection> m_offers;
};
