#ifndef APPLICATIONICON_H
#define APPLICATIONICON_H

#include <QIcon>

// The editor's icon in every size drawn for it: the window's icon, and the
// same pictures the installation puts into the desktop's icon theme.
QIcon Application_Icon();

#endif
