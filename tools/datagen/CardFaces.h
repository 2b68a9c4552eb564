#pragma once
#include "Cards.h"

#include <QImage>
#include <QList>
#include <QString>

// Card pictures are 130 × 225 pixels (1950 × 3375 twips at 15 twips a pixel),
// small enough that neighbouring places of every spread layout never overlap.
constexpr int CardWidth = 130;
constexpr int CardHeight = 225;

// The face of a card in deck 'r' (bright colours, rounded frame) or deck 'm'
// (cream paper, woodcut colours, Roman numerals). Top and bottom differ: the
// number or rank stands in the top banner, the name in the bottom banner.
QImage drawCardFace(const Card& card, char deck);

// Writes cards/r<number>.jpg and cards/m<number>.jpg for every card.
void writeCardPictures(const QString& programDir, const QList<Card>& cards);
