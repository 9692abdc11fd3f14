#include "package/packagestamp.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSettings>

namespace
{
// A file as made: its path, size and time of change.
QString File_State(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile())
        return QString();
    return QString("%1 %2 %3")
        .arg(file.size())
        .arg(file.lastModified().toMSecsSinceEpoch())
        .arg(file.absoluteFilePath());
}
}

TPackageStamp::TPackageStamp(const QString& path) : d_path(path)
{
}

QString TPackageStamp::Value(const QString& key) const
{
    return QSettings(d_path, QSettings::IniFormat).value(key).toString();
}

void TPackageStamp::Set(std::initializer_list<std::pair<QString, QString>> values)
{
    QSettings settings(d_path, QSettings::IniFormat);
    for (const auto& [key, value] : values)
        settings.setValue(key, value);
}

bool TPackageStamp::Tarball_Is_Current(const QString& tarball, const QByteArray& sources) const
{
    const QString state = File_State(tarball);
    return !state.isEmpty() && Value("Sources") == sources && Value("Tarball") == state;
}

QString TPackageStamp::Current_Package(const QByteArray& inputs) const
{
    const QString rpm = Value("Package_File");
    const bool current = !rpm.isEmpty() && Value("Inputs") == inputs &&
                         !File_State(rpm).isEmpty() && Value("Package") == File_State(rpm);
    return current ? rpm : QString();
}

void TPackageStamp::Record_Tarball(const QString& tarball, const QByteArray& sources)
{
    Set({{"Sources", sources}, {"Tarball", File_State(tarball)}});
}

void TPackageStamp::Record_Package(const QString& rpm, const QByteArray& inputs)
{
    Set({{"Inputs", inputs}, {"Package_File", rpm}, {"Package", File_State(rpm)}});
}
