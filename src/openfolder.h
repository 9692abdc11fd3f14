#ifndef OPENFOLDER_H
#define OPENFOLDER_H

#include <QString>

class QWidget;

// Shows `folder` in the user's file manager. Where none can be started, a
// message over `parent` says where the folder is and offers to copy its
// path; false then.
bool Open_Folder(QWidget* parent, const QString& folder);

#endif
