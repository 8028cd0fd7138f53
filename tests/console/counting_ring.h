#pragma once

#include "ring_sound.h"

// A ring that only counts how often it started and stopped, for tests without audio.
struct SoundLog
{
    int played = 0;
    int stopped = 0;
};

class CCountingRing final : public CRingSound
{
public:
    explicit CCountingRing(SoundLog& log) : m_log(log) {}
    ~CCountingRing() override { ++m_log.stopped; }
    void Play() override { ++m_log.played; }

private:
    SoundLog& m_log;
};
