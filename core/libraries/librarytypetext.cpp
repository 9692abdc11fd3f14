#include "libraries/librarytypetext.h"

namespace
{
const QString File_Dylib = "DYLIB";
const QString File_Plugin = "PLUGIN";
}

QString Library_Type_File_Text(TTypes::TLibraryType type)
{
    return type == TTypes::Library_Dylib ? File_Dylib : File_Plugin;
}

TTypes::TLibraryType Library_Type_From_File_Text(const QString& text)
{
    return text == File_Dylib ? TTypes::Library_Dylib : TTypes::Library_Plugin;
}
