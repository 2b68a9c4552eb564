#pragma once
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QUuid>
#include <QtEndian>

// An update file built to be read without end: its table tarot holds ten
// rows (Key "K<i>", Link of linkLength characters or, for 0, none,
// Names "tarot") on one
// page, and above that page a tree of `levels` pages each of which points to
// the page below it with every one of its entries. The file is levels + 2
// pages long and reads as 10 * (entries + 1)^levels rows. SQLite takes such a
// file for a sound one until it is checked whole.
inline void writeRepeatingTable(const QString& path, int pageSize, int levels, int linkLength)
{
    QFile::remove(path);
    const QString name = QUuid::createUuid().toString();
    {
        auto db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec(QString("PRAGMA page_size = %1").arg(pageSize));
        q.exec("CREATE TABLE tarot (Key TEXT, Link TEXT, Names TEXT)");
        for (int i = 0; i < 10; ++i)
            q.exec(QString("INSERT INTO tarot VALUES ('K%1', %2, 'tarot')")
                       .arg(i)
                       .arg(linkLength ? QString("'%1' || substr(hex(zeroblob(%2)), 2)").arg(i).arg(linkLength / 2 + 1)
                                       : "NULL"));
    }
    QSqlDatabase::removeDatabase(name);

    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return;
    QByteArray bytes = file.readAll();
    const QByteArray header = bytes.left(pageSize);
    const QByteArray leaf = bytes.mid(pageSize, pageSize); // the table's one page, its root, page 2
    bytes = header;
    // An interior page of a table: its entries (a page number and a two-byte
    // row number each) and its last child all name the same page.
    const int entries = (pageSize - 12) / 8;
    for (int level = 0; level < levels; ++level) {
        const quint32 child = 3 + level;
        QByteArray page(pageSize, '\0');
        uchar* p = reinterpret_cast<uchar*>(page.data());
        const int content = pageSize - entries * 6;
        p[0] = 5;
        qToBigEndian<quint16>(entries, p + 3);
        qToBigEndian<quint16>(content, p + 5);
        qToBigEndian<quint32>(child, p + 8);
        for (int i = 0; i < entries; ++i) {
            const int at = content + i * 6;
            qToBigEndian<quint16>(at, p + 12 + 2 * i);
            qToBigEndian<quint32>(child, p + at);
            p[at + 4] = 0x80 | ((i + 1) >> 7);
            p[at + 5] = (i + 1) & 0x7f;
        }
        bytes += page;
    }
    bytes += leaf;
    qToBigEndian<quint32>(levels + 2, reinterpret_cast<uchar*>(bytes.data()) + 28); // pages in the file
    file.seek(0);
    file.write(bytes);
    file.resize(bytes.size());
}
