#include "Records.h"

#include <QFile>
#include <QTextStream>
#include <stdexcept>

QString Record::value(const QString& name) const
{
    for (const auto& f : fields)
        if (f.first == name)
            return f.second;
    return {};
}

QStringList Record::values(const QString& name) const
{
    QStringList out;
    for (const auto& f : fields)
        if (f.first == name)
            out << f.second;
    return out;
}

QList<Record> readRecords(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error(("cannot read " + path).toStdString());
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);

    QList<Record> records;
    Record current;
    int lineNo = 0;
    auto flush = [&] {
        if (!current.fields.isEmpty())
            records << current;
        current = Record();
    };
    while (!in.atEnd()) {
        const QString line = in.readLine();
        ++lineNo;
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty()) {
            flush();
            continue;
        }
        if (trimmed.startsWith('#'))
            continue;
        const int colon = line.indexOf(':');
        if (colon <= 0)
            throw std::runtime_error(QString("%1:%2: expected 'field: value'").arg(path).arg(lineNo).toStdString());
        if (current.fields.isEmpty())
            current.line = lineNo;
        current.fields << qMakePair(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
    }
    flush();
    return records;
}

QStringList splitList(const QString& value)
{
    QStringList out;
    for (const QString& item : value.split(';')) {
        const QString t = item.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}
