#pragma once
#include <QString>

class PictureBox;
class Recordset;

// Shows the picture stored in a field of the current row of rs (the bytes of
// a picture file, possibly followed by a zero byte) in pic. True when it
// loaded; otherwise pic shows no picture. The bytes pass through a temporary
// file, which is removed afterwards, whether or not the picture loaded.
bool LoadPictureFromField(PictureBox* pic, Recordset& rs, const QString& fieldName);

// Creates a new, unique, empty file in the system's temporary folder whose
// name starts with the first three characters of prefix, and returns its
// full path; an empty text when none can be created. The folder is asked
// for once per run.
QString GetTempFile(const QString& prefix);
