#pragma once

// One ringing of the incoming-call sound: it plays, over and over, from Play until the object is
// destroyed. The ring player makes one when the first offer rings and destroys it after the
// last; tests put in one that only counts.
class CRingSound
{
public:
    virtual ~CRingSound() = default;
    virtual void Play() = 0;
};
