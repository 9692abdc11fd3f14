#ifndef PACKAGER_H
#define PACKAGER_H

#include <QString>

// Who packages, for new change-log entries: "Name <mail>" from git's
// "user.name" and "user.email" as far as they are set, else the login name.
QString Default_Packager();

#endif
