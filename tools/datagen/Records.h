#pragma once
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// One record of a text source: its fields in file order (a field may repeat).
struct Record {
    QList<QPair<QString, QString>> fields;
    int line = 0; // line of the record's first field, for messages

    QString value(const QString& name) const;
    QStringList values(const QString& name) const;
};

// Reads blank-line separated records of "field: value" lines. Throws
// std::runtime_error with file and line on a malformed line.
QList<Record> readRecords(const QString& path);

// "a; b ;c" -> {"a", "b", "c"}; empty items are dropped.
QStringList splitList(const QString& value);
