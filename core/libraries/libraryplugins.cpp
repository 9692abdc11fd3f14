#include "libraries/libraryplugins.h"

namespace
{
struct TPluginSuggestion
{
    const char* Key;
    const char* Plugins;
};

// No key is the beginning of another, so at most one row fits a name.
const TPluginSuggestion Suggestions[] = {
    {"libQt5Gui.so", "platforms, platforminputcontexts"},
    {"libQt6Gui.so", "platforms, platforminputcontexts, virtualkeyboard"},
    {"libQt5OpenGL.so", "xcbglintegrations"},
    {"libQt6OpenGL.so", "xcbglintegrations"},
    {"libQt5XcbQpa.so", "xcbglintegrations"},
    {"libQt6XcbQpa.so", "xcbglintegrations"},
    {"libQt5Svg.so", "iconengines"},
    {"libQt6Svg.so", "iconengines"},
    {"libQt5PrintSupport.so", "printsupport"},
    {"libQt6PrintSupport.so", "printsupport"},
    {"libQt5Network.so", "bearer"},
    {"libQt6Network.so", "networkaccess, networkinformation, tls"},
    {"libQt5Sql.so", "sqldrivers"},
    {"libQt6Sql.so", "sqldrivers"},
    {"libQt5Positioning.so", "position"},
    {"libQt6Positioning.so", "position"},
    {"libQt5Multimedia.so", "audio, mediaservice"},
    {"libQt6Multimedia.so", "multimedia"},
    {"libQt63DRender.so", "geometryloaders, renderers, renderplugins, sceneparsers"},
    {"libQt6Sensors.so", "sensorgestures sensors"},
    {"libQt6SerialBus.so", "canbus"},
    {"libQt6TextToSpeech.so", "texttospeech"},
    {"libQt6Location.so", "geoservices"},
    {"libQt5Quick.so", "scenegraph"},
    {"libQt6Quick.so", "qmltooling, scenegraph"},
    {"Qt6Declarative.so", "qmltooling, scenegraph"},
    {"libQt6Gamepad.so", "gamepads"},
    {"libQt6WebView.so", "webview"},
};
}

QString Suggested_Plugins(const QString& library_name)
{
    for (const TPluginSuggestion& suggestion : Suggestions)
    {
        if (library_name.startsWith(QLatin1String(suggestion.Key), Qt::CaseSensitive))
            return QString::fromLatin1(suggestion.Plugins);
    }
    return QString();
}
