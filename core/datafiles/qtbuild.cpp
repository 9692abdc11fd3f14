#include "datafiles/qtbuild.h"

#include <QRegularExpression>

const char* const System_Qt_Prefix = "/usr";

bool Is_Plain_Qt_Prefix(const QString& prefix)
{
    static const QRegularExpression plain("^/[A-Za-z0-9/._+-]*$");
    return prefix.isEmpty() || plain.match(prefix).hasMatch();
}
