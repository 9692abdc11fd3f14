#include "state/createrequirements.h"

#include "scan/requirelist.h"

bool Create_Rescans_Requirements(TTypes::TOptionRequies mode)
{
    return mode == TTypes::Requires_Auto_Update;
}

QStringList Create_Required_Packages(TTypes::TOptionRequies mode, const TRequireEntries& list)
{
    if (mode == TTypes::Requires_Ignored)
        return QStringList();
    return Package_Names(list);
}
