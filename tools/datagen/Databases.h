#pragma once
#include "Cards.h"
#include "Dictionary.h"

#include <QList>
#include <QString>

// Writes learn.dll (tblCards, tblKeywords) from the checked cards; each card's
// PictureData is the file <programDir>/cards/r<number>.jpg, which must exist,
// with one zero byte appended. Replaces an old file.
void writeTutorDatabase(const QString& programDir, const QList<Card>& cards);

// Writes tarot.dll (table tarot): one row per dictionary entry, in source
// order, with its page's path relative to the program folder as Link.
void writeDictionaryDatabase(const QString& programDir, const QList<DictionaryEntry>& entries);
