#include "DictionaryUpdate.h"

#include "app/frmMDI.h"
#include "common/modDB.h"
#include "dictionary/frmPB.h"
#include "dictionary/modDict.h"
#include "platform/MsgBox.h"
#include "platform/VbError.h"

#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>

namespace {
// What reading an update file may cost: its rows, however the file is made,
// cost SQLite steps and characters read, and a sound file needs less than
// one of each per byte of the file. A file that needs far more (a damaged
// one whose pages repeat, say, which reads as endless rows) is stopped.
constexpr qint64 WorkPerFileByte = 8;
constexpr qint64 WorkForAnyFile = 1'000'000; // what a file of a few rows and a large schema needs
// No key, link or marker is near this long.
constexpr int MaxValueBytes = 1024 * 1024;

[[noreturn]] void fail(const QString& description) { throw VbError(VbErrors::ProviderError, description); }

// Only a table named tarot is read: a view (which may compute rows without
// end) or a virtual table of that name raises a VbError.
void requireTarotTable(const ConnectionRef& cn)
{
    QSqlQuery kind(cn->Database());
    if (!kind.exec("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = 'tarot' COLLATE NOCASE") ||
        !kind.next() || kind.value(0).toString().simplified().startsWith("CREATE VIRTUAL", Qt::CaseInsensitive))
        fail("There is no table tarot in " + cn->DatabasePath() + ".");
}

// A generated column is computed as it is read, by whatever expression the
// file holds, which can take any time: a table tarot with one raises a VbError.
void requireStoredColumns(const ConnectionRef& cn)
{
    QSqlQuery computed(cn->Database());
    if (!computed.exec("SELECT count(*) FROM pragma_table_xinfo('tarot') WHERE hidden <> 0") || !computed.next() ||
        computed.value(0).toInt() != 0)
        fail("The table tarot in " + cn->DatabasePath() + " computes some of its columns.");
}

// Reads columns of the table tarot of a file, forward only; a missing
// column raises a VbError.
QSqlQuery selectFromTarot(const ConnectionRef& cn, const QString& columns)
{
    requireTarotTable(cn);
    requireStoredColumns(cn);
    QSqlQuery query(cn->Database());
    query.setForwardOnly(true);
    if (!query.exec("SELECT " + columns + " FROM tarot"))
        fail(query.lastError().text());
    return query;
}

QSet<QString> linksOf(const ConnectionRef& cn)
{
    requireTarotTable(cn);
    QSet<QString> links;
    ForEachRow(cn, "SELECT Link FROM tarot", [&links](const QSqlQuery& query) {
        if (!query.isNull(0)) // a missing Link equals nothing
            links.insert(query.value(0).toString());
    });
    return links;
}

qint64 lengthOf(const QVariant& value)
{
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray().size() : value.toString().size();
}

// Spends the work of reading the current row; false once the update's
// budget is spent.
bool spendRow(Connection& cn, const QSqlQuery& row)
{
    cn.SpendWork(lengthOf(row.value(0)) + lengthOf(row.value(1)) + lengthOf(row.value(2)));
    return !cn.WorkSpent();
}

DictionaryUpdateResult failed(QSqlDatabase& db, const QString& problem)
{
    db.rollback();
    return {DictionaryUpdateResult::Failed, 0, problem};
}
} // namespace

DictionaryUpdateResult MergeDictionaryUpdate(const QString& updateFile, const QString& dictionaryFile)
{
    // The update's rows are read one at a time while they are merged: only
    // the dictionary's links are held, to find the rows that are new.
    ConnectionRef updateConnection;
    std::optional<QSqlQuery> rows;
    try {
        OpenConnection(updateConnection, updateFile, true);
        updateConnection->LimitWork(WorkForAnyFile + WorkPerFileByte * QFileInfo(updateFile).size(), MaxValueBytes);
        rows = selectFromTarot(updateConnection, "Key, Link, Names");
    } catch (const VbError& e) {
        // A file another program holds may well be a good update: say so
        // rather than that there is nothing in it.
        if (e.Number() == VbErrors::DatabaseInUse)
            return {DictionaryUpdateResult::Failed, 0, e.Description()};
        return {};
    }
    QSqlQuery& update = *rows;
    if (!update.next() || !spendRow(*updateConnection, update))
        return {}; // no rows, or none that can be read

    ConnectionRef connection;
    QSet<QString> links;
    try {
        OpenConnection(connection, dictionaryFile);
        links = linksOf(connection);
    } catch (const VbError& e) {
        return {DictionaryUpdateResult::Failed, 0, e.Description()};
    }
    QSqlDatabase db = connection->Database();
    if (!db.transaction())
        return {DictionaryUpdateResult::Failed, 0, db.lastError().text()};
    QSqlQuery insert(db);
    if (!insert.prepare("INSERT INTO tarot (Names, Key, Link) VALUES ('tarot', ?, ?)"))
        return failed(db, insert.lastError().text());

    DictionaryUpdateResult result{DictionaryUpdateResult::Updated, 0, QString()};
    do {
        const QVariant names = update.value(2);
        if (names.isNull() || names.toString() != "tarot") {
            result.outcome = DictionaryUpdateResult::WrongFile;
            break;
        }
        const QVariant link = update.value(1);
        if (!link.isNull() && links.contains(link.toString()))
            continue;
        insert.addBindValue(update.value(0));
        insert.addBindValue(link);
        if (!insert.exec())
            return failed(db, insert.lastError().text());
        if (!link.isNull())
            links.insert(link.toString());
        ++result.added;
    } while (update.next() && spendRow(*updateConnection, update));
    // A file that stops reading part-way, or costs more than any update
    // could, is not an update: nothing of it is kept.
    if (update.lastError().isValid() || updateConnection->WorkSpent()) {
        db.rollback();
        return {};
    }
    update.finish(); // the update may be the dictionary itself, which the commit locks
    if (!db.commit())
        return failed(db, db.lastError().text());
    return result;
}

void frmMDI::mnuUpdateKey_Click()
{
    CD.FileName.clear();
    IgnoreErrors([this] { CD.ShowOpen(); });
    if (CD.FileName.isEmpty())
        return; // cancelled
    const DictionaryUpdateResult result = MergeDictionaryUpdate(CD.FileName, DictionaryPath());
    switch (result.outcome) {
    case DictionaryUpdateResult::NothingToUpdate:
        MsgBox("There is nothing to Update", vbInformation);
        break;
    case DictionaryUpdateResult::WrongFile:
        MsgBox("This is the wrong file! Lookup online help", vbInformation);
        break;
    case DictionaryUpdateResult::Failed:
        MsgBox("The Tarot Dictionary could not be updated:\r" + result.problem + "\rThe dictionary is unchanged.",
               vbExclamation);
        break;
    case DictionaryUpdateResult::Updated:
        frmPB().Show(vbModal);
        lstKeys->repaint(); // the list keeps its keys until the dictionary is opened again
        MsgBox("Tarot Dictionary Successfully Updated\rPlease restart dictionary ", vbInformation);
        break;
    }
    txtKey->setFocus();
}
