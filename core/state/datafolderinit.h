#ifndef DATAFOLDERINIT_H
#define DATAFOLDERINIT_H

#include <QString>

// Starts a data folder without the editor: writes every panel's file into
// `folder` with the factory contents the editor starts with, making the
// folder if needed. A folder that already holds any file of a data folder
// is refused, and nothing is written. False with the reason in `error`
// when refused or when a file cannot be written.
bool Init_Data_Folder(const QString& folder, QString* error);

#endif
