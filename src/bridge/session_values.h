#pragma once

#include "user_entry.h"
#include "visitor_entry.h"

#include <QMetaType>

// The values the session bridge hands to the windows. Its signals carry copies of the session's
// entries, taken on the receive thread, and refreshes carry a std::vector snapshot of them; Qt
// handles std::vector of a registered type by itself. Both sides include this header so that
// the queued connections can copy the values.
Q_DECLARE_METATYPE(CVisitorEntry)
Q_DECLARE_METATYPE(CUserEntry)
