#include "libraries/pluginfamilies.h"

#include <QRegularExpression>

namespace
{
struct TRow
{
    const char* Key;
    const char* Values;  // separated by spaces
};

const char* const Gui_Families =
    "platforms platforminputcontexts xcbglintegrations imageformats iconengines";

// Qt Svg's own plug-ins are the SVG icon engine and image format, which a Gui
// program loads without linking Qt Svg; they bring Qt Svg along themselves.
const TRow Families[] = {
    {"libQt5Gui.so", Gui_Families},
    {"libQt6Gui.so", Gui_Families},
    {"libQt5Svg.so", "iconengines imageformats"},
    {"libQt6Svg.so", "iconengines imageformats"},
    {"libQt5Network.so", "bearer"},
    {"libQt6Network.so", "tls networkinformation"},
    {"libQt5Sql.so", "sqldrivers"},
    {"libQt6Sql.so", "sqldrivers"},
    {"libQt5PrintSupport.so", "printsupport"},
    {"libQt6PrintSupport.so", "printsupport"},
    {"libQt5Multimedia.so", "mediaservice audio playlistformats"},
    {"libQt6Multimedia.so", "multimedia"},
    {"libQt5Positioning.so", "position"},
    {"libQt6Positioning.so", "position"},
    {"libQt5Sensors.so", "sensors"},
    {"libQt6Sensors.so", "sensors"},
    {"libQt5TextToSpeech.so", "texttospeech"},
    {"libQt6TextToSpeech.so", "texttospeech"},
    {"libQt5Quick.so", "scenegraph"},
    {"libQt6Quick.so", "scenegraph"},
};

// The families of which only some files go along by default. The other
// platforms are for embedded, remote and test use; the other SQL drivers
// pull in the client libraries of servers a program may never use.
const TRow Default_Files[] = {
    {"platforms", "libqxcb.so libqwayland*"},
    {"sqldrivers", "libqsqlite.so"},
};

// OpenSSL, which Qt 5's Network and Qt 6's TLS back-end open by name.
const TRow Opened_Libraries[] = {
    {"libQt5Network.so", "libssl.so libcrypto.so"},
    {"libqopensslbackend.so", "libssl.so libcrypto.so"},
};

template <std::size_t Size>
QStringList Values_For(const TRow (&rows)[Size], const QString& name)
{
    for (const TRow& row : rows)
    {
        if (name.startsWith(QLatin1String(row.Key)))
            return QString::fromLatin1(row.Values).split(' ');
    }
    return QStringList();
}
}

QStringList Plugin_Families(const QString& library_name)
{
    return Values_For(Families, library_name);
}

bool Is_Default_Plugin(const QString& family, const QString& file_name)
{
    for (const TRow& row : Default_Files)
    {
        if (family != QLatin1String(row.Key))
            continue;
        for (const QString& pattern : QString::fromLatin1(row.Values).split(' '))
        {
            const QRegularExpression files(QRegularExpression::wildcardToRegularExpression(pattern));
            if (files.match(file_name).hasMatch())
                return true;
        }
        return false;
    }
    return true;
}

QStringList Run_Time_Libraries(const QString& file_name)
{
    return Values_For(Opened_Libraries, file_name);
}
