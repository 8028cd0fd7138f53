#pragma once

// Measures shared by the settings dialogs, so that the three look alike.

// How far a group's controls stand in from its caption, in pixels.
inline constexpr int kGroupIndent = 12;
// The narrowest a prompt may be, in average characters: the longest then takes two or three
// lines.
inline constexpr int kPromptWidthChars = 64;
