#pragma once
// Helpers of the tutor tests: the copy's tutor database read and changed
// directly, and clicks on the tutor window.
#include <QAbstractButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QImage>
#include <QStringList>
#include <QTest>
#include <QUuid>
#include <QVariant>

namespace Tutor {
// Runs each statement on the database file and returns the rows of the
// last one, every value as text.
inline QList<QStringList> sql(const QString& path, const QStringList& statements)
{
    QList<QStringList> rows;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(path));
        for (const QString& statement : statements) {
            QSqlQuery q(db);
            if (!q.exec(statement))
                qFatal("%s: %s", qPrintable(statement), qPrintable(q.lastError().text()));
            rows.clear();
            while (q.next()) {
                QStringList row;
                for (int i = 0; i < q.record().count(); ++i)
                    row << q.value(i).toString();
                rows << row;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// One column of the rows of a query.
inline QStringList column(const QString& path, const QString& query)
{
    QStringList out;
    for (const QStringList& row : sql(path, {query}))
        out << row.value(0);
    return out;
}

inline QString cardField(const QString& path, const QString& name, const QString& field)
{
    return column(path, "SELECT " + field + " FROM tblCards WHERE Name = '" + name + "'").value(0);
}

inline QStringList keywordsOfCard(const QString& path, const QString& name)
{
    return column(path, "SELECT Keyword FROM tblKeywords WHERE CardID = (SELECT ID FROM tblCards WHERE Name = '"
                            + name + "') ORDER BY Id");
}

inline QImage storedPicture(const QString& path, const QString& name)
{
    QByteArray bytes;
    const QString connection = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.prepare("SELECT PictureData FROM tblCards WHERE Name = ?");
        q.addBindValue(name);
        if (q.exec() && q.next())
            bytes = q.value(0).toByteArray();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
}

// A click where a user clicks: a box or an option on its mark, a button in
// its middle.
inline void click(QAbstractButton* button)
{
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2));
    else
        QTest::mouseClick(button, Qt::LeftButton);
}
} // namespace Tutor
