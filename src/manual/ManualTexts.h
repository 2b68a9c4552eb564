#pragma once
#include <QString>
#include <optional>

// The texts of the manual reading's prompt box.

// The prompt of a position: what the card picked next stands for, as the
// reading text puts it (the position's label, then a line break and the
// meaning, or the meaning on the label's line where the label ends in its
// own separator). The spread is named exactly as the spread table lists it
// (case and blanks count). Nothing for an unknown spread or a position the
// spread does not have.
std::optional<QString> PositionPrompt(const QString& spreadName, int position);

// The note the prompt box shows once the card of a position has been placed
// in the spread window (spread by its index 0..12). An empty text clears the
// box; nothing means the box keeps what it shows.
std::optional<QString> PlacementNote(int spreadIndex, int placedPosition);
