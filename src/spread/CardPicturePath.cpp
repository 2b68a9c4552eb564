#include "CardPicturePath.h"

#include "platform/App.h"

QString CardPicturePath(qint32 card, const QString& deckLetter)
{
    return App::FilePath("\\cards\\" + deckLetter + QString::number(card) + ".jpg");
}
