#pragma once
#include <QByteArray>
#include <QSqlDatabase>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <limits>
#include <memory>

// Access to the program's database files (SQLite files under the names the
// program gives them). A connection is opened by path; a recordset is a
// client-side copy of the rows of one SQL text, with an exact RecordCount,
// that can move, filter and write new or changed rows back to its table.
// Every failure raises a VbError for the caller to report or ignore.

// The connection string for a database file: the driver, the fixed
// password and the path, unchanged.
QString AccessConnectionString(const QString& path);

class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    QString ConnectionString;
    int CursorLocation = 2;
    // A file that is only read (someone else's) is opened so that nothing
    // of it changes: a journal left beside it is not rolled back into it.
    bool ReadOnly = false;

    void Open();
    void Close();
    bool IsOpen() const { return !m_name.isEmpty(); }
    QString DatabasePath() const;
    QSqlDatabase Database() const;

    // Bounds what this open connection's statements may cost, for a file that
    // may be built to keep SQLite busy: once units are spent (one per step of
    // SQLite's virtual machine, and whatever the caller spends through
    // SpendWork) every statement fails as on a damaged file, and no value
    // read may be longer than maxValueBytes.
    void LimitWork(qint64 units, int maxValueBytes);
    void SpendWork(qint64 units) { m_workLeft -= units; }
    bool WorkSpent() const { return m_workLeft < 0; }

private:
    static int spendSteps(void* connection);

    QString m_name;
    qint64 m_workLeft = std::numeric_limits<qint64>::max();
};
using ConnectionRef = std::shared_ptr<Connection>;

class Recordset;

// One field of the current row of a recordset.
class Field {
public:
    Field(Recordset* rs, int column) : m_rs(rs), m_column(column) {}
    QString Name() const;
    QVariant Value() const;
    void SetValue(const QVariant& value);
    // The next size bytes of a long binary value, read on from the last call
    // on this row; empty at the end.
    QByteArray GetChunk(int size);
    // Appends bytes to the value being written (the first call of an edit
    // replaces the old value).
    void AppendChunk(const QByteArray& bytes);
    long ActualSize() const;

private:
    Recordset* m_rs;
    int m_column;
};

class Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void Open(const QString& source, const ConnectionRef& connection, int cursorType, int lockType, int options);
    bool IsOpen() const { return m_open; }

    long RecordCount() const { return static_cast<long>(m_view.size()); }
    bool IsEOF() const { return m_view.isEmpty() || m_pos >= m_view.size(); }
    bool IsBOF() const { return m_view.isEmpty() || m_pos < 0; }
    long AbsolutePosition() const { return IsEOF() || IsBOF() ? -1 : m_pos + 1; }

    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(long rows);

    // "" for every row, or "<field>=<value>" (a number or a 'quoted text').
    QString Filter() const { return m_filter; }
    void SetFilter(const QString& filter);

    int FieldCount() const { return static_cast<int>(m_fieldNames.size()); }
    // A field by name, without regard to case.
    Field Fields(const QString& name);
    Field Fields(int index);
    QVariant Value(const QString& name) { return Fields(name).Value(); }

    void AddNew();
    void Update();
    void CancelUpdate();
    bool EditPending() const;

private:
    friend class Field;
    struct Row {
        QVector<QVariant> values;
        QVector<QVariant> original;
        QVector<bool> assigned;
        bool added = false;
    };
    Row& currentRow();
    const Row& currentRow() const;
    int columnOf(const QString& name) const;
    void moveTo(int pos);
    void requireRows() const;
    void flushEdit();
    void insertRow(Row& row);
    void updateRow(Row& row);
    void applyFilter(const QString& filter);

    bool m_open = false;
    ConnectionRef m_connection;
    QString m_table;
    QStringList m_fieldNames;
    QVector<Row> m_rows;
    QVector<int> m_view; // rows shown through the filter, by index into m_rows
    int m_pos = 0;
    QString m_filter;
    QVector<int> m_chunkOffset;
    QVector<bool> m_chunkWritten;
};
using RecordsetRef = std::shared_ptr<Recordset>;

// Opens a new connection to the database file at path into cn (whatever cn
// held before is released). On failure cn holds the new, unopened connection.
// readOnly: the file is only read and left exactly as it was.
void OpenConnection(ConnectionRef& cn, const QString& path, bool readOnly = false);
// Opens a new recordset on sql into rs. On failure rs holds the new, closed one.
void OpenRecordset(RecordsetRef& rs, const ConnectionRef& cn, const QString& sql);
// Runs sql on an open connection and hands every row to perRow, forward
// only and without a recordset's copy; returns the statement's columns. A
// failed statement, and a read error part-way through the rows (a damaged
// file), raise a VbError.
QSqlRecord ForEachRow(const ConnectionRef& cn, const QString& sql, const std::function<void(const class QSqlQuery&)>& perRow);

// The advice that ends a message about a database error: to try again later
// when another program holds the file, otherwise the caller's own.
QString DatabaseErrorAdvice(const class VbError& error, const QString& otherwise);

// The tutor's connection to its database learn.dll and its current card set
// (the card maintenance window replaces them with its own).
extern ConnectionRef cnLearn;
// The tutor's database file in the program folder.
QString LearnDatabasePath();
extern RecordsetRef rsCards;

// The SQL text as SQLite reads it: the column name Group, a reserved word
// there, is bracketed.
QString ToSqliteSql(const QString& sql);
