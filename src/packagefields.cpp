// What the Build Package window starts from: the program Detect applied,
// with the source folder its build folder names, or the fields of the last
// build.

#include "kestrelvantory.h"

#include "package/sourceguess.h"

void TKestrelvantory::Use_Detected_Program(const QString& program)
{
    d_package_program = program;
    const QString source = Guessed_Source_Folder(program);
    if (!source.isEmpty())
        d_package_source = source;
}

void TKestrelvantory::Remember_Package_Fields(const QString& program, const QString& source)
{
    d_package_program = program;
    d_package_source = source;
}
