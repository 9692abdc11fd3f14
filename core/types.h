#ifndef TYPES_H
#define TYPES_H

// Small enumerations shared by the panels, the spec writer and the project
// file. Their values are stored as int; with int as their underlying type an
// unknown number is still a value of the type, not undefined behaviour.
namespace TTypes
{
enum TLibraryType : int
{
    Library_Dylib = 0,
    Library_Plugin = 1,
    Library_Qml_Module = 2  // a QML module folder, such as "QtQuick/Controls.2"
};

// What a target holds: files in one folder, or QML module folders installed
// whole, each with everything below it.
enum TTargetKind : int
{
    Target_Files = 0,
    Target_Qml_Modules = 1
};

enum TEditorType : int
{
    Editor_Add_Target = 0,
    Editor_Add_Library = 1,
    Editor_Edit_Library = 2,
    Editor_Edit_Library_Version = 3
};

enum TOptionMakeGenerator : int
{
    Generator_QMake = 0,
    Generator_CMake = 1
};

enum TOptionRequies : int
{
    Requires_Auto_Update = 0,
    Requires_Manual_Update = 1,
    Requires_Ignored = 2
};
}

#endif
