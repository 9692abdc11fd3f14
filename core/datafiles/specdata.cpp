#include "datafiles/specdata.h"

#include <QFile>
#include <QFileInfo>

#include "libraries/libraryversion.h"
#include "text/valuelimits.h"

const char* const Spec_Data_Header = "Kestrelvantory:Version=1:Type=Spec_Data";
const int Spec_Data_Max_Size = 1024 * 1024;

namespace
{
enum class TSection
{
    None,
    Variables,
    Targets,
    Libraries,
    Description,
    Change_Log,
    Qml,
    Choices,
    Package
};

struct TMarker
{
    const char* Text;
    TSection Section;  // the section it opens; None for an end marker
};

// Tested in this order; a line is a marker when it begins with the text.
const TMarker Markers[] = {
    {"Variables_Begin:", TSection::Variables},
    {"Variables_End:", TSection::None},
    {"Active_Targets_Begin:", TSection::Targets},
    {"Active_Targets_End:", TSection::None},
    {"Active_Libraries_Begin:", TSection::Libraries},
    {"Active_Libraries_End:", TSection::None},
    {"Description_Begin:", TSection::Description},
    {"Description_End:", TSection::None},
    {"ChangeLog_Begin:", TSection::Change_Log},
    {"ChangeLog_End:", TSection::None},
    {"Qml_Modules_Begin:", TSection::Qml},
    {"Qml_Modules_End:", TSection::None},
    {"Detection_Choices_Begin:", TSection::Choices},
    {"Detection_Choices_End:", TSection::None},
    {"Package_Begin:", TSection::Package},
    {"Package_End:", TSection::None},
};

const QString Name_Tag = "[Name]:";
const QString Value_Tag = "[Value]:";
const QString Target_Tag = "[Target]:";
const QString Plugin_Tag = "[Plugin]:";
const QString Dylib_Tag = "[Dylib]:";
const QString Sources_Tag = "[Sources]:";
const QString Module_Tag = "[Module]:";

// The lines of the detection choices, by their tags.
struct TChoiceTag
{
    const char* Tag;
    QStringList TDetectionChoices::*List;
};
const TChoiceTag Choice_Tags[] = {
    {"[With_Plugin]:", &TDetectionChoices::With_Plugins},
    {"[Without_Plugin]:", &TDetectionChoices::Without_Plugins},
    {"[With_Library]:", &TDetectionChoices::With_Libraries},
};

// The Build Package fields a project keeps, by their tags.
struct TPackageTag
{
    const char* Tag;
    QString TPackageSettings::*Field;
};
const TPackageTag Package_Tags[] = {
    {"[Program]:", &TPackageSettings::Program},
    {"[Source]:", &TPackageSettings::Source},
    {"[Repository]:", &TPackageSettings::Repository},
    {"[Sign_Key]:", &TPackageSettings::Sign_Key},
};

QString Choice_Lines(const TDetectionChoices& choices)
{
    QString lines;
    for (const TChoiceTag& tag : Choice_Tags)
    {
        for (const QString& entry : choices.*tag.List)
            lines += tag.Tag + entry + "\n";
    }
    return lines;
}

QString Section(const QString& begin, const QString& lines, const QString& end)
{
    return begin + "\n" + lines + end + "\n";
}

QString Package_Section(const TPackageSettings& package)
{
    QString lines;
    for (const TPackageTag& tag : Package_Tags)
        if (!(package.*tag.Field).isEmpty())
            lines += tag.Tag + package.*tag.Field + "\n";
    if (lines.isEmpty())
        return QString();
    return "\n" + Section("Package_Begin:", lines, "Package_End:");
}

QString Library_Lines(const std::vector<TSpecDataTarget>& targets)
{
    QString lines;
    for (const TSpecDataTarget& target : targets)
    {
        lines += Target_Tag + target.Name + "\n";
        for (const TSpecDataLibrary& library : target.Libraries)
            lines += (library.Type == TTypes::Library_Plugin ? Plugin_Tag : Dylib_Tag) +
                     Version_Free_Library_Name(library.Name) + "\n";
    }
    return lines;
}

QString Qml_Section(const TSpecDataQml& qml)
{
    if (qml.Is_Empty())
        return QString();
    QString lines;
    if (!qml.Sources.isEmpty())
        lines += Sources_Tag + qml.Sources + "\n";
    for (const TSpecDataTarget& target : qml.Targets)
    {
        lines += Target_Tag + target.Name + "\n";
        for (const TSpecDataLibrary& module : target.Libraries)
            lines += Module_Tag + module.Name + "\n";
    }
    return Section("Qml_Modules_Begin:", lines, "Qml_Modules_End:") + "\n";
}

// Reads line after line, keeping what each section holds.
class TReader
{
public:
    bool Read_Line(const QString& line);

    TSpecDataReading Result;

private:
    bool Read_Marker(const QString& line);
    bool Read_Content(const QString& line);
    bool Accepted(const QString& value, const QString& what);
    bool Read_Variable(const QString& line);
    void Read_Library(const QString& line);
    void Read_Choice(const QString& line);
    void Read_Qml(const QString& line);
    void Read_Package(const QString& line);
    void Open_Section(TSection section);

    int d_line_number = 0;
    bool d_header_expected = true;
    TSection d_section = TSection::None;
    QString d_target;
};

bool TReader::Read_Line(const QString& raw_line)
{
    ++d_line_number;
    const QString line = raw_line.trimmed();
    if (line.isEmpty() || line.startsWith('#'))
        return true;
    if (d_header_expected)
    {
        if (line != Spec_Data_Header)
        {
            Result.Error = "ERR:  File is not a Kestrelvantory spec_data file.";
            return false;
        }
        d_header_expected = false;
        return true;
    }
    return Read_Marker(line) || Read_Content(line);
}

bool TReader::Read_Marker(const QString& line)
{
    for (const TMarker& marker : Markers)
    {
        // The first letter rules out most markers at once: a project holds
        // thousands of other lines.
        if (line.at(0) == QLatin1Char(marker.Text[0]) &&
            line.startsWith(QLatin1String(marker.Text)))
        {
            Open_Section(marker.Section);
            return true;
        }
    }
    return false;
}

void TReader::Open_Section(TSection section)
{
    d_section = section;
    TSpecDataContents& contents = Result.Contents;
    switch (section)
    {
    case TSection::Variables:
        contents.Variables.emplace();
        break;
    case TSection::Targets:
        contents.Active_Targets.emplace();
        break;
    case TSection::Libraries:
        contents.Active_Libraries.emplace();
        break;
    case TSection::Description:
        contents.Description.emplace();
        break;
    case TSection::Change_Log:
        contents.Change_Log.emplace();
        break;
    case TSection::Qml:
        contents.Qml.emplace();
        break;
    case TSection::Choices:
        contents.Choices.emplace();
        break;
    case TSection::Package:
        contents.Package.emplace();
        break;
    case TSection::None:
        break;
    }
}

// Every line but those of the description and the change log is one value
// (or a name and a value), and held to what one line of a spec may hold; the
// text's lines may hold tabs.
bool TReader::Accepted(const QString& value, const QString& what)
{
    const bool text = d_section == TSection::Description || d_section == TSection::Change_Log;
    QString problem;
    if (!text)
        problem = Line_Value_Problem(value);
    else if (Has_Control_Character(value, "\t"))
        problem = "holds a control character other than a tab: '" + Shown_Value(value) + "'";
    if (problem.isEmpty())
        return true;
    Result.Error = QString("ERR:  Line %1 (%2) %3.").arg(d_line_number).arg(what, problem);
    return false;
}

bool TReader::Read_Content(const QString& line)
{
    if (d_section != TSection::Variables && d_section != TSection::None &&
        !Accepted(line, "a value of the project"))
        return false;
    TSpecDataContents& contents = Result.Contents;
    switch (d_section)
    {
    case TSection::Variables:
        return Read_Variable(line);
    case TSection::Targets:
        contents.Active_Targets->append(line);
        break;
    case TSection::Libraries:
        Read_Library(line);
        break;
    case TSection::Description:
        contents.Description->append(line);
        break;
    case TSection::Change_Log:
        contents.Change_Log->append(line);
        break;
    case TSection::Qml:
        Read_Qml(line);
        break;
    case TSection::Choices:
        Read_Choice(line);
        break;
    case TSection::Package:
        Read_Package(line);
        break;
    case TSection::None:
        break;
    }
    return true;
}

bool TReader::Read_Variable(const QString& line)
{
    const int name_at = line.indexOf(Name_Tag);
    if (name_at < 0)
    {
        Result.Error = "ERR:  Kestrelvantory variable data missing [Name]: value.";
        return false;
    }
    const QString rest = line.mid(name_at + Name_Tag.length());
    const int value_at = rest.indexOf(Value_Tag);
    if (value_at < 0)
    {
        Result.Error = "ERR:  Kestrelvantory variable data missing [Value]: value.";
        return false;
    }
    const QString name = rest.left(value_at);
    const QString value = rest.mid(value_at + Value_Tag.length());
    if (!Accepted(name, "a variable name") || !Accepted(value, "a variable value"))
        return false;
    Result.Contents.Variables->push_back({name, value});
    return true;
}

void TReader::Read_Library(const QString& line)
{
    if (line.startsWith(Target_Tag))
        d_target = line.mid(Target_Tag.length());
    else if (line.startsWith(Plugin_Tag))
        Result.Contents.Active_Libraries->push_back({d_target, line.mid(Plugin_Tag.length())});
    else if (line.startsWith(Dylib_Tag))
        Result.Contents.Active_Libraries->push_back({d_target, line.mid(Dylib_Tag.length())});
}

void TReader::Read_Choice(const QString& line)
{
    for (const TChoiceTag& tag : Choice_Tags)
    {
        if (line.startsWith(QLatin1String(tag.Tag)))
            ((*Result.Contents.Choices).*tag.List).append(line.mid(int(qstrlen(tag.Tag))));
    }
}

void TReader::Read_Package(const QString& line)
{
    for (const TPackageTag& tag : Package_Tags)
    {
        if (line.startsWith(QLatin1String(tag.Tag)))
            (*Result.Contents.Package).*tag.Field = line.mid(int(qstrlen(tag.Tag)));
    }
}

// A module line before any target line has no target to go to.
void TReader::Read_Qml(const QString& line)
{
    TSpecDataQml& qml = *Result.Contents.Qml;
    if (line.startsWith(Sources_Tag))
        qml.Sources = line.mid(Sources_Tag.length());
    else if (line.startsWith(Target_Tag))
        qml.Targets.push_back({line.mid(Target_Tag.length()), {}});
    else if (line.startsWith(Module_Tag) && !qml.Targets.empty())
        qml.Targets.back().Libraries.push_back(
            {TTypes::Library_Qml_Module, line.mid(Module_Tag.length())});
}
}

namespace
{
// Whether a line of a project, as read, would be taken for a section marker.
bool Is_Marker_Line(const QString& line)
{
    const QString read = line.trimmed();
    for (const TMarker& marker : Markers)
        if (read.startsWith(QLatin1String(marker.Text)))
            return true;
    return false;
}

QString Line_Refusal(const QString& what, const QString& value)
{
    QString problem = Line_Value_Problem(value);
    if (problem.isEmpty() && Is_Marker_Line(value))
        problem = "begins with a section marker of the project: '" + Shown_Value(value) + "'";
    return problem.isEmpty() ? QString() : QString("ERR  %1 %2.").arg(what, problem);
}

QString Text_Refusal(const QString& what, const QString& text)
{
    const QString problem = Text_Value_Problem(text);
    if (!problem.isEmpty())
        return QString("ERR  The %1 %2.").arg(what, problem);
    const QStringList lines = text.split('\n');
    for (int index = 0; index < lines.size(); ++index)
        if (Is_Marker_Line(lines.at(index)))
            return QString("ERR  Line %1 of the %2 begins with a section marker of the project: "
                           "'%3'.")
                .arg(index + 1)
                .arg(what, Shown_Value(lines.at(index)));
    return QString();
}

QStringList Target_Refusals(const std::vector<TSpecDataTarget>& targets, const QString& what)
{
    QStringList refusals;
    for (const TSpecDataTarget& target : targets)
    {
        refusals.append(Line_Refusal("The target name", target.Name));
        for (const TSpecDataLibrary& library : target.Libraries)
            refusals.append(Line_Refusal(QString("The %1 of the target \"%2\"")
                                             .arg(what, Shown_Value(target.Name)),
                                         library.Name));
    }
    return refusals;
}
}

QString Spec_Data_Refusal(const TSpecData& data)
{
    QStringList refusals;
    for (const TSpecVariable& variable : data.Variables)
        refusals << Line_Refusal("The variable name", variable.Name)
                 << (variable.Name.contains(Value_Tag)
                         ? QString("ERR  The variable name '%1' holds \"%2\", which ends a "
                                   "name in a project.")
                               .arg(Shown_Value(variable.Name), Value_Tag)
                         : QString())
                 << Line_Refusal(QString("The value of the variable \"%1\"")
                                     .arg(Shown_Value(variable.Name)),
                                 variable.Value);
    refusals += Target_Refusals(data.Active_Targets, "library");
    refusals += Target_Refusals(data.Qml.Targets, "QML module");
    refusals << Line_Refusal("The QML sources folder", data.Qml.Sources);
    for (const TChoiceTag& tag : Choice_Tags)
        for (const QString& entry : data.Choices.*tag.List)
            refusals << Line_Refusal("The detection choice", entry);
    for (const TPackageTag& tag : Package_Tags)
        refusals << Line_Refusal(QString("The Build Package field %1").arg(tag.Tag),
                                 data.Package.*tag.Field);
    refusals << Text_Refusal("description", data.Description)
             << Text_Refusal("change log", data.Change_Log);
    refusals.removeAll(QString());
    return refusals.value(0);
}

QString Spec_Data_Text(const TSpecData& data)
{
    QString variables;
    QString targets;
    for (const TSpecVariable& variable : data.Variables)
        variables += Name_Tag + variable.Name + Value_Tag + variable.Value + "\n";
    for (const TSpecDataTarget& target : data.Active_Targets)
        targets += target.Name + "\n";

    return QString(Spec_Data_Header) + "\n\n"
           + Section("Variables_Begin:", variables, "Variables_End:") + "\n"
           + Section("Active_Targets_Begin:", targets, "Active_Targets_End:") + "\n"
           + Section("Active_Libraries_Begin:", Library_Lines(data.Active_Targets),
                     "Active_Libraries_End:")
           + "\n" + Qml_Section(data.Qml)
           + Section("Description_Begin:", data.Description + "\n", "Description_End:") + "\n"
           + Section("ChangeLog_Begin:", data.Change_Log + "\n", "ChangeLog_End:")
           + (data.Choices.Is_Empty()
                  ? QString()
                  : "\n" + Section("Detection_Choices_Begin:", Choice_Lines(data.Choices),
                                   "Detection_Choices_End:"))
           + Package_Section(data.Package);
}

TSpecDataReading Read_Spec_Data(const QByteArray& bytes)
{
    TReader reader;
    if (bytes.size() > Spec_Data_Max_Size)
    {
        reader.Result.Error = QString("ERR:  The file is larger than %1 MiB, more than any project "
                                      "holds.").arg(Spec_Data_Max_Size / (1024 * 1024));
        return reader.Result;
    }
    for (const QByteArray& line : bytes.split('\n'))
    {
        if (!reader.Read_Line(QString::fromUtf8(line)))
            return reader.Result;
    }
    reader.Result.Ok = true;
    return reader.Result;
}

// Only a plain file is opened: a named pipe would wait for a writer and a
// device may never end. A file too large is not read beyond what tells it.
TSpecDataReading Read_Spec_Data_File(const QString& file_name)
{
    QFile file(file_name);
    if (!QFileInfo(file_name).isFile() || !file.open(QIODevice::ReadOnly))
    {
        TSpecDataReading failed;
        failed.Error = QString("ERR:  Cannot open file '%1' for reading.").arg(file_name);
        return failed;
    }
    return Read_Spec_Data(file.read(qMin<qint64>(file.size(), Spec_Data_Max_Size) + 1));
}
