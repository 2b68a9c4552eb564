#include "ReadingState.h"

ReadingState& Reading()
{
    static ReadingState state;
    return state;
}

QString DeckLetterOf(int deckIndex) { return deckIndex == 0 ? QStringLiteral("r") : QStringLiteral("m"); }
