#pragma once

#include "archive_records.h"

#include <QList>
#include <QString>

// What the operator types into the search field, made into a full-text query: words are all
// required, in any order; a stretch in double quotes is a phrase, its words side by side. Every
// word is quoted, so the index's own operators (AND, OR, NOT, NEAR, *, ^, column names) typed
// by the operator are only words. Empty when nothing searchable was typed.
QString FullTextQuery(const QString& typed);

// Markers around each match in the text the index highlights; characters of Unicode's private
// use area, which chat text does not hold.
inline constexpr char16_t kMatchOpen = 0xE000;
inline constexpr char16_t kMatchClose = 0xE001;

// The matches in a highlighted text, as ranges of the text without the markers.
QList<CMatchRange> MatchRanges(const QString& highlighted);
