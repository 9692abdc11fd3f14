#ifndef LIBRARYTREETEXT_H
#define LIBRARYTREETEXT_H

#include <QString>

#include "types.h"

// How a library type is shown in the library tree: "Dylib", "Plugin" or
// "QML module".
QString Library_Type_Tree_Text(TTypes::TLibraryType type);

// A dynamic library exactly for "Dylib", a QML module exactly for "QML
// module"; any other text is a plug-in.
TTypes::TLibraryType Library_Type_From_Tree_Text(const QString& text);

#endif
