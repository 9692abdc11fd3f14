#include "text/valuelimits.h"

const int Line_Value_Max_Length = 4096;
const int Text_Value_Max_Length = 256 * 1024;

namespace
{
// How much of a long value a message shows.
const int Shown_Length = 200;

QString Escaped(QChar character)
{
    return "\\x" + QString("%1").arg(character.unicode(), 2, 16, QChar('0')).toUpper();
}

QString Too_Long(int length, int bound)
{
    return QString("is %1 characters long, more than the %2 allowed").arg(length).arg(bound);
}
}

bool Is_Control_Character(QChar character)
{
    return character.category() == QChar::Other_Control;
}

bool Has_Control_Character(const QString& text, const QString& allowed)
{
    for (const QChar character : text)
        if (Is_Control_Character(character) && !allowed.contains(character))
            return true;
    return false;
}

QString Line_Value_Problem(const QString& value)
{
    if (value.size() > Line_Value_Max_Length)
        return Too_Long(value.size(), Line_Value_Max_Length);
    if (Has_Control_Character(value))
        return "holds a line break or another control character: '" + Shown_Value(value) + "'";
    return QString();
}

QString Text_Value_Problem(const QString& text, const QString& also_allowed)
{
    if (text.size() > Text_Value_Max_Length)
        return Too_Long(text.size(), Text_Value_Max_Length);
    if (Has_Control_Character(text, "\n\t" + also_allowed))
        return "holds a control character other than a line feed or a tab: '" +
               Shown_Value(text) + "'";
    return QString();
}

QString Shown_Value(const QString& value)
{
    QString shown;
    for (const QChar character : value.left(Shown_Length))
        shown += Is_Control_Character(character) ? Escaped(character) : QString(character);
    if (value.size() > Shown_Length)
        shown += QString("... (%1 characters)").arg(value.size());
    return shown;
}
