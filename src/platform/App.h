#pragma once
#include <QByteArray>
#include <QString>

// What the program knows about itself: its folder, name, title and command line.
namespace App {
// The program folder: where the executable and its data files live.
QString Path();
void SetPath(const QString& path);

// Takes the program folder from its name as the system gives it, in bytes.
void SetPathFromSystem(const QByteArray& folder);
// Whether the program folder's name reads as text and back as the same
// bytes (it is valid UTF-8). Otherwise no file of the folder can be found by
// its path: a name from a single-byte system ("Caf\xe9") reads with U+FFFD.
bool PathIsUsable();

// A file of the program folder, named as the program names it, with
// backslashes ("\\pic\\c0.jpg", "learn.dll"): its full path.
QString FilePath(const QString& name);

// The executable's name without folder ("arcavell"); it also names the
// program's section of the settings store.
QString EXEName();

// The executable's file name in the program folder as it is on disk
// ("arcavell", or "arcavell.bin" when renamed so).
QString ExeFile();
void SetExeFile(const QString& fileName);

// The application's title, shown as the caption of message boxes: the
// executable's name with a capital first letter.
QString Title();

// The command line after the program's own name, arguments joined by blanks.
QString Command();
void SetCommand(const QString& command);

// Takes the program folder, name and command line from the running process.
void InitFromProcess();
} // namespace App
