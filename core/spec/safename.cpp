#include "spec/safename.h"

#include <QStringList>

#include <algorithm>

namespace
{
bool Is_Safe_Character(QChar character)
{
    const char16_t code = character.unicode();
    return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
           (code >= '0' && code <= '9') || QStringLiteral("._+-,@").contains(character);
}
}

bool Is_Safe_Name(const QString& name)
{
    return Unsafe_Name_Reason(name).isEmpty();
}

QString Unsafe_Name_Reason(const QString& name)
{
    if (name.isEmpty())
        return QStringLiteral("must not be empty");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("must not be \".\" or \"..\"");
    for (const QChar character : name)
    {
        if (!Is_Safe_Character(character))
            return QStringLiteral("may hold only letters, digits and . _ + - , @");
    }
    return QString();
}

bool Is_Safe_Module_Path(const QString& path)
{
    const QStringList components = path.split('/');
    return std::all_of(components.begin(), components.end(),
                       [](const QString& component) { return Is_Safe_Name(component); });
}
