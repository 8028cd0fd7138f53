#pragma once

// The operator session for Qt code. The session's headers name a variable "slots", which Qt's
// keyword macro of that name would erase wherever a Qt header came first; the macro is held
// off while they are read.
#pragma push_macro("slots")
#undef slots
#include "operator_session.h"
#pragma pop_macro("slots")
