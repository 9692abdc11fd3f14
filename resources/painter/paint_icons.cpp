// Draws every icon of the editor with QPainter and writes them as PNG files.
// Each drawing works on a 32 x 32 canvas and is scaled to the file's size, so
// the shapes are kept bold enough to read at 16 pixels.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace
{
using TDrawing = std::function<void(QPainter&)>;

const QColor Outline(40, 40, 40);
const QColor Green(46, 160, 67);
const QColor Red(207, 34, 46);
const QColor Blue(31, 111, 235);
const QColor Folder_Yellow(240, 188, 66);
const QColor Paper(250, 250, 250);

QPen Stroke(const QColor& colour, qreal width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Plus(QPainter& p, const QColor& colour)
{
    p.setPen(Stroke(colour, 7));
    p.drawLine(QPointF(16, 5), QPointF(16, 27));
    p.drawLine(QPointF(5, 16), QPointF(27, 16));
}

void Minus(QPainter& p)
{
    p.setPen(Stroke(Red, 7));
    p.drawLine(QPointF(5, 16), QPointF(27, 16));
}

void Arrow(QPainter& p, bool up)
{
    QPainterPath head;
    const qreal tip = up ? 3 : 29;
    const qreal base = up ? 17 : 15;
    head.moveTo(16, tip);
    head.lineTo(29, base);
    head.lineTo(3, base);
    head.closeSubpath();
    p.setPen(Stroke(Outline, 1.5));
    p.setBrush(Blue);
    p.drawPath(head);
    p.fillRect(up ? QRectF(11, 16, 10, 13) : QRectF(11, 3, 10, 13), Blue);
    p.drawLine(QPointF(11, up ? 17 : 15), QPointF(11, up ? 29 : 3));
    p.drawLine(QPointF(21, up ? 17 : 15), QPointF(21, up ? 29 : 3));
    p.drawLine(QPointF(11, up ? 29 : 3), QPointF(21, up ? 29 : 3));
}

void Pencil(QPainter& p)
{
    p.translate(16, 16);
    p.rotate(45);
    p.setPen(Stroke(Outline, 1.5));
    p.setBrush(QColor(245, 166, 35));
    p.drawRect(QRectF(-5, -15, 10, 20));
    p.setBrush(QColor(239, 143, 143));
    p.drawRect(QRectF(-5, -15, 10, 5));
    QPainterPath tip;
    tip.moveTo(-5, 5);
    tip.lineTo(5, 5);
    tip.lineTo(0, 15);
    tip.closeSubpath();
    p.setBrush(QColor(240, 220, 180));
    p.drawPath(tip);
    p.setBrush(Outline);
    p.drawEllipse(QPointF(0, 12.5), 1.5, 1.5);
    p.resetTransform();
}

void Cross(QPainter& p)
{
    p.setPen(Stroke(Outline, 1.5));
    p.setBrush(QColor(230, 230, 230));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(Stroke(Red, 5));
    p.drawLine(QPointF(10, 10), QPointF(22, 22));
    p.drawLine(QPointF(22, 10), QPointF(10, 22));
}

void Refresh(QPainter& p)
{
    p.setPen(Stroke(Green, 5));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5, 5, 22, 22), 100 * 16, 280 * 16);
    QPainterPath head;
    head.moveTo(13, 0);
    head.lineTo(23, 7);
    head.lineTo(13, 13);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    p.drawPath(head);
}

void Folder(QPainter& p, bool open)
{
    p.setPen(Stroke(Outline, 1.5));
    p.setBrush(QColor(214, 160, 40));
    QPainterPath back;
    back.moveTo(2, 7);
    back.lineTo(12, 7);
    back.lineTo(15, 10);
    back.lineTo(30, 10);
    back.lineTo(30, 27);
    back.lineTo(2, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(Folder_Yellow);
    QPainterPath front;
    if (open)
    {
        front.moveTo(7, 14);
        front.lineTo(31, 14);
        front.lineTo(26, 27);
        front.lineTo(2, 27);
    }
    else
    {
        front.addRect(QRectF(2, 13, 28, 14));
    }
    front.closeSubpath();
    p.drawPath(front);
}

void Floppy(QPainter& p)
{
    p.setPen(Stroke(Outline, 1.5));
    p.setBrush(Blue);
    QPainterPath body;
    body.moveTo(3, 3);
    body.lineTo(25, 3);
    body.lineTo(29, 7);
    body.lineTo(29, 29);
    body.lineTo(3, 29);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(Paper);
    p.drawRect(QRectF(8, 3, 15, 9));
    p.setBrush(QColor(220, 228, 240));
    p.drawRect(QRectF(7, 17, 18, 12));
    p.fillRect(QRectF(18, 5, 3, 5), Outline);
}

void Load(QPainter& p)
{
    Folder(p, true);
    QPainterPath arrow;
    arrow.moveTo(16, 1);
    arrow.lineTo(24, 9);
    arrow.lineTo(19, 9);
    arrow.lineTo(19, 15);
    arrow.lineTo(13, 15);
    arrow.lineTo(13, 9);
    arrow.lineTo(8, 9);
    arrow.closeSubpath();
    p.setPen(Stroke(Outline, 1.2));
    p.setBrush(Green);
    p.drawPath(arrow);
}

void Page(QPainter& p)
{
    p.setPen(Stroke(Outline, 1.5));
    p.setBrush(Paper);
    QPainterPath page;
    page.moveTo(5, 2);
    page.lineTo(20, 2);
    page.lineTo(27, 9);
    page.lineTo(27, 30);
    page.lineTo(5, 30);
    page.closeSubpath();
    p.drawPath(page);
    p.drawLine(QPointF(20, 2), QPointF(20, 9));
    p.drawLine(QPointF(20, 9), QPointF(27, 9));
    p.setPen(Stroke(QColor(150, 150, 150), 1.5));
    for (qreal y = 14; y <= 26; y += 4)
        p.drawLine(QPointF(9, y), QPointF(23, y));
}

void Create(QPainter& p)
{
    Page(p);
    p.setPen(Qt::NoPen);
    p.setBrush(Green);
    p.drawEllipse(QRectF(15, 15, 16, 16));
    p.setPen(Stroke(Qt::white, 3));
    p.drawLine(QPointF(23, 18.5), QPointF(23, 27.5));
    p.drawLine(QPointF(18.5, 23), QPointF(27.5, 23));
}

void Preview(QPainter& p)
{
    Page(p);
    p.setPen(Stroke(Outline, 4));
    p.drawLine(QPointF(23, 23), QPointF(29.5, 29.5));
    p.setPen(Stroke(Blue, 2.5));
    p.setBrush(QColor(220, 235, 255, 200));
    p.drawEllipse(QPointF(17.5, 17.5), 7.5, 7.5);
}

void About(QPainter& p)
{
    p.setPen(Stroke(Outline, 1.5));
    p.setBrush(Blue);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.6, 2.6);
    p.drawRoundedRect(QRectF(13.5, 14, 5, 12), 1.5, 1.5);
}

void Program(QPainter& p)
{
    // A parcel with a spec sheet in front of it.
    p.setPen(Stroke(Outline, 1));
    p.setBrush(QColor(200, 150, 90));
    QPainterPath box;
    box.moveTo(2, 10);
    box.lineTo(16, 3);
    box.lineTo(30, 10);
    box.lineTo(30, 25);
    box.lineTo(16, 31);
    box.lineTo(2, 25);
    box.closeSubpath();
    p.drawPath(box);
    p.setBrush(QColor(170, 120, 65));
    QPainterPath side;
    side.moveTo(16, 17);
    side.lineTo(30, 10);
    side.lineTo(30, 25);
    side.lineTo(16, 31);
    side.closeSubpath();
    p.drawPath(side);
    p.drawLine(QPointF(2, 10), QPointF(16, 17));
    p.setBrush(Paper);
    p.drawRect(QRectF(5, 14, 13, 16));
    p.setPen(Stroke(Blue, 1.6));
    for (qreal y = 18; y <= 26; y += 4)
        p.drawLine(QPointF(7.5, y), QPointF(15.5, y));
}

// A magnifying glass over a folder: finding the files a program needs.
void Detect(QPainter& p)
{
    Folder(p, false);
    p.setPen(Stroke(Outline, 6));
    p.drawLine(QPointF(21, 21), QPointF(29, 29));
    p.setPen(Stroke(Outline, 3));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QPointF(15, 15), 8, 8);
}

// A closed carton with a tick on its front: a package built and checked.
void Build_Package(QPainter& p)
{
    const QColor carton(196, 140, 80);
    p.setPen(Stroke(Outline, 1.5));
    p.setBrush(carton.lighter(115));
    QPainterPath lid;
    lid.moveTo(3, 9);
    lid.lineTo(16, 3);
    lid.lineTo(29, 9);
    lid.lineTo(16, 15);
    lid.closeSubpath();
    p.drawPath(lid);
    p.setBrush(carton);
    QPainterPath front;
    front.moveTo(3, 9);
    front.lineTo(16, 15);
    front.lineTo(16, 30);
    front.lineTo(3, 24);
    front.closeSubpath();
    p.drawPath(front);
    p.setBrush(carton.darker(115));
    QPainterPath side;
    side.moveTo(16, 15);
    side.lineTo(29, 9);
    side.lineTo(29, 24);
    side.lineTo(16, 30);
    side.closeSubpath();
    p.drawPath(side);
    p.setPen(Stroke(Green, 3.5));
    p.drawLine(QPointF(6, 18), QPointF(9, 22));
    p.drawLine(QPointF(9, 22), QPointF(14, 14));
}

bool Paint(const QString& path, int size, const TDrawing& drawing)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    drawing(painter);
    painter.end();
    return image.save(path, "PNG");
}
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s RESOURCES_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const struct
    {
        const char* Path;
        int Size;
        TDrawing Drawing;
    } icons[] = {
        {"icons/kestrelvantory_48.png", 48, Program},
        {"icons/kestrelvantory_128.png", 128, Program},
        {"icons/kestrelvantory_256.png", 256, Program},
        {"actions/file_create_x32.png", 32, Create},
        {"actions/file_preview_x32.png", 32, Preview},
        {"actions/file_package_x32.png", 32, Build_Package},
        {"actions/file_open_x32.png", 32, [](QPainter& p) { Folder(p, true); }},
        {"actions/file_save_x32.png", 32, Floppy},
        {"actions/help_about_x32.png", 32, About},
        {"gui/edit_add_x16.png", 16, [](QPainter& p) { Plus(p, Green); }},
        {"gui/edit_remove_x16.png", 16, Minus},
        {"gui/edit_up_x16.png", 16, [](QPainter& p) { Arrow(p, true); }},
        {"gui/edit_down_x16.png", 16, [](QPainter& p) { Arrow(p, false); }},
        {"gui/edit_edit_x16.png", 16, Pencil},
        {"gui/edit_clear_x16.png", 16, Cross},
        {"gui/edit_refresh_x16.png", 16, Refresh},
        {"gui/file_load_x16.png", 16, Load},
        {"gui/file_save_x16.png", 16, Floppy},
        {"gui/edit_detect_x16.png", 16, Detect},
    };
    for (const auto& icon : icons)
    {
        const QString path = folder.filePath(icon.Path);
        if (!Paint(path, icon.Size, icon.Drawing))
        {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
