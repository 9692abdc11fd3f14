#ifndef PACKAGER_H
#define PACKAGER_H

#include <QString>

class QSettings;

// Who packages, for new change-log entries and the spec's "Packager:" tag:
// "Name <mail>" from git's "user.name" and "user.email" as far as they are
// set, else the login name.
QString Default_Packager();

// The packager kept in the editor's settings, also when it was cleared;
// Default_Packager() until one is kept.
QString Stored_Packager(const QSettings& settings);

// The key of the packager in the editor's settings.
extern const char* const Packager_Settings_Key;

#endif
