#ifndef LIVEPREFLIGHT_H
#define LIVEPREFLIGHT_H

#include <QFutureWatcher>
#include <QObject>
#include <QStringList>

#include <optional>

#include "package/packageplan.h"

// What the preflight found for one request.
struct TPreflightFindings
{
    QStringList Problems;
    QStringList Warnings;
};
Q_DECLARE_METATYPE(TPreflightFindings)

// Runs the preflight off the GUI thread each time it is asked to, one run at
// a time: a request made while a run goes on is served once it has ended,
// and only the newest of such requests.
class TLivePreflight : public QObject
{
    Q_OBJECT

public:
    explicit TLivePreflight(QObject* parent);
    ~TLivePreflight() override;

    void Check(const TPackageRequest& request);

signals:
    void Checked(const TPreflightFindings& findings);

private:
    void Start(const TPackageRequest& request);
    void Ended();

    QFutureWatcher<TPreflightFindings> d_watcher;
    std::optional<TPackageRequest> d_waiting;
};

#endif
