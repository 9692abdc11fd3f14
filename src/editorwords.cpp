#include "editorwords.h"

#include <QRegularExpression>

namespace
{
struct TRewrite
{
    QRegularExpression Pattern;
    QString Replacement;
};

// The terse texts: the known ones first, then the general rules.
const std::vector<TRewrite>& Internal_Rewrites()
{
    static const std::vector<TRewrite> rewrites = {
        {QRegularExpression("^ERR:? +Cannot write file '(.*)'\\. +Reason: (.*)$"),
         "\"\\1\" could not be written: \\2"},
        {QRegularExpression("^ERR:? +Cannot open file:? '(.*)'\\. +Reason: (.*)$"),
         "\"\\1\" could not be opened: \\2"},
        {QRegularExpression("^ERR:? +Cannot open file '(.*)' for reading\\.$"),
         "\"\\1\" could not be opened for reading."},
        {QRegularExpression("^ERR:? +File is not a Kestrelvantory spec_data file\\.$"),
         "The file is not a Kestrelvantory project: its first line is not "
         "\"Kestrelvantory:Version=1:Type=Spec_Data\"."},
        {QRegularExpression("^ERR:? +Kestrelvantory variable data missing (\\[\\w+\\]:) value\\.$"),
         "A line of the project's variables has no \"\\1\" part."},
        {QRegularExpression("^ERR:? +Cannot read Spec_Data file\\.$"),
         "The project file could not be read."},
        {QRegularExpression("^ERR:? +Reference .* XML parse error at line (\\d+) column (\\d+): "
                            "(.*)$"),
         "It is not readable XML (line \\1, column \\2): \\3"},
        {QRegularExpression("^ERR:? +Identification '(.*)' does not match '(.*)'$"),
         "It is a \"\\1\" file, not a \"\\2\" file."},
        {QRegularExpression("^ERR:? +"), QString()},
        {QRegularExpression("'([^']*)'"), "\"\\1\""},
        {QRegularExpression(" {2,}"), " "},
    };
    return rewrites;
}

// The command-line options that have a field of the Build Package window.
const std::vector<TRewrite>& Field_Rewrites()
{
    static const std::vector<TRewrite> rewrites = {
        {QRegularExpression("no --source was given"), "the \"Source folder\" field is empty"},
        {QRegularExpression("^the source folder "), "the \"Source folder\" "},
        {QRegularExpression("--program"), "the \"Built program\" field"},
        {QRegularExpression("--qml-sources"), "the QML sources folder"},
    };
    return rewrites;
}

void Rewrite(const std::vector<TRewrite>& rewrites, QString* words)
{
    for (const TRewrite& rewrite : rewrites)
        words->replace(rewrite.Pattern, rewrite.Replacement);
}
}

QString Editor_Words(const QString& text)
{
    QString words = text.trimmed();
    if (words.startsWith("ERR"))
        Rewrite(Internal_Rewrites(), &words);
    Rewrite(Field_Rewrites(), &words);
    if (words.isEmpty())
        return words;
    // Programs keep their own names' case.
    static const QRegularExpression program("^(rpmbuild|rpm|rpmsign|patchelf|cmake|qmake\\d?|tar|"
                                            "gpg|ldd|createrepo_c)\\b");
    if (!program.match(words).hasMatch())
        words[0] = words[0].toUpper();
    if (!words.endsWith('.') && !words.endsWith('?') && !words.endsWith('!'))
        words += '.';
    return words;
}
