#pragma once
#include <QString>

// Start with the desktop session: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/<name>.desktop (~/.config/autostart by
// default). The entry's presence means that the program starts with the
// session, unless the desktop's settings have switched it off.
namespace Autostart {
QString EntryPath(const QString& name);
// True when the entry is there and not switched off (Hidden=true or
// X-GNOME-Autostart-enabled=false): a switched-off entry counts as absent.
// So does an entry that is no regular file (a pipe, a device, a folder, a
// link that leads nowhere) or that cannot be read; it is never waited on.
bool EntryExists(const QString& name);

// What became of a change of the entry: error is 0 on success, else the
// system's error number, found while opening (creating) the autostart
// folder or while writing or removing the entry. A program path that an
// entry cannot hold is refused with EINVAL and a reason, and so is an entry
// that is no regular file, which is left as it is.
struct Result {
    int error = 0;
    bool whileOpening = false;
    QString reason;
};

// Writes the entry so that the session runs program (a full path) with the
// arguments, which must need no quoting.
Result Write(const QString& name, const QString& program, const QString& arguments);
// Removes the entry; an entry that is not there, or counts as switched
// off, is left alone and is no failure.
Result Remove(const QString& name);

// The Exec line's text for a program path: quoted and escaped as desktop
// entries require.
QString ExecCommand(const QString& program, const QString& arguments);
} // namespace Autostart
