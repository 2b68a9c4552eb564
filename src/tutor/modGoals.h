#pragma once
#include "platform/DynArray.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// One personal goal, as the goal file keeps it.
struct GoalRecord {
    QString GoalName;
    QDate StartDate;
    QDate EndDate;
    QString GoalDesc;
    bool Achieved = false;
    qint16 Percent = 0;
    bool operator==(const GoalRecord&) const = default;
};

using GoalArray = DynArray<GoalRecord>;

// The goals in the order of the goal file.
extern GoalArray Goals;

inline bool IsArrayDimensioned(const GoalArray& goals) { return goals.HasBounds(); }

// The goal file "goals.txt" of the program folder.
QString GoalFilePath();

// The largest goal file read or written. A goal takes a line or a few, so
// this is far more than the goals anyone keeps, and it bounds what a
// damaged or hostile file costs to read and show.
constexpr qint64 GoalFileLimit = 128 * 1024;

// One record of the goal file, CR LF included.
QByteArray GoalRecordText(const GoalRecord& goal);

// What could be read of a goal file: every record that reads whole and
// that the writer gives back as it is, and whether some text between or
// after them could not be read (or could not be written back).
struct GoalFileContent {
    QVector<GoalRecord> records;
    bool unreadable = false;
};
GoalFileContent ParseGoalFile(const QByteArray& bytes);

// Rewrites a goal file whole with the given records; the old file stays
// untouched when it cannot be written or the records would make it larger
// than GoalFileLimit. On failure error says why.
bool WriteGoalFile(const QString& path, const QVector<GoalRecord>& records, QString* error);

// Reads a whole goal file that exists; false with the reason when it is no
// regular file, is larger than GoalFileLimit or cannot be read.
bool ReadGoalFile(const QString& path, QByteArray* bytes, QString* reason);
