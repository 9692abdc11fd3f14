#include "windowgeometry.h"

QRect Default_Window_Geometry()
{
    return QRect(30, 30, 1000, 800);
}

QRect Restored_Window_Geometry(const QRect& stored, const QRect& available)
{
    const QRect visible = stored.intersected(available);
    if (!visible.isEmpty() && visible.right() - visible.left() >= 500
        && visible.bottom() - visible.top() >= 500)
        return visible;
    return Default_Window_Geometry();
}
