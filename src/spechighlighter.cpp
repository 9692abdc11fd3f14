#include "spechighlighter.h"

#include <QFont>
#include <QRegularExpression>

namespace
{
const QRegularExpression& Section_Header()
{
    static const QRegularExpression header(
        "^%(package|description|prep|build|install|check|clean|pre|post|preun|postun|pretrans|"
        "posttrans|files|changelog|verifyscript|trigger\\w*)\\b.*$");
    return header;
}

// "%{...}" up to its brace, or "%name"; "%%" is a plain percent sign.
const QRegularExpression& Macro()
{
    static const QRegularExpression macro("%(\\{[^}\\n]*\\}|[A-Za-z_][A-Za-z0-9_]*)");
    return macro;
}
}

TSpecHighlighter::TSpecHighlighter(QTextDocument* document) : QSyntaxHighlighter(document)
{
}

QTextCharFormat TSpecHighlighter::Section_Format()
{
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setForeground(QColor(31, 111, 235));
    return format;
}

QTextCharFormat TSpecHighlighter::Macro_Format()
{
    QTextCharFormat format;
    format.setForeground(QColor(163, 21, 120));
    return format;
}

void TSpecHighlighter::highlightBlock(const QString& text)
{
    if (Section_Header().match(text).hasMatch())
    {
        setFormat(0, text.size(), Section_Format());
        return;
    }
    int from = 0;
    while (from < text.size())
    {
        const int percent = text.indexOf('%', from);
        if (percent < 0)
            return;
        if (text.mid(percent, 2) == "%%")
        {
            from = percent + 2;
            continue;
        }
        const QRegularExpressionMatch match =
            Macro().match(text, percent, QRegularExpression::NormalMatch,
                          QRegularExpression::AnchoredMatchOption);
        if (match.hasMatch())
            setFormat(percent, match.capturedLength(), Macro_Format());
        from = percent + qMax(1, match.capturedLength());
    }
}
