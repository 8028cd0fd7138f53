#pragma once

#include <QString>

// The word the console shows for an operator status, in the operators list, the window title
// and the status balloon: "online", "busy" or "away"; any other value reads "online".
QString StatusWord(int status);
