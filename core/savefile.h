#ifndef SAVEFILE_H
#define SAVEFILE_H

#include <QString>

// Replaces the file `file_name` by `text` in UTF-8, all or nothing: the text
// goes to a temporary file beside it that takes the file's place only once
// fully written. On failure no partial file is left, an earlier file of that
// name is unchanged, `*error` receives a message and false is returned.
bool Save_Text_File(const QString& file_name, const QString& text, QString* error);

// True when Save_Text_File could replace `file_name` now. Neither creates
// nor changes that file; otherwise `*error` receives the same message as a
// failed save.
bool Can_Save_Text_File(const QString& file_name, QString* error);

#endif
