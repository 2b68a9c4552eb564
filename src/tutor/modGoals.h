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
};

using GoalArray = DynArray<GoalRecord>;

// The goals in the order of the goal file.
extern GoalArray Goals;

inline bool IsArrayDimensioned(const GoalArray& goals) { return goals.HasBounds(); }

// The goal file "goals.txt" of the program folder.
QString GoalFilePath();

// One record of the goal file, CR LF included.
QByteArray GoalRecordText(const GoalRecord& goal);

// What could be read of a goal file: every record that reads whole, and
// whether some text between or after them could not be read.
struct GoalFileContent {
    QVector<GoalRecord> records;
    bool unreadable = false;
};
GoalFileContent ParseGoalFile(const QByteArray& bytes);

// Rewrites a goal file whole with the given records; the old file stays
// untouched when it cannot be written. On failure error says why.
bool WriteGoalFile(const QString& path, const QVector<GoalRecord>& records, QString* error);

// Keeps a copy of a goal file beside it under a name of its own
// ("goals.txt.unreadable", then ".unreadable.2" ...). The copy's path, or
// empty when it could not be made.
QString KeepCopyOfGoalFile(const QString& path);
