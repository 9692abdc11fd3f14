#ifndef PLUGINCHOICE_H
#define PLUGINCHOICE_H

#include <QSet>
#include <QString>
#include <QStringList>

#include "libraries/detectionchoices.h"

// Which plug-ins of a Qt installation go into a bundle, from the families
// detection takes for the program's Qt libraries and the user's "with" and
// "without" lists. A file entry weighs more than a family entry; between
// entries of the same weight, "with" wins. So "--without-plugins imageformats
// --with-plugins imageformats/libqsvg.so" keeps only the SVG image format,
// and "--with-plugins sqldrivers" takes every SQL driver, not only SQLite.
class TPluginChoice
{
public:
    explicit TPluginChoice(const TDetectionChoices& choices);

    // Whether `file_name` of the family `family` is taken; `detected` tells
    // that the family was taken for one of the program's Qt libraries.
    bool Takes(const QString& family, const QString& file_name, bool detected) const;

    // The families named in the "with" list, in its order: looked into even
    // when no Qt library of the program takes them.
    QStringList Wanted_Families() const;

    // The plug-in entries of both lists that name nothing in the installation
    // whose plug-in folder is `plugins_folder`: a missing family or file, or
    // an entry that is not "<family>" or "<family>/<file>".
    QStringList Unmatched(const QString& plugins_folder) const;

private:
    const TDetectionChoices d_choices;
    const QSet<QString> d_with;
    const QSet<QString> d_without;
};

#endif
