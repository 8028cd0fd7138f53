#pragma once

#include <QString>

// Text that came from the network (visitors, other operators, the server) as the console shows
// it. Such text is written by strangers: it must neither fool the operator (direction overrides
// that make "invoice_<RLO>fdp.exe" read "invoice_exe.pdf", or turn the console's own sentence
// around) nor cost the console more than a glance (a megabyte without a space takes the text
// layout minutes). Every place that shows network text goes through one of these.

// A name or another one-line text: direction controls removed, control characters as blanks,
// at most maxChars characters (whole characters, an ellipsis where cut).
QString ShownLine(const QString& text, int maxChars = 200);

// A chat line or notice: direction controls and control characters (but line breaks) removed,
// at most maxChars characters and maxLines lines, the rest replaced by a note of how much was
// cut; runs of more than kLongRun characters without a break opportunity get one, so the layout
// never measures one endless word.
QString ShownMessage(const QString& text, int maxChars = 4000, int maxLines = 200);

// A tool-tip that shows text as it is: Qt takes a tool-tip that looks like markup for rich text,
// so a page address holding "<b>" or "<img>" would be drawn, not shown.
QString PlainToolTip(const QString& text);

inline constexpr int kLongRun = 60;
