#include "plainname.h"

#include <QRegularExpression>

bool Is_Plain_File_Name(const QString& name)
{
    static const QRegularExpression plain("^[A-Za-z0-9._+,@-]+$");
    return name != "." && name != ".." && plain.match(name).hasMatch();
}
