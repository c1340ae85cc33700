#pragma once

#include <QStringList>

// Where the filter dialogs keep the option sets the operator saved: per
// screen code, each set under the name the operator gave it, as the lines of
// the dialog's options list. Kept in an INI file of the operator's own
// settings (QSettings, user scope), or in the file set with setFileName.
// Failures to write are the settings system's: nothing is thrown.
namespace SavedOptions {

// Redirects the store to one INI file (tests, or a shared profile); the empty
// text goes back to the operator's own settings.
void setFileName(const QString &file);

// The names of the sets saved for `screenCode`, sorted.
QStringList names(const QString &screenCode);
// Saves (or replaces) the set `name` of `screenCode`.
void save(const QString &screenCode, const QString &name, const QStringList &lines);
// The lines of a saved set. Throws std::runtime_error, for the operator, when
// no set of that name is saved for the screen.
QStringList load(const QString &screenCode, const QString &name);

} // namespace SavedOptions
