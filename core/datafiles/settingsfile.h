#ifndef SETTINGSFILE_H
#define SETTINGSFILE_H

#include <QString>
#include <QVariantMap>

class QSettings;

// The key of the shared-libraries folder in "settings.ini".
extern const char* const Shared_Libs_Path_Key;

// The shared-libraries folder kept in `settings`: the home folder until one
// is kept.
QString Stored_Shared_Libs_Path(const QSettings& settings);

// Replaces the settings file `file_name` by one holding exactly `values`,
// in QSettings' INI format, all or nothing as Save_Bytes_File saves.
// (QSettings' own writing puts a cut file in place of the old one when the
// disk is full, and reports success.) On failure `*reason` says why.
bool Save_Settings_File(const QString& file_name, const QVariantMap& values, QString* reason);

#endif
