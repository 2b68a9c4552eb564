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

namespace {
// Opens the table tarot of a file with the three columns the update uses;
// raises a VbError otherwise.
RecordsetRef openTarotTable(ConnectionRef& cn, const QString& file)
{
    RecordsetRef rs;
    OpenConnection(cn, file);
    OpenRecordset(rs, cn, "select * from tarot");
    for (const char* column : {"Key", "Link", "Names"})
        rs->Fields(column);
    return rs;
}

QSet<QString> linksOf(Recordset& rs)
{
    QSet<QString> links;
    const long count = rs.RecordCount();
    if (count == 0)
        return links;
    links.reserve(count);
    rs.MoveFirst();
    for (long i = 0; i < count; ++i) {
        const QVariant link = rs.Value("Link");
        if (!link.isNull()) // a missing Link equals nothing
            links.insert(link.toString());
        rs.MoveNext();
    }
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
    ConnectionRef updateConnection;
    RecordsetRef update;
    try {
        update = openTarotTable(updateConnection, updateFile);
    } catch (const VbError& e) {
        // A file another program holds may well be a good update: say so
        // rather than that there is nothing in it.
        if (e.Number() == VbErrors::DatabaseInUse)
            return {DictionaryUpdateResult::Failed, 0, e.Description()};
        return {};
    }
    const long count = update->RecordCount();
    if (count == 0)
        return {};

    ConnectionRef connection;
    RecordsetRef dictionary;
    try {
        dictionary = openTarotTable(connection, dictionaryFile);
    } catch (const VbError& e) {
        return {DictionaryUpdateResult::Failed, 0, e.Description()};
    }
    QSet<QString> links = linksOf(*dictionary);
    QSqlDatabase db = connection->Database();
    if (!db.transaction())
        return {DictionaryUpdateResult::Failed, 0, db.lastError().text()};

    DictionaryUpdateResult result{DictionaryUpdateResult::Updated, 0, QString()};
    try {
        update->MoveFirst();
        for (long i = 0; i < count; ++i, update->MoveNext()) {
            const QVariant names = update->Value("Names");
            if (names.isNull() || names.toString() != "tarot") {
                result.outcome = DictionaryUpdateResult::WrongFile;
                break;
            }
            const QVariant link = update->Value("Link");
            if (!link.isNull() && links.contains(link.toString()))
                continue;
            dictionary->AddNew();
            dictionary->Fields("Names").SetValue("tarot");
            dictionary->Fields("Key").SetValue(update->Value("Key"));
            dictionary->Fields("Link").SetValue(link);
            dictionary->Update();
            if (!link.isNull())
                links.insert(link.toString());
            ++result.added;
        }
    } catch (const VbError& e) {
        return failed(db, e.Description());
    }
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
