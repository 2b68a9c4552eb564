#pragma once
#include "SessionTest.h"

#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUuid>

// Runs work on a connection of its own to the SQLite file at path.
template <class F>
void withDatabase(const QString& path, F work)
{
    const QString name = QUuid::createUuid().toString();
    {
        auto db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.open();
        work(db);
    }
    QSqlDatabase::removeDatabase(name);
}

// A dictionary file made for a test: the table tarot with rows (Key, Link,
// Names), then the test's own statements.
inline void writeDictionary(const QString& path, const QList<QStringList>& rows, const QStringList& extra = {})
{
    QFile::remove(path);
    withDatabase(path, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.exec("CREATE TABLE tarot (Key TEXT, Link TEXT, Names TEXT)");
        db.transaction();
        for (const QStringList& row : rows) {
            q.prepare("INSERT INTO tarot VALUES (?, ?, ?)");
            for (const QString& value : row)
                q.addBindValue(value);
            q.exec();
        }
        db.commit();
        for (const QString& sql : extra)
            q.exec(sql);
    });
}

inline QList<QStringList> readDictionary(const QString& path)
{
    QList<QStringList> rows;
    withDatabase(path, [&](QSqlDatabase& db) {
        QSqlQuery q("SELECT Key, Link, Names FROM tarot", db);
        while (q.next())
            rows << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
    });
    return rows;
}

// A web server on the loopback: a request for a path of pages gets that
// page, every other request a page titled "Page" and its path; the request
// targets are kept.
class LocalWebServer : public QTcpServer {
public:
    QStringList targets;
    QMap<QString, QByteArray> pages;

    LocalWebServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QByteArray request = socket->readAll();
                    targets << QString(request.left(request.indexOf("\r\n")).split(' ').value(1));
                    const QString path = targets.last().section('?', 0, 0);
                    const QByteArray body = pages.value(path, "<title>Page " + path.toUtf8() + "</title>");
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n"
                                  "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
        });
    }
    QString address(const QString& path) const { return QString("http://127.0.0.1:%1%2").arg(serverPort()).arg(path); }
    // The field q of the last form sent to path, decoded; null when none was.
    QString lastQuery(const QString& path) const
    {
        for (qsizetype i = targets.size() - 1; i >= 0; --i)
            if (targets[i].section('?', 0, 0) == path)
                for (QString item : targets[i].section('?', 1).split('&'))
                    if (item.startsWith("q="))
                        return QUrl::fromPercentEncoding(item.mid(2).replace('+', ' ').toLatin1());
        return QString();
    }
};
