#ifndef LIBRARYTYPETEXT_H
#define LIBRARYTYPETEXT_H

#include <QString>

#include "types.h"

// How a library type is stored in "libraries.xml": "DYLIB" or "PLUGIN".
QString Library_Type_File_Text(TTypes::TLibraryType type);

// A dynamic library exactly for "DYLIB"; any other text is a plug-in.
TTypes::TLibraryType Library_Type_From_File_Text(const QString& text);

#endif
