#ifndef CHANGELOGWIDGET_H
#define CHANGELOGWIDGET_H

#include <QString>
#include <QWidget>

class QPlainTextEdit;
class TXmlFile;

// The "Change Log" tab: the spec file's change log as one free-form text,
// one change-log line per text line, kept in "changes.xml" between runs.
// "New Entry" asks the window for a new entry's head line.
class TChangeLogWidget : public QWidget
{
    Q_OBJECT

public:
    TChangeLogWidget(const QWidget* parent, Qt::WindowFlags flags);

    QString Changes() const;
    void Set_Changes(const QString& text);
    void Clear_Changelog();
    void Add_Changelog_Line(const QString& line);
    void Initialize();

    // False when the file was refused, with the reason in `reason` when given.
    bool Load_Defaults(const QString& folder, QString* reason = nullptr);
    void Load_V1(TXmlFile* xml);
    bool Save_Defaults(const QString& folder, QString* error = nullptr);

    // Puts a new entry starting with `head` on top of the older ones and
    // leaves the cursor where its first change is typed.
    void Insert_Entry(const QString& head);

signals:
    void New_Entry_Requested();

private:
    QPlainTextEdit* d_editor;
};

#endif
