#pragma once
#include <QList>
#include <QString>

// One position of a spread: its bold label, what is written between label
// and meaning, and the meaning. The same texts are the prompts of the manual
// reading.
struct PositionMeaningEntry {
    QString Spread; // the spread's name as the spread table lists it
    int Position;   // 0 .. the spread's number of positions - 1
    QString Label;
    QString Joiner; // CR LF, or "" where the meaning follows on the label's line
    QString Meaning;
};

// Every entry, spread by spread in the spread table's order, positions
// ascending.
const QList<PositionMeaningEntry>& PositionMeaningTable();

// The entry of a spread's position, the name compared exactly (case and
// blanks count); nullptr when there is none.
const PositionMeaningEntry* FindPositionMeaning(const QString& spread, int position);

// Writes the label (bold) and the meaning of a position of the spread named
// by CurrentSpreadName at the insertion point of frmMDI's result box. An
// unknown spread or a position the spread does not have writes nothing.
void WritePositionMeaning(qint16 position);
