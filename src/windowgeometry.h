#ifndef WINDOWGEOMETRY_H
#define WINDOWGEOMETRY_H

#include <QRect>

// Where the main window opens: the part of the stored rectangle that lies on
// the screen's available area, when that part is at least 501 pixels wide and
// high; otherwise 1000 x 800 at (30, 30).
QRect Restored_Window_Geometry(const QRect& stored, const QRect& available);

QRect Default_Window_Geometry();

#endif
