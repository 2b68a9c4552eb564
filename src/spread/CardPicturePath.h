#pragma once
#include <QString>

// The picture file of a card of a deck: the program folder, "\cards\", the
// deck letter, the card number in decimal and ".jpg".
QString CardPicturePath(qint32 card, const QString& deckLetter);
