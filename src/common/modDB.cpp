#include "modDB.h"

#include "platform/App.h"
#include "platform/VbError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <sqlite3.h>

namespace {
constexpr const char* Password = "Wd8kTq2xNb6rPz3mYh";
// How long a statement waits for another program's lock on the file to go
// before it gives up: short, as the window waits with it.
constexpr int BusyTimeoutMs = 250;
// How many steps of SQLite's virtual machine pass between two looks at a
// connection's work budget.
constexpr int StepsPerLook = 64;

[[noreturn]] void fail(const QString& description) { throw VbError(VbErrors::ProviderError, description); }

bool isBusy(const QSqlError& error)
{
    // SQLITE_BUSY and SQLITE_LOCKED, as the driver passes them on.
    const QString code = error.nativeErrorCode();
    return code == "5" || code == "6";
}

// Raises the error of a failed statement on the database file at path; a
// file locked by another program is told apart from a damaged one.
[[noreturn]] void failWith(const QSqlError& error, const QString& path)
{
    if (isBusy(error))
        throw VbError(VbErrors::DatabaseInUse,
                      "The file '" + path + "' is in use by another program.");
    fail(error.text());
}

[[noreturn]] void noCurrentRecord()
{
    throw VbError(VbErrors::NoCurrentRecord,
                  "Either BOF or EOF is True, or the current record has been deleted. "
                  "Requested operation requires a current record.");
}

QString quoted(const QString& identifier)
{
    QString name = identifier;
    return "\"" + name.replace("\"", "\"\"") + "\"";
}

QString tableOf(const QString& sql)
{
    static const QRegularExpression re(R"(^\s*select\s.+?\sfrom\s+(\[[^\]]+\]|[A-Za-z_]\w*))",
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(sql);
    if (!m.hasMatch())
        return QString();
    QString table = m.captured(1);
    if (table.startsWith('['))
        table = table.mid(1, table.size() - 2);
    return table;
}

bool sameValue(const QVariant& field, const QString& wanted, bool wantedIsText)
{
    if (field.isNull())
        return false;
    if (!wantedIsText) {
        bool okField = false, okWanted = false;
        const double a = field.toDouble(&okField);
        const double b = wanted.toDouble(&okWanted);
        if (okField && okWanted)
            return a == b;
    }
    return field.toString().compare(wanted, Qt::CaseInsensitive) == 0;
}
} // namespace

QString AccessConnectionString(const QString& path)
{
    return QString("DRIVER=Microsoft Access Driver (*.mdb);") + "UID=;PWD=" + Password + ";DBQ=" + path;
}

QString ToSqliteSql(const QString& sql)
{
    // Outside quoted texts, a bare Group that is not GROUP BY names the column.
    static const QRegularExpression word(R"((?<![\w\[])group\b(?!\s+by\b)(?!\]))",
                                         QRegularExpression::CaseInsensitiveOption);
    QString out;
    QString chunk;
    QChar quote;
    for (const QChar c : sql) {
        if (quote.isNull() && (c == '\'' || c == '"')) {
            out += QString(chunk).replace(word, "[Group]");
            chunk.clear();
            quote = c;
            out += c;
        } else if (!quote.isNull()) {
            out += c;
            if (c == quote)
                quote = QChar();
        } else {
            chunk += c;
        }
    }
    out += QString(chunk).replace(word, "[Group]");
    return out;
}

// --- Connection ---------------------------------------------------------

Connection::~Connection() { Close(); }

QString Connection::DatabasePath() const
{
    const int at = ConnectionString.indexOf("DBQ=", 0, Qt::CaseInsensitive);
    return at < 0 ? QString() : ConnectionString.mid(at + 4);
}

QSqlDatabase Connection::Database() const { return QSqlDatabase::database(m_name, false); }

void Connection::Open()
{
    if (IsOpen())
        fail("The connection is already open.");
    const QString path = DatabasePath();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        fail("Could not find file '" + path + "'.");
    if (!info.isReadable())
        fail("Could not read file '" + path + "'.");

    const QString name = "arcavell-db-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(path);
        QString options = QString("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyTimeoutMs);
        if (ReadOnly || !info.isWritable())
            options += ";QSQLITE_OPEN_READONLY";
        db.setConnectOptions(options);
        QSqlError problem;
        if (!db.open()) {
            problem = db.lastError();
        } else {
            QSqlQuery probe(db);
            if (!probe.exec("SELECT count(*) FROM sqlite_master"))
                problem = probe.lastError();
        }
        if (problem.isValid()) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            if (isBusy(problem))
                failWith(problem, path);
            fail("'" + path + "' is not a database file.");
        }
    }
    m_name = name;
}

namespace {
// The SQLite connection under the driver's; null if the driver is not
// SQLite's.
sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.isValid() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}
} // namespace

void Connection::LimitWork(qint64 units, int maxValueBytes)
{
    sqlite3* handle = handleOf(Database());
    if (!IsOpen() || !handle)
        fail("The connection cannot be used to perform this operation. It is either closed or invalid.");
    m_workLeft = units;
    sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, maxValueBytes);
    sqlite3_progress_handler(handle, StepsPerLook, &Connection::spendSteps, this);
}

int Connection::spendSteps(void* connection)
{
    auto* self = static_cast<Connection*>(connection);
    self->SpendWork(StepsPerLook);
    return self->WorkSpent() ? 1 : 0; // non-zero interrupts the statement
}

void Connection::Close()
{
    if (!IsOpen())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        if (sqlite3* handle = handleOf(db))
            sqlite3_progress_handler(handle, 0, nullptr, nullptr);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
    m_name.clear();
    m_workLeft = std::numeric_limits<qint64>::max();
}

// --- Recordset ----------------------------------------------------------

void Recordset::Open(const QString& source, const ConnectionRef& connection, int, int, int)
{
    decltype(m_rows) rows;
    int columns = -1;
    const QSqlRecord record = ForEachRow(connection, ToSqliteSql(source), [&rows, &columns](const QSqlQuery& query) {
        if (columns < 0)
            columns = query.record().count();
        Row row;
        for (int i = 0; i < columns; ++i)
            row.values << query.value(i);
        row.original = row.values;
        row.assigned = QVector<bool>(columns, false);
        rows << row;
    });
    m_rows = std::move(rows);
    m_fieldNames.clear();
    for (int i = 0; i < record.count(); ++i)
        m_fieldNames << record.fieldName(i);
    m_connection = connection;
    m_table = tableOf(source);
    m_open = true;
    applyFilter(QString());
}

void Recordset::requireRows() const
{
    if (!m_open)
        fail("Operation is not allowed when the object is closed.");
}

Recordset::Row& Recordset::currentRow()
{
    requireRows();
    if (IsEOF() || IsBOF())
        noCurrentRecord();
    return m_rows[m_view[m_pos]];
}

const Recordset::Row& Recordset::currentRow() const { return const_cast<Recordset*>(this)->currentRow(); }

void Recordset::moveTo(int pos)
{
    flushEdit();
    m_pos = pos;
    m_chunkOffset = QVector<int>(m_fieldNames.size(), 0);
    m_chunkWritten = QVector<bool>(m_fieldNames.size(), false);
}

void Recordset::MoveFirst()
{
    requireRows();
    if (m_view.isEmpty())
        noCurrentRecord();
    moveTo(0);
}

void Recordset::MoveLast()
{
    requireRows();
    if (m_view.isEmpty())
        noCurrentRecord();
    moveTo(static_cast<int>(m_view.size()) - 1);
}

void Recordset::MoveNext()
{
    requireRows();
    if (IsEOF())
        noCurrentRecord();
    moveTo(m_pos + 1);
}

void Recordset::MovePrevious()
{
    requireRows();
    if (IsBOF())
        noCurrentRecord();
    moveTo(m_pos - 1);
}

void Recordset::Move(long rows)
{
    requireRows();
    if (rows == 0)
        return;
    if (m_view.isEmpty() || (rows > 0 && IsEOF()) || (rows < 0 && IsBOF()))
        noCurrentRecord();
    const long target = m_pos + rows;
    moveTo(static_cast<int>(qBound<long>(-1, target, static_cast<long>(m_view.size()))));
}

void Recordset::SetFilter(const QString& filter)
{
    requireRows();
    flushEdit();
    applyFilter(filter);
}

void Recordset::applyFilter(const QString& filter)
{
    QVector<int> view;
    if (filter.trimmed().isEmpty()) {
        for (int i = 0; i < m_rows.size(); ++i)
            view << i;
    } else {
        static const QRegularExpression re(R"(^\s*\[?(\w+)\]?\s*=\s*(?:'((?:[^']|'')*)'|([^\s']+))\s*$)");
        const auto m = re.match(filter);
        if (!m.hasMatch())
            throw VbError(3001, "Arguments are of the wrong type, are out of acceptable range, or are in "
                                "conflict with one another.");
        const int column = columnOf(m.captured(1));
        const bool isText = m.capturedStart(2) >= 0;
        const QString wanted = isText ? m.captured(2).replace("''", "'") : m.captured(3);
        for (int i = 0; i < m_rows.size(); ++i)
            if (sameValue(m_rows[i].values[column], wanted, isText))
                view << i;
    }
    m_filter = filter;
    m_view = view;
    m_pos = -2; // so that moveTo resets without a pending edit check on a stale row
    moveTo(0);
}

int Recordset::columnOf(const QString& name) const
{
    requireRows();
    for (int i = 0; i < m_fieldNames.size(); ++i)
        if (m_fieldNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    throw VbError(3265, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
}

Field Recordset::Fields(const QString& name) { return Field(this, columnOf(name)); }

Field Recordset::Fields(int index)
{
    requireRows();
    if (index < 0 || index >= m_fieldNames.size())
        throw VbError(3265, "Item cannot be found in the collection corresponding to the requested name or ordinal.");
    return Field(this, index);
}

bool Recordset::EditPending() const
{
    if (!m_open || IsEOF() || IsBOF())
        return false;
    const Row& row = m_rows[m_view[m_pos]];
    return row.added || row.assigned.contains(true);
}

void Recordset::AddNew()
{
    requireRows();
    flushEdit();
    Row row;
    row.values = QVector<QVariant>(m_fieldNames.size());
    row.original = row.values;
    row.assigned = QVector<bool>(m_fieldNames.size(), false);
    row.added = true;
    m_rows << row;
    m_view << static_cast<int>(m_rows.size()) - 1;
    m_pos = -2;
    moveTo(static_cast<int>(m_view.size()) - 1);
}

void Recordset::Update()
{
    Row& row = currentRow();
    if (row.added)
        insertRow(row);
    else if (row.assigned.contains(true))
        updateRow(row);
    row.added = false;
    row.original = row.values;
    row.assigned.fill(false);
    m_chunkWritten.fill(false);
}

void Recordset::CancelUpdate()
{
    Row& row = currentRow();
    if (row.added) {
        const int index = m_view[m_pos];
        m_view.remove(m_pos);
        m_rows.remove(index);
        for (int& v : m_view)
            if (v > index)
                --v;
        m_pos = -2;
        moveTo(static_cast<int>(m_view.size()));
        return;
    }
    row.values = row.original;
    row.assigned.fill(false);
}

void Recordset::flushEdit()
{
    if (m_pos >= 0 && m_pos < m_view.size() && EditPending())
        Update();
}

void Recordset::insertRow(Row& row)
{
    if (m_table.isEmpty())
        fail("The recordset cannot be updated.");
    QStringList columns, marks;
    QVariantList values;
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (!row.assigned[i])
            continue;
        columns << quoted(m_fieldNames[i]);
        marks << "?";
        values << row.values[i];
    }
    QSqlQuery q(m_connection->Database());
    const QString sql = columns.isEmpty()
                            ? "INSERT INTO " + quoted(m_table) + " DEFAULT VALUES"
                            : "INSERT INTO " + quoted(m_table) + " (" + columns.join(", ") + ") VALUES (" +
                                  marks.join(", ") + ")";
    q.prepare(sql);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        failWith(q.lastError(), m_connection->DatabasePath());
}

void Recordset::updateRow(Row& row)
{
    if (m_table.isEmpty())
        fail("The recordset cannot be updated.");
    QStringList sets, conditions;
    QVariantList setValues, conditionValues;
    for (int i = 0; i < m_fieldNames.size(); ++i) {
        if (row.assigned[i]) {
            sets << quoted(m_fieldNames[i]) + " = ?";
            setValues << row.values[i];
        }
        // The row is found by the values it had when it was read.
        conditions << quoted(m_fieldNames[i]) + " IS ?";
        conditionValues << row.original[i];
    }
    QSqlQuery q(m_connection->Database());
    q.prepare("UPDATE " + quoted(m_table) + " SET " + sets.join(", ") + " WHERE rowid = (SELECT rowid FROM " +
              quoted(m_table) + " WHERE " + conditions.join(" AND ") + " LIMIT 1)");
    for (const QVariant& v : setValues + conditionValues)
        q.addBindValue(v);
    if (!q.exec())
        failWith(q.lastError(), m_connection->DatabasePath());
    if (q.numRowsAffected() != 1)
        fail("Row cannot be located for updating. Some values may have been changed since it was last read.");
}

// --- Field ----------------------------------------------------------------

QString Field::Name() const { return m_rs->m_fieldNames[m_column]; }

QVariant Field::Value() const { return m_rs->currentRow().values[m_column]; }

void Field::SetValue(const QVariant& value)
{
    auto& row = m_rs->currentRow();
    row.values[m_column] = value;
    row.assigned[m_column] = true;
}

QByteArray Field::GetChunk(int size)
{
    const QByteArray bytes = Value().toByteArray();
    int& offset = m_rs->m_chunkOffset[m_column];
    const QByteArray chunk = bytes.mid(offset, qMax(0, size));
    offset += static_cast<int>(chunk.size());
    return chunk;
}

void Field::AppendChunk(const QByteArray& bytes)
{
    auto& row = m_rs->currentRow();
    QByteArray value = m_rs->m_chunkWritten[m_column] ? row.values[m_column].toByteArray() : QByteArray();
    value.append(bytes);
    row.values[m_column] = value;
    row.assigned[m_column] = true;
    m_rs->m_chunkWritten[m_column] = true;
}

long Field::ActualSize() const
{
    const QVariant v = Value();
    if (v.isNull())
        return 0;
    return static_cast<long>(v.typeId() == QMetaType::QByteArray ? v.toByteArray().size() : v.toString().size());
}

// --- the module's variables and its two procedures ------------------------

ConnectionRef cnLearn;
RecordsetRef rsCards;

QString LearnDatabasePath() { return App::FilePath("learn.dll"); }

namespace {
// The shared objects would otherwise close their connection after the
// database driver has gone, at the program's exit: release them while the
// application object goes.
void releaseSharedObjects()
{
    rsCards.reset();
    cnLearn.reset();
}
} // namespace

QString DatabaseErrorAdvice(const VbError& error, const QString& otherwise)
{
    return error.Number() == VbErrors::DatabaseInUse ? QStringLiteral("Please try again later.") : otherwise;
}

void OpenConnection(ConnectionRef& cn, const QString& path, bool readOnly)
{
    static const bool releasedAtExit = (qAddPostRoutine(releaseSharedObjects), true);
    Q_UNUSED(releasedAtExit);
    cn = std::make_shared<Connection>();
    cn->ConnectionString = AccessConnectionString(path);
    cn->CursorLocation = 3; // client-side cursors: every RecordCount is exact
    cn->ReadOnly = readOnly;
    cn->Open();
}

QSqlRecord ForEachRow(const ConnectionRef& cn, const QString& sql, const std::function<void(const QSqlQuery&)>& perRow)
{
    if (!cn || !cn->IsOpen())
        fail("The connection cannot be used to perform this operation. It is either closed or invalid.");
    QSqlQuery query(cn->Database());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        failWith(query.lastError(), cn->DatabasePath());
    const QSqlRecord columns = query.record();
    while (query.next())
        perRow(query);
    // next() also ends at a read error (a damaged file): no part of a table
    // is passed off as the whole of it.
    if (query.lastError().isValid())
        failWith(query.lastError(), cn->DatabasePath());
    return columns;
}

void OpenRecordset(RecordsetRef& rs, const ConnectionRef& cn, const QString& sql)
{
    rs = std::make_shared<Recordset>();
    rs->Open(sql, cn, 1, 3, 1); // keyset, optimistic, SQL text
}
