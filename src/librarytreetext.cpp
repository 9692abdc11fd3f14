#include "librarytreetext.h"

namespace
{
const QString Tree_Dylib = "Dylib";
const QString Tree_Plugin = "Plugin";
const QString Tree_Qml_Module = "QML module";
}

QString Library_Type_Tree_Text(TTypes::TLibraryType type)
{
    switch (type)
    {
    case TTypes::Library_Dylib:
        return Tree_Dylib;
    case TTypes::Library_Qml_Module:
        return Tree_Qml_Module;
    case TTypes::Library_Plugin:
        break;
    }
    return Tree_Plugin;
}

TTypes::TLibraryType Library_Type_From_Tree_Text(const QString& text)
{
    if (text == Tree_Dylib)
        return TTypes::Library_Dylib;
    return text == Tree_Qml_Module ? TTypes::Library_Qml_Module : TTypes::Library_Plugin;
}
