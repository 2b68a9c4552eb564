#include "DictionaryUpdate.h"

#include "app/frmMDI.h"
#include "common/modDB.h"
#include "dictionary/frmPB.h"
#include "dictionary/modDict.h"
#include "platform/MsgBox.h"
#include "platform/VbError.h"

#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <optional>

namespace {
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

// Reads columns of the table tarot of a file, forward only; a missing
// column raises a VbError.
QSqlQuery selectFromTarot(const ConnectionRef& cn, const QString& columns)
{
    requireTarotTable(cn);
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
        OpenConnection(updateConnection, updateFile);
        rows = selectFromTarot(updateConnection, "Key, Link, Names");
    } catch (const VbError& e) {
        // A file another program holds may well be a good update: say so
        // rather than that there is nothing in it.
        if (e.Number() == VbErrors::DatabaseInUse)
            return {DictionaryUpdateResult::Failed, 0, e.Description()};
        return {};
    }
    QSqlQuery& update = *rows;
    if (!update.next())
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
    } while (update.next());
    // A file that stops reading part-way is not an update: nothing of it is kept.
    if (update.lastError().isValid()) {
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
