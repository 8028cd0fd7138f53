#pragma once

#include <QString>

// The sentence a result code stands for, as the operator reads it: the core's wording, in the
// language of the console.
QString ResultText(int code);
