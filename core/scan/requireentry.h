#ifndef REQUIREENTRY_H
#define REQUIREENTRY_H

#include <QString>
#include <QStringList>

#include <vector>

// One package the application needs, with the library files that led to it.
struct TRequireEntry
{
    QString Package;
    QStringList Libraries;
};

using TRequireEntries = std::vector<TRequireEntry>;

#endif
