#include "virtualdisplay.h"

#include <QStandardPaths>

namespace Test
{
TVirtualDisplay::TVirtualDisplay()
{
    d_server.setStandardErrorFile(QProcess::nullDevice());
    d_server.start(QStandardPaths::findExecutable("Xvfb"),
                   {"-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "640x480x24"});
    while (d_server.waitForReadyRead(10000) && !d_server.canReadLine())
        ;
    d_number = QString::fromLatin1(d_server.readLine()).trimmed();
}

TVirtualDisplay::~TVirtualDisplay()
{
    d_server.terminate();
    d_server.waitForFinished(10000);
}

QString TVirtualDisplay::Display() const
{
    return d_number.isEmpty() ? QString() : ":" + d_number;
}
}
