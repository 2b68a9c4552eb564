#pragma once
// Helpers of the tutor tests: the copy's tutor database read and changed
// directly, and clicks where a user clicks.
#include <QCheckBox>
#include <optional>
#include <QImage>
#include <QRadioButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QUuid>

#include "tutor/frmMain.h"

// QVERIFY for helpers that return a value: records the failure and returns ret.
#define VERIFY_RET(cond, ret)                                                                      \
    do {                                                                                           \
        if (!QTest::qVerify(static_cast<bool>(cond), #cond, "", __FILE__, __LINE__))             \
            return ret;                                                                            \
    } while (false)

namespace Tutor {
// Runs each statement on the database file; the first column of the last one's rows.
inline QVariantList sql(const QString& path, const QStringList& statements)
{
    QVariantList column;
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.open();
        for (const QString& statement : statements) {
            QSqlQuery q(db);
            if (!q.exec(statement))
                qFatal("%s", qPrintable(statement));
            for (column.clear(); q.next();)
                column << q.value(0);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return column;
}

inline QString cardField(const QString& path, const QString& name, const QString& field)
{
    return sql(path, {"SELECT " + field + " FROM tblCards WHERE Name = '" + name + "'"}).value(0).toString();
}

inline QImage storedPicture(const QString& path, const QString& name)
{
    const QVariant bytes = sql(path, {"SELECT PictureData FROM tblCards WHERE Name = '" + name + "'"}).value(0);
    return QImage::fromData(bytes.toByteArray()).convertToFormat(QImage::Format_RGB32);
}

inline QStringList keywordsOfCard(const QString& path, const QString& name)
{
    QStringList keywords;
    for (const QVariant& v : sql(path, {"SELECT Keyword FROM tblKeywords WHERE CardID = (SELECT ID FROM tblCards "
                                        "WHERE Name = '" + name + "') ORDER BY Id"}))
        keywords << v.toString();
    return keywords;
}

// A box or an option is clicked on its mark, a button in its middle.
inline void click(QAbstractButton* button)
{
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button))
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2));
    else
        QTest::mouseClick(button, Qt::LeftButton);
}
// The tutor window on its settings tab; with a card set of the major arcana
// alone (suit -1) or of one suit (0..3) when a suit is given.
inline class frmMain& settingsTab(std::optional<int> suit = std::nullopt)
{
    auto& f = frmMain();
    f.Show();
    f.mnuTabSettings->trigger();
    if (suit)
        click(*suit < 0 ? f.chkMinor : f.chkMajor);
    for (int i = 0; suit && *suit >= 0 && i < 4; ++i)
        if (i != *suit)
            click(f.chkGroup[i]);
    return f;
}
} // namespace Tutor
