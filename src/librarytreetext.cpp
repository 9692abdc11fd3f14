#include "librarytreetext.h"

namespace
{
const QString Tree_Dylib = "Dylib";
const QString Tree_Plugin = "Plugin";
}

QString Library_Type_Tree_Text(TTypes::TLibraryType type)
{
    return type == TTypes::Library_Dylib ? Tree_Dylib : Tree_Plugin;
}

TTypes::TLibraryType Library_Type_From_Tree_Text(const QString& text)
{
    return text == Tree_Dylib ? TTypes::Library_Dylib : TTypes::Library_Plugin;
}
