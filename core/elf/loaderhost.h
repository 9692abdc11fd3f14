#ifndef LOADERHOST_H
#define LOADERHOST_H

#include <QByteArray>
#include <QList>
#include <QString>

#include "ldcache.h"

// The host's dynamic loader: which files it can load, and the folders it
// searches when a library is neither found through a program's own search
// paths nor in its cache.
struct TLoaderHost
{
    QString Error;  // why the loader could not be examined; empty when it was

    QByteArray Interpreter;  // e.g. "/lib64/ld-linux-x86-64.so.2"
    QByteArray Interpreter_Soname;
    int Class = 0;
    bool Little_Endian = true;
    quint16 Machine = 0;
    TLdCache::TKind Cache_Kind;

    bool Knows_Search_Folders = false;
    QList<QByteArray> System_Folders;  // each ending in "/", in search order
    // Subfolders the loader tries first in every folder it searches.
    QList<QByteArray> Feature_Subfolders;
};

// Examined once per process: the loader that runs this program, and what it
// tells about itself with "--help".
const TLoaderHost& Loader_Host();

// Takes the search folders and feature subfolders from the loader's "--help"
// text; without its search-path section, Knows_Search_Folders stays false.
void Read_Loader_Help(const QString& help, TLoaderHost* host);

#endif
