#include "spec/rpmfields.h"

#include "text/valuelimits.h"

namespace
{
bool Is_Ascii_Letter_Or_Digit(QChar character)
{
    const char16_t code = character.unicode();
    return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
           (code >= '0' && code <= '9');
}

QString Problem(const QString& value, const QString& allowed, const QString& allowed_first)
{
    if (value.isEmpty())
        return "is empty";
    for (int index = 0; index < value.size(); ++index)
    {
        const QChar character = value.at(index);
        if (Is_Ascii_Letter_Or_Digit(character))
            continue;
        if (index == 0 && !allowed_first.contains(character))
            return QString("begins with \"%1\", which rpmbuild refuses there (it takes a letter, "
                           "a digit or \"%2\")")
                .arg(Shown_Value(character), allowed_first);
        if (!allowed.contains(character))
            return QString("holds \"%1\", which rpmbuild refuses (it takes letters, digits and "
                           "\"%2\")")
                .arg(Shown_Value(character), allowed);
    }
    if (value.contains(".."))
        return "holds \"..\", which rpmbuild refuses";
    return QString();
}
}

QString Rpm_Name_Problem(const QString& name)
{
    return Problem(name, "._+-", "_");
}

QString Rpm_Version_Problem(const QString& version)
{
    return Problem(version, "._+~^", "._+~^");
}
