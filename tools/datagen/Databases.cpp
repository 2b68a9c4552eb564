#include "Databases.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <stdexcept>

namespace {

class SqliteFile {
public:
    explicit SqliteFile(const QString& path)
        : m_name("datagen-" + QUuid::createUuid().toString())
    {
        QFile::remove(path);
        auto db = QSqlDatabase::addDatabase("QSQLITE", m_name);
        db.setDatabaseName(path);
        if (!db.open())
            throw std::runtime_error(("cannot create " + path + ": " + db.lastError().text()).toStdString());
    }
    ~SqliteFile()
    {
        {
            auto db = QSqlDatabase::database(m_name);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlQuery query() const { return QSqlQuery(QSqlDatabase::database(m_name)); }
    void exec(const QString& sql) const
    {
        QSqlQuery q = query();
        if (!q.exec(sql))
            throw std::runtime_error((sql + ": " + q.lastError().text()).toStdString());
    }
    void run(QSqlQuery& q) const
    {
        if (!q.exec())
            throw std::runtime_error((q.lastQuery() + ": " + q.lastError().text()).toStdString());
    }

private:
    QString m_name;
};

QByteArray pictureData(const QString& programDir, int number)
{
    const QString path = QString("%1/cards/r%2.jpg").arg(programDir).arg(number);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(("cannot read the card picture " + path).toStdString());
    QByteArray bytes = file.readAll();
    bytes.append('\0'); // the stored field carries one zero byte after the file's bytes
    return bytes;
}

} // namespace

void writeTutorDatabase(const QString& programDir, const QList<Card>& cards)
{
    SqliteFile db(programDir + "/learn.dll");
    db.exec("CREATE TABLE tblCards (ID INTEGER PRIMARY KEY, Name TEXT NOT NULL, PictureData BLOB, "
            "NormalMeaning TEXT NOT NULL, ReversedMeaning TEXT NOT NULL, [Group] INTEGER NOT NULL)");
    db.exec("CREATE TABLE tblKeywords (Id INTEGER PRIMARY KEY, CardID INTEGER NOT NULL, "
            "cardName TEXT NOT NULL, Keyword TEXT NOT NULL)");
    db.exec("BEGIN");
    int keywordId = 0;
    for (const Card& card : cards) {
        QSqlQuery q = db.query();
        q.prepare("INSERT INTO tblCards (ID, Name, PictureData, NormalMeaning, ReversedMeaning, [Group]) "
                  "VALUES (?, ?, ?, ?, ?, ?)");
        q.addBindValue(card.id);
        q.addBindValue(card.name);
        q.addBindValue(pictureData(programDir, card.number));
        q.addBindValue(card.upright);
        q.addBindValue(card.reversed);
        q.addBindValue(card.group);
        db.run(q);
        for (const QString& keyword : card.keywords) {
            QSqlQuery k = db.query();
            k.prepare("INSERT INTO tblKeywords (Id, CardID, cardName, Keyword) VALUES (?, ?, ?, ?)");
            k.addBindValue(++keywordId);
            k.addBindValue(card.id);
            k.addBindValue(card.name);
            k.addBindValue(keyword);
            db.run(k);
        }
    }
    db.exec("COMMIT");
}

void writeDictionaryDatabase(const QString& programDir, const QList<DictionaryEntry>& entries)
{
    SqliteFile db(programDir + "/tarot.dll");
    db.exec("CREATE TABLE tarot (Key TEXT, Link TEXT, Names TEXT)");
    db.exec("BEGIN");
    for (const DictionaryEntry& entry : entries) {
        QSqlQuery q = db.query();
        q.prepare("INSERT INTO tarot (Key, Link, Names) VALUES (?, ?, 'tarot')");
        q.addBindValue(entry.key);
        q.addBindValue(entry.link());
        db.run(q);
    }
    db.exec("COMMIT");
}
