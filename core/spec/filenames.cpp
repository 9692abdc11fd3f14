#include "spec/filenames.h"

QString With_Suffix(const QString& file_name, const QString& suffix)
{
    if (file_name.endsWith(suffix, Qt::CaseInsensitive))
        return file_name;
    return file_name + suffix;
}

QString Folder_Of(const QString& file_name)
{
    const int slash = file_name.lastIndexOf('/');
    return slash < 0 ? QString() : file_name.left(slash);
}
