#ifndef DATAFOLDER_H
#define DATAFOLDER_H

#include <QString>

// The per-user folder that holds "settings.ini" and the panels' defaults.
struct TDataFolder
{
    QString Path;      // absolute, never ending in "/"
    bool Is_Fallback;  // ".kestrelvantory" could neither be found nor made
};

// Where ".kestrelvantory" is in `home`, whether or not it exists.
QString Default_Data_Folder(const QString& home);

// Finds or makes ".kestrelvantory" in `home`. When that fails, a writable
// folder elsewhere is used so that defaults can still be loaded and saved.
TDataFolder Open_Data_Folder(const QString& home);

#endif
