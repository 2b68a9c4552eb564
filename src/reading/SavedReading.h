#pragma once
#include <QString>
#include <optional>

class CommonDialog;

// Saved readings: a ".qzv" file of lines ended by CR LF, each line a tag and
// a value, every character stored as one byte, encoded with EncodeText:
//   "s" the spread's name, "d" the deck letter,
//   "c" the card at each position, in position order (one line per position),
//   "r" each card that lies reversed, in the order drawn (none when none is).

// "&Save" of the result window: asks for a file name with CD1 and writes the
// reading in progress (SelectedSpreadName, DeckLetter, DrawnCards,
// ReversedCards) to it. Cancelling writes nothing. A save that fails leaves
// nothing behind, keeps an earlier file of that name as it was, and tells
// the user why (exclamation icon).
void SaveReading(CommonDialog& CD1);

// "&Open Previous Record" of the querent window: asks for a saved reading
// with CD and reads it into the restore fields of the reading state
// (FileSpreadName, DeckLetter, FileCards, FileReversedCards, IsReadingFromFile).
// Returns true when the reading was read: the caller then has the spread
// window restore it (frmAuto's DONE1 with the upper bound of FileCards) and
// shows the result window. Returns false after a cancel (no message) or a
// file that is refused or cannot be read ("Please Check The File."); the
// reading state is then unchanged.
bool OpenSavedReading(CommonDialog& CD);

// Writes the reading in progress to fileName through a temporary file that
// replaces it only when complete. False, with nothing changed on disk, when
// the file cannot be written or the reading state cannot be saved (a manual
// reading without cards); reason then says why.
bool WriteSavedReading(const QString& fileName, QString* reason = nullptr);

// Reads the saved reading fileName into the reading state (see
// OpenSavedReading). Also makes the reading state one of a plain automatic
// reading, so that the restore lays it out and a later save writes the same
// file: IsManualReading, MinorArcanaOnly, MajorArcanaOnly, AllowReversed,
// AutoCastPressed and ManualPressed become false, and ReversedCards a copy of
// FileReversedCards. False, with the reading state unchanged, when the file
// cannot be read (not a regular file, gone, unreadable) or is no saved
// reading: larger than 64 KiB, or more card or reversed-card lines than the
// deck has cards.
bool ReadSavedReading(const QString& fileName);

// The value of a "c" or "r" line as a card number: a decimal number with
// optional sign, fraction and exponent, blanks around it allowed, a fraction
// rounded to the nearest whole number (halves to the even one). Nothing for
// a text that is no such number or lies outside 32-bit integers.
std::optional<qint32> SavedCardNumber(const QString& text);
