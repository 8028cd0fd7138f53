#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <memory>

class QSoundEffect;

// The short note that tells the operator of a visitor's line in a chat not in front of them.
// A burst of lines across several chats sounds once, not once a line.
class CLineSound final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kQuietMs = 3000;

    explicit CLineSound(QObject* parent = nullptr);
    ~CLineSound() override;

    void Play();

private:
    std::unique_ptr<QSoundEffect> m_effect; // none without a sound output
    QElapsedTimer m_sincePlayed;
};
