#include "progressrun.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QThreadPool>

#include "dialogplacement.h"

TProgressRun::TProgressRun(QWidget* window, const QString& title)
    : d_dialog(new QProgressDialog(window))
{
    d_dialog->setObjectName("progress");
    d_dialog->setWindowTitle(title);
    d_dialog->setLabelText(title);
    d_dialog->setWindowModality(Qt::WindowModal);
    d_dialog->setRange(0, 0);
    d_dialog->setAutoClose(false);
    d_dialog->setAutoReset(false);
    d_dialog->setMinimumWidth(500);
    QObject::connect(d_dialog, &QProgressDialog::canceled, [this] { d_cancelled = true; });
}

TProgressRun::~TProgressRun()
{
    delete d_dialog;
}

// Messages to the dialog are queued to the GUI thread; those still queued
// when the dialog goes are dropped with it.
void TProgressRun::Run(const std::function<void(const TBundleProgress&)>& work)
{
    const TBundleProgress progress = [this](const QString& file) {
        QProgressDialog* dialog = d_dialog;
        QMetaObject::invokeMethod(
            dialog, [dialog, file] { dialog->setLabelText(file); }, Qt::QueuedConnection);
        return !d_cancelled;
    };
    QEventLoop loop;
    QThreadPool::globalInstance()->start([&work, &progress, &loop] {
        work(progress);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    d_dialog->show();
    Place_Over_Parent(d_dialog);
    loop.exec();
    d_dialog->hide();
}
