#ifndef DETECTIONCHOICES_H
#define DETECTIONCHOICES_H

#include <QString>
#include <QStringList>

// What the user decided beyond what detection finds by itself, kept with the
// libraries. A plug-in entry is a family folder such as "sqldrivers" or one
// file such as "imageformats/libqwebp.so"; a library is the path of a
// library the program opens itself (dlopen, QLibrary).
struct TDetectionChoices
{
    QStringList With_Plugins;
    QStringList Without_Plugins;
    QStringList With_Libraries;

    bool Is_Empty() const
    {
        return With_Plugins.isEmpty() && Without_Plugins.isEmpty() && With_Libraries.isEmpty();
    }
    bool operator==(const TDetectionChoices& other) const
    {
        return With_Plugins == other.With_Plugins && Without_Plugins == other.Without_Plugins &&
               With_Libraries == other.With_Libraries;
    }
};

// Whether a "with" entry names a library of the Libraries panel as
// "<target>/<file>", as the editor adds the ones the user checks by hand.
bool Is_Listed_Library_Entry(const QString& entry);

// `stored` with `given` on top: an entry given in one list leaves the other
// list of `stored`; entries already there are not repeated.
TDetectionChoices Merged_Choices(const TDetectionChoices& stored,
                                 const TDetectionChoices& given);

// "a, b,c" as its entries, without blanks and empty entries.
QStringList Choice_List(const QString& text);

#endif
