#include "spec/changelogentry.h"

#include <QLocale>

QString Change_Log_Date(const QDate& date)
{
    return QLocale::c().toString(date, "ddd MMM dd yyyy");
}

QString Change_Log_Entry_Head(const QDate& date, const QString& packager,
                              const QString& version_release)
{
    QString head = "* " + Change_Log_Date(date);
    if (!packager.simplified().isEmpty())
        head += " " + packager.simplified();
    return (head + " - " + version_release.simplified()).trimmed();
}

TChangeLogInsertion Change_Log_Insertion(const QString& log, const QString& head)
{
    int position = 0;
    while (position < log.size() && log.at(position) == '#')
    {
        const int line_end = log.indexOf('\n', position);
        position = line_end < 0 ? log.size() : line_end + 1;
    }
    // A log of comment lines alone may lack the last line feed.
    const QString separator = position > 0 && log.at(position - 1) != '\n' ? "\n" : "";
    const QString first_line = separator + head + "\n- ";
    return {position, first_line + "\n\n", position + first_line.size()};
}
