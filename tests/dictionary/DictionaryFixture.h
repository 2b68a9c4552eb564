#pragma once
#include "SessionTest.h"

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUuid>

// Dictionary files made for a test: the table tarot with its rows (Key,
// Link, Names), and whatever further statements the test adds.
inline void writeDictionary(const QString& path, const QList<QStringList>& rows, const QStringList& extra = {})
{
    QFile::remove(path);
    const QString name = QUuid::createUuid().toString();
    {
        auto db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec("CREATE TABLE tarot (Key TEXT, Link TEXT, Names TEXT)");
        db.transaction();
        for (const QStringList& row : rows) {
            q.prepare("INSERT INTO tarot (Key, Link, Names) VALUES (?, ?, ?)");
            for (const QString& value : row)
                q.addBindValue(value);
            q.exec();
        }
        db.commit();
        for (const QString& sql : extra)
            q.exec(sql);
    }
    QSqlDatabase::removeDatabase(name);
}

inline QList<QStringList> readDictionary(const QString& path)
{
    QList<QStringList> rows;
    const QString name = QUuid::createUuid().toString();
    {
        auto db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q("SELECT Key, Link, Names FROM tarot", db);
        while (q.next())
            rows << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

// A web server on the loopback for the web views of a test: every request
// gets a small page whose title names the path; the request targets are kept.
class LocalWebServer : public QTcpServer {
public:
    QStringList targets;

    LocalWebServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
        });
    }
    QString address(const QString& path) const { return QString("http://127.0.0.1:%1%2").arg(serverPort()).arg(path); }
    // The value of the field q of the last request to path, or a null string.
    QString lastQuery(const QString& path) const
    {
        for (qsizetype i = targets.size() - 1; i >= 0; --i) {
            if (targets[i].section('?', 0, 0) != path)
                continue;
            for (QString item : targets[i].section('?', 1).split('&'))
                if (item.startsWith("q="))
                    return QUrl::fromPercentEncoding(item.mid(2).replace('+', ' ').toLatin1());
            return QString("");
        }
        return QString();
    }

private:
    void answer(QTcpSocket* socket)
    {
        const QByteArray request = socket->readAll();
        const QList<QByteArray> first = request.left(request.indexOf("\r\n")).split(' ');
        const QString target = first.value(1);
        targets << target;
        const QByteArray body = "<html><head><title>Page " + target.section('?', 0, 0).toUtf8() +
                                "</title></head><body>result</body></html>";
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
};
