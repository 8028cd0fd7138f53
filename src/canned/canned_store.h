#pragma once

#include "canned_answers.h"

#include <QString>

// Shown by the canned answers dialog when SaveCannedAnswers fails.
inline constexpr char kCannedSaveFailedText[] = QT_TRANSLATE_NOOP(
    "CCannedMsgDlg", "There was an error while writing the canned messages file.");

// The operator's own file: $XDG_DATA_HOME/Parlendo/canned.dat (~/.local/share when the
// variable is not set), unless another was set.
QString CannedAnswersFilePath();
// Makes the console's windows use another file (the demo keeps one of its own); empty goes
// back to the operator's. Set on the window thread before any window reads the file.
void SetCannedAnswersFilePath(const QString& path);
// canned.dat beside the executable: answers shipped with the console, read for as long as the
// operator has no file of their own. Never written.
QString ShippedCannedAnswersFilePath();

// The answers of the operator's file, or of the shipped file while the operator's does not
// exist. When the file to read cannot be opened: the built-in answers. A file that opens but
// does not start with the header gives no answers at all. Never reports an error.
// whole, when given, tells whether the file read was whole (a missing file counts as whole).
CannedAnswers LoadCannedAnswers(bool* whole = nullptr);
CannedAnswers LoadCannedAnswers(const QString& userFile, const QString& shippedFile,
                                bool* whole = nullptr);
// A copy of the operator's file beside it, made before a save replaces a file that was not read
// whole: what could not be read is not lost. Its path, or empty when it could not be made.
QString KeepDamagedCannedAnswers();

// Writes every category and answer to the operator's file (or the one given) through a
// temporary file renamed into place, so a failure at any step leaves the previous file whole.
// 0, or rc::kFileNotSaved, for which the caller shows kCannedSaveFailedText.
int SaveCannedAnswers(const CannedAnswers& categories);
int SaveCannedAnswers(const CannedAnswers& categories, const QString& file);

