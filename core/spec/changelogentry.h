#ifndef CHANGELOGENTRY_H
#define CHANGELOGENTRY_H

#include <QDate>
#include <QString>

// A day as the change log of a spec file writes it, "Mon Dec 07 2026": in
// English whatever the user's locale, as RPM reads only that.
QString Change_Log_Date(const QDate& date);

// The first line of a new change-log entry:
// "* <date> <packager> - <version-release>". Without a packager the date is
// followed directly by " - <version-release>"; either way RPM finds a name
// after the date.
QString Change_Log_Entry_Head(const QDate& date, const QString& packager,
                              const QString& version_release);

// Where a new entry goes into a change log, and what is inserted there: the
// head line, a line "- " to type the first change on, and an empty line
// before the older entries.
struct TChangeLogInsertion
{
    int Position;  // in characters from the start of the log
    QString Text;
    int Cursor;  // after the "- ", in characters from the start of the log
};

// New entries go on top of the older ones, below the comment lines ("#")
// that open the log.
TChangeLogInsertion Change_Log_Insertion(const QString& log, const QString& head);

#endif
