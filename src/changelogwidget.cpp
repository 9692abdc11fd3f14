#include "changelogwidget.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QVBoxLayout>

#include "spec/changelogentry.h"
#include "datafiles/changelogfile.h"
#include "datafiles/xmlfile.h"

namespace
{
QLabel* Title_Label(const QString& text)
{
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setPointSize(15);
    font.setWeight(QFont::Normal);
    font.setItalic(true);
    font.setUnderline(true);
    label->setFont(font);
    return label;
}

QPlainTextEdit* Change_Editor()
{
    auto* editor = new QPlainTextEdit;
    QFont font("courier new");
    font.setFixedPitch(true);
    editor->setFont(font);
    editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    return editor;
}
}

TChangeLogWidget::TChangeLogWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags), d_editor(Change_Editor())
{
    auto* new_entry = new QPushButton("New Entry", this);
    new_entry->setToolTip("Start a change-log entry for today, the packager set in the Options "
                          "tab and the version and release of the Variables tab");
    connect(new_entry, &QPushButton::clicked, this, &TChangeLogWidget::New_Entry_Requested);

    auto* title_row = new QHBoxLayout;
    title_row->addWidget(Title_Label("Change Log:"));
    title_row->addStretch();
    title_row->addWidget(new_entry);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(title_row);
    layout->addWidget(d_editor);
}

void TChangeLogWidget::Insert_Entry(const QString& head)
{
    const TChangeLogInsertion insertion = Change_Log_Insertion(Changes(), head);
    QTextCursor cursor(d_editor->document());
    cursor.setPosition(insertion.Position);
    cursor.insertText(insertion.Text);
    cursor.setPosition(insertion.Cursor);
    d_editor->setTextCursor(cursor);
    d_editor->ensureCursorVisible();
    d_editor->setFocus();
}

QString TChangeLogWidget::Changes() const
{
    return d_editor->toPlainText();
}

void TChangeLogWidget::Set_Changes(const QString& text)
{
    d_editor->setPlainText(text);
}

void TChangeLogWidget::Clear_Changelog()
{
    d_editor->clear();
    d_editor->appendPlainText(TChangeLogFile::Header_Line);
}

void TChangeLogWidget::Add_Changelog_Line(const QString& line)
{
    d_editor->appendPlainText(line);
}

void TChangeLogWidget::Initialize()
{
    d_editor->setPlainText(TChangeLogFile::Factory_Text());
}

bool TChangeLogWidget::Load_Defaults(const QString& folder, QString* reason)
{
    d_editor->clear();
    try
    {
        TXmlFile xml;
        TChangeLogFile::Open(&xml, folder);
        Load_V1(&xml);
        return true;
    }
    catch (const TXmlFileException& error)
    {
        if (reason != nullptr)
            *reason = error.Message;
        Initialize();
        return false;
    }
}

void TChangeLogWidget::Load_V1(TXmlFile* xml)
{
    d_editor->appendPlainText(TChangeLogFile::Read_V1(*xml));
}

bool TChangeLogWidget::Save_Defaults(const QString& folder, QString* error)
{
    try
    {
        TChangeLogFile::Write(folder, Changes());
        return true;
    }
    catch (const TXmlFileException& exception)
    {
        if (error != nullptr)
            *error = exception.Message;
        return false;
    }
}
