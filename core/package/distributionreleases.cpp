#include "package/distributionreleases.h"

#include <QRegularExpression>
#include <QVector>

#include <algorithm>

namespace
{
// The libraries compared, in the order they are reported, with the part of
// a release that tells what it offers.
struct TFamily
{
    QString Prefix;  // of the symbol versions: "GLIBCXX_"
    QString TDistributionRelease::*Offered;
};

const std::vector<TFamily>& Families()
{
    static const std::vector<TFamily> families = {
        {"GLIBC_", &TDistributionRelease::Glibc},
        {"GLIBCXX_", &TDistributionRelease::Glibcxx},
        {"CXXABI_", &TDistributionRelease::Cxxabi}};
    return families;
}

// Symbol versions of the C library that name a feature instead of a
// release, with the release that brought it.
const QString Dt_Relr = "GLIBC_ABI_DT_RELR";
const QString Dt_Relr_Release = "2.36";

QVector<int> Numbers(const QString& version)
{
    QVector<int> numbers;
    for (const QString& part : version.split('.'))
        numbers.append(part.toInt());
    return numbers;
}

bool Is_Newer(const QString& version, const QString& than)
{
    const QVector<int> older = Numbers(than);
    const QVector<int> newer = Numbers(version);
    return std::lexicographical_compare(older.begin(), older.end(), newer.begin(), newer.end());
}

// The symbol version a requirement names, such as "GLIBCXX_3.4.30" in
// "libstdc++.so.6(GLIBCXX_3.4.30)(64bit)"; empty when it names none.
QString Symbol_Version(const QString& requirement)
{
    static const QRegularExpression pattern("\\(([A-Z]+_[A-Z0-9_.]+)\\)");
    return pattern.match(requirement).captured(1);
}

// The newest version of `family` that `requirements` need, with the symbol
// version that needs it; an empty version when they need none.
struct TNeed
{
    QString Version;
    QString Symbol;
};

TNeed Newest_Need(const QStringList& requirements, const TFamily& family)
{
    TNeed newest;
    for (const QString& requirement : requirements)
    {
        const QString symbol = Symbol_Version(requirement);
        static const QRegularExpression numbered("^[0-9]+(\\.[0-9]+)*$");
        QString version = symbol.startsWith(family.Prefix) ? symbol.mid(family.Prefix.size())
                                                           : QString();
        if (family.Prefix == "GLIBC_" && symbol == Dt_Relr)
            version = Dt_Relr_Release;
        if (numbered.match(version).hasMatch() &&
            (newest.Version.isEmpty() || Is_Newer(version, newest.Version)))
            newest = {version, symbol};
    }
    return newest;
}
}

// Each release's versions are those of its own packages: glibc for GLIBC_,
// libstdc++ (built from gcc) for GLIBCXX_ and CXXABI_. The libstdc++
// symbol versions of each gcc release are those its manual lists (libstdc++
// manual, "ABI Policy and Guidelines"): gcc 8: GLIBCXX_3.4.25, CXXABI_1.3.11;
// gcc 11: 3.4.29, 1.3.13; gcc 12: 3.4.30, 1.3.13; gcc 13.2: 3.4.32, 1.3.14;
// gcc 14: 3.4.33, 1.3.15; gcc 15: 3.4.34, 1.3.16.
const std::vector<TDistributionRelease>& Distribution_Releases()
{
    static const std::vector<TDistributionRelease> releases = {
        // glibc-2.41-*.fc42; libstdc++-15.*.fc42 (gcc 15)
        {"Fedora 42", "Fedora 42", "2.41", "3.4.34", "1.3.16"},
        // glibc-2.42-*.fc43; libstdc++-15.2.*.fc43 (gcc 15)
        {"Fedora 43", "Fedora 43", "2.42", "3.4.34", "1.3.16"},
        // glibc-2.28-*.el8; libstdc++-8.5.0-*.el8 (gcc 8)
        {"RHEL 8 and its rebuilds", "RHEL 8", "2.28", "3.4.25", "1.3.11"},
        // glibc-2.34-*.el9; libstdc++-11.5.0-*.el9 (gcc 11)
        {"RHEL 9 and its rebuilds", "RHEL 9", "2.34", "3.4.29", "1.3.13"},
        // glibc-2.39-*.el10; libstdc++-14.2.1-*.el10 (gcc 14)
        {"RHEL 10 and its rebuilds", "RHEL 10", "2.39", "3.4.33", "1.3.15"},
        // glibc-2.38-150600.*; libstdc++6-13.2.1-150000.* as released (gcc 13)
        {"openSUSE Leap 15.6", "openSUSE Leap 15.6", "2.38", "3.4.32", "1.3.14"},
        // A rolling release, only ever newer: glibc-2.42; libstdc++6-15.* (gcc 15)
        {"openSUSE Tumbleweed", "openSUSE Tumbleweed", "2.42", "3.4.34", "1.3.16"},
        // glibc-2.36-*.mga9; libstdc++6-12.3.0-*.mga9 (gcc 12)
        {"Mageia 9", "Mageia 9", "2.36", "3.4.30", "1.3.13"},
    };
    return releases;
}

QString Missing_Capability(const QStringList& requirements, const TDistributionRelease& release)
{
    for (const TFamily& family : Families())
    {
        const TNeed need = Newest_Need(requirements, family);
        const QString& offered = release.*family.Offered;
        if (!need.Version.isEmpty() && Is_Newer(need.Version, offered))
            return QString("needs %1; %2 has up to %3").arg(need.Symbol, release.Short, offered);
    }
    return QString();
}

QStringList Where_It_Installs(const QStringList& requirements,
                              const std::vector<TDistributionRelease>& releases)
{
    QStringList fitting;
    QStringList lacking;
    for (const TDistributionRelease& release : releases)
    {
        const QString missing = Missing_Capability(requirements, release);
        if (missing.isEmpty())
            fitting.append(release.Name);
        else
            lacking.append(QString("Does not install on %1: %2").arg(release.Name, missing));
    }
    return QStringList{"Installs on: " + (fitting.isEmpty() ? QString("none of the releases known")
                                                            : fitting.join(", "))} +
           lacking;
}
