#ifndef SPECHIGHLIGHTER_H
#define SPECHIGHLIGHTER_H

#include <QSyntaxHighlighter>
#include <QTextCharFormat>

class QTextDocument;

// Marks the parts of a spec file a packager looks for: section headers
// ("%install", "%files", ...) in bold, macros ("%{name}", "%define") in
// colour.
class TSpecHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT

public:
    explicit TSpecHighlighter(QTextDocument* document);

    static QTextCharFormat Section_Format();
    static QTextCharFormat Macro_Format();

protected:
    void highlightBlock(const QString& text) override;
};

#endif
