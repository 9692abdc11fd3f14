#include "applicationicon.h"

QIcon Application_Icon()
{
    QIcon icon;
    for (const char* size : {"48", "128", "256"})
        icon.addFile(QString(":/icons/kestrelvantory_%1.png").arg(size));
    return icon;
}
