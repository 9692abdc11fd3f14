#ifndef FILENAMES_H
#define FILENAMES_H

#include <QString>

// `file_name` ending in `suffix`: the suffix is added unless the name already
// ends with it in any letter case.
QString With_Suffix(const QString& file_name, const QString& suffix);

// The folder part of `file_name` (before its last "/"), or an empty string
// when it has none.
QString Folder_Of(const QString& file_name);

#endif
