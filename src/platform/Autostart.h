#pragma once
#include <QString>

// Start with the desktop session: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/<name>.desktop (~/.config/autostart by
// default). The entry's presence alone means that the program starts with
// the session.
namespace Autostart {
QString EntryPath(const QString& name);
bool EntryExists(const QString& name);

// What became of a change of the entry: error is 0 on success, else the
// system's error number, found while opening (creating) the autostart
// folder or while writing or removing the entry.
struct Result {
    int error = 0;
    bool whileOpening = false;
};

// Writes the entry so that the session runs folder/name with the arguments.
Result Write(const QString& name, const QString& folder, const QString& arguments);
// Removes the entry; an entry that is not there is no failure.
Result Remove(const QString& name);

// The Exec line's text for a program path: quoted and escaped as desktop
// entries require.
QString ExecCommand(const QString& program, const QString& arguments);
} // namespace Autostart
