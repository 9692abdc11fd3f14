#ifndef DISTRIBUTIONRELEASES_H
#define DISTRIBUTIONRELEASES_H

#include <QString>
#include <QStringList>

#include <vector>

// A distribution release, by the newest symbol versions its C library and
// its C++ library offer: "2.34" for GLIBC_2.34, "3.4.29" for GLIBCXX_3.4.29,
// "1.3.13" for CXXABI_1.3.13.
struct TDistributionRelease
{
    QString Name;   // as the report names it: "RHEL 9 and its rebuilds"
    QString Short;  // as a sentence about it names it: "RHEL 9"
    QString Glibc;
    QString Glibcxx;
    QString Cxxabi;
};

// The current releases of the distributions a bundled program is made for.
const std::vector<TDistributionRelease>& Distribution_Releases();

// Why `release` cannot meet `requirements` (as "rpm -q --requires" lists
// them), by the first of its libraries that falls short, C before C++: the
// newest symbol version needed and the newest there, such as "needs
// GLIBCXX_3.4.30; RHEL 9 has up to 3.4.29". Empty when it meets them all.
// Only the symbol versions of the C and C++ libraries are compared.
QString Missing_Capability(const QStringList& requirements, const TDistributionRelease& release);

// The report on `requirements` against `releases`: one line naming those
// that meet them, then one line for each that does not, with its reason.
QStringList Where_It_Installs(const QStringList& requirements,
                              const std::vector<TDistributionRelease>& releases =
                                  Distribution_Releases());

#endif
