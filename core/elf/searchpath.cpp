#include "searchpath.h"

#include <QSet>

namespace
{
bool Is_Name_Character(char character)
{
    return (character >= 'a' && character <= 'z') || (character >= 'A' && character <= 'Z') ||
           (character >= '0' && character <= '9') || character == '_';
}

// Length of "$ORIGIN" or "${ORIGIN}" at `at` (which holds "$"), or 0.
int Origin_Token_Length(const QByteArray& text, int at)
{
    const QByteArray rest = text.mid(at + 1);
    if (rest.startsWith("{ORIGIN}"))
        return 9;
    if (rest.startsWith("ORIGIN") && (rest.size() == 6 || !Is_Name_Character(rest.at(6))))
        return 7;
    return 0;
}

bool Substituted(const QByteArray& list, const QByteArray& origin, QByteArray* result)
{
    result->clear();
    for (int at = 0; at < list.size(); ++at)
    {
        if (list.at(at) != '$')
        {
            result->append(list.at(at));
            continue;
        }
        const int length = Origin_Token_Length(list, at);
        if (length == 0)
            return false;
        result->append(origin);
        at += length - 1;
    }
    return true;
}

QByteArray Folder(QByteArray element)
{
    while (element.size() > 1 && element.endsWith('/'))
        element.chop(1);
    if (element.isEmpty())
        return "./";
    return element.endsWith('/') ? element : element + '/';
}
}

QByteArray Origin_Of(const QByteArray& path, const QByteArray& current_folder)
{
    QByteArray full = path;
    if (!path.startsWith('/'))
        full = (current_folder.endsWith('/') ? current_folder : current_folder + '/') + path;
    const int slash = full.lastIndexOf('/');
    return slash == 0 ? QByteArray("/") : full.left(slash);
}

bool Search_Folders(const QByteArray& list, const QByteArray& separators,
                    const QByteArray& origin, QList<QByteArray>* folders)
{
    folders->clear();
    QByteArray expanded;
    if (!Substituted(list, origin, &expanded))
        return false;
    if (expanded.isEmpty())
        return true;
    // Folders met before are looked up, not searched for: a list may hold
    // thousands of them.
    QSet<QByteArray> listed;
    QByteArray element;
    for (int at = 0; at <= expanded.size(); ++at)
    {
        if (at < expanded.size() && !separators.contains(expanded.at(at)))
        {
            element.append(expanded.at(at));
            continue;
        }
        const QByteArray folder = Folder(element);
        if (!listed.contains(folder))
        {
            listed.insert(folder);
            folders->append(folder);
        }
        element.clear();
    }
    return true;
}
