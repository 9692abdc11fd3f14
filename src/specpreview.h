#ifndef SPECPREVIEW_H
#define SPECPREVIEW_H

#include <QWidget>

#include <functional>

class QLabel;
class QPlainTextEdit;
class QTimer;
struct TSpecText;

// A window showing the spec file as Create would write it now, read-only
// and highlighted, or why Create would refuse. While shown it follows
// changes of the watched panels, shortly after the user stops changing them.
class TSpecPreview : public QWidget
{
    Q_OBJECT

public:
    using TComposer = std::function<TSpecText()>;

    // Follows the widgets inside `watched`; composes with `composer`.
    TSpecPreview(QWidget* parent, QWidget* watched, TComposer composer);

    // Waiting time between the last change and the refresh.
    static const int Refresh_Delay_Ms = 300;

public slots:
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void Panels_Changed();

private:
    void Show_Text(const QString& text);

    TComposer d_composer;
    QLabel* d_state;
    QPlainTextEdit* d_text;
    QTimer* d_delay;
};

#endif
