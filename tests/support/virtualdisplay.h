#ifndef VIRTUALDISPLAY_H
#define VIRTUALDISPLAY_H

#include <QProcess>
#include <QString>

namespace Test
{
// An X server (Xvfb) for as long as it lives, on a display number it picks
// itself. It also listens on an abstract socket, which a chroot leaves in
// sight, so programs in an install root can use it.
class TVirtualDisplay
{
public:
    TVirtualDisplay();
    ~TVirtualDisplay();

    // ":N", or empty when the server did not start.
    QString Display() const;

private:
    QProcess d_server;
    QString d_number;
};
}

#endif
