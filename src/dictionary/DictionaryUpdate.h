#pragma once
#include <QString>

// The merge of a dictionary update file into the dictionary: every row of the
// update file's table tarot whose Link is not in the dictionary yet (rows
// added by this merge included) is added with its Key and Link. All rows are
// written in one transaction. The update's rows are read as they are merged,
// never all at once.
struct DictionaryUpdateResult {
    enum Outcome {
        // not a readable database, tarot no table (a view, say) or with generated
        // columns, a column missing, no rows, or reading that would cost more
        // than the file's size warrants; nothing of it is kept
        NothingToUpdate,
        WrongFile,       // a row without the marker "tarot"; the rows before it are kept
        Failed,          // the dictionary could not be written; it is as it was
        Updated,
    };
    Outcome outcome = NothingToUpdate;
    long added = 0;
    QString problem; // what went wrong, for Failed
};

DictionaryUpdateResult MergeDictionaryUpdate(const QString& updateFile, const QString& dictionaryFile);
