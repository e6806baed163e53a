// Draws the interface pictures of resources/: the round badges of the panes and
// buttons, the check box indicators, the window icon and the checkered tile
// behind the preview. Every shape is laid out on a 48 x 48 grid (16 x 16 for
// the indicators) and scaled to the picture size, so each size is drawn from
// the vectors rather than resampled.
//
// Usage: drawpictures RESOURCES_DIR   (see CMakeLists.txt beside this file)

#include <QByteArray>
#include <QColor>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QVector>
#include <QtMath>

#include <cstdio>
#include <functional>

namespace {

using Painter = std::function<void(QPainter&)>;

const QColor white(255, 255, 255);

// A transparent picture of size x size px with `draw` applied on a grid of
// `grid` x `grid` units.
QImage render(int size, const Painter& draw, qreal grid = 48.0)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / grid, size / grid);
    draw(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QPen roundPen(const QColor& color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void badge(QPainter& p, const QColor& color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QPointF(24, 24), 22.5, 22.5);
}

void roundedTile(QPainter& p, const QBrush& brush)
{
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 10, 10);
}

void plusSign(QPainter& p, qreal half, qreal width)
{
    p.setPen(roundPen(white, width));
    p.drawLine(QPointF(24 - half, 24), QPointF(24 + half, 24));
    p.drawLine(QPointF(24, 24 - half), QPointF(24, 24 + half));
}

void minusSign(QPainter& p, qreal half, qreal width)
{
    p.setPen(roundPen(white, width));
    p.drawLine(QPointF(24 - half, 24), QPointF(24 + half, 24));
}

void cross(QPainter& p, qreal half, qreal width)
{
    p.setPen(roundPen(white, width));
    p.drawLine(QPointF(24 - half, 24 - half), QPointF(24 + half, 24 + half));
    p.drawLine(QPointF(24 - half, 24 + half), QPointF(24 + half, 24 - half));
}

void tick(QPainter& p)
{
    p.setPen(roundPen(white, 5.5));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF(QVector<QPointF>{ QPointF(13.5, 24.5), QPointF(21, 32), QPointF(35, 17) }));
}

void magnifier(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(white, 4.5));
    p.drawEllipse(QPointF(21, 21), 8.5, 8.5);
    p.setPen(roundPen(white, 6));
    p.drawLine(QPointF(28, 28), QPointF(34.5, 34.5));
}

void drop(QPainter& p)
{
    // A circle with the two tangents from the tip above it.
    const QPointF tip(24, 10.5);
    const QPointF centre(24, 28);
    const qreal radius = 9.5;
    const qreal distance = centre.y() - tip.y();
    const qreal angle = qAsin(radius / distance);  // between the axis and a tangent
    const qreal along = qSqrt(distance * distance - radius * radius);
    const QPointF left(tip.x() - along * qSin(angle), tip.y() + along * qCos(angle));
    const QPointF right(tip.x() + along * qSin(angle), tip.y() + along * qCos(angle));

    QPainterPath cone;
    cone.moveTo(tip);
    cone.lineTo(left);
    cone.lineTo(centre);
    cone.lineTo(right);
    cone.closeSubpath();
    QPainterPath round;
    round.addEllipse(centre, radius, radius);

    p.setPen(Qt::NoPen);
    p.setBrush(white);
    p.drawPath(cone.united(round).simplified());
}

void downArrow(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(roundPen(white, 5));
    p.drawLine(QPointF(24, 10.5), QPointF(24, 29));
    p.drawPolyline(QPolygonF(QVector<QPointF>{ QPointF(16, 22), QPointF(24, 30), QPointF(32, 22) }));
    p.drawLine(QPointF(14.5, 37), QPointF(33.5, 37));
}

QPainterPath star(const QPointF& centre, qreal outer, qreal inner)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2) ? inner : outer;
        const qreal a = qDegreesToRadians(-90.0 + 36.0 * i);
        const QPointF point(centre.x() + r * qCos(a), centre.y() + r * qSin(a));
        if (i == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

void appIcon(QPainter& p)
{
    QLinearGradient tile(QPointF(2, 2), QPointF(46, 46));
    tile.setColorAt(0, QColor(142, 92, 247));
    tile.setColorAt(1, QColor(52, 110, 235));
    roundedTile(p, tile);

    const QPainterPath glyph = star(QPointF(24, 25.5), 15, 6.6);
    // A soft, short shadow under the glyph.
    p.setPen(roundPen(QColor(20, 20, 80, 60), 3));
    p.setBrush(QColor(20, 20, 80, 60));
    p.drawPath(glyph.translated(0, 1.6));
    // Rounded joins take the sharpness off the points.
    p.setPen(roundPen(white, 2.5));
    p.setBrush(white);
    p.drawPath(glyph);
}

// Check box indicators, on a 16 x 16 grid.
void checkFrame(QPainter& p, const QColor& fill, const QColor& border)
{
    p.setPen(QPen(border, 1.2));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1.6, 1.6, 12.8, 12.8), 3, 3);
}

void unchecked(QPainter& p)
{
    checkFrame(p, white, QColor(138, 146, 156));
}

void checked(QPainter& p)
{
    checkFrame(p, QColor(47, 128, 237), QColor(37, 102, 192));
    p.setPen(roundPen(white, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF(QVector<QPointF>{ QPointF(4.4, 8.2), QPointF(7, 10.8), QPointF(11.6, 5.6) }));
}

// Four 8 x 8 squares, dark on the main diagonal.
QImage checkeredTile()
{
    QImage image(16, 16, QImage::Format_RGB888);
    const QColor dark(0x66, 0x66, 0x66);
    const QColor light(0x99, 0x99, 0x99);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixelColor(x, y, ((x < 8) == (y < 8)) ? dark : light);
    return image;
}

// One icon file of 32-bit uncompressed BMP entries, each with its AND mask.
QByteArray icoFile(const QList<QImage>& images)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);

    QList<QByteArray> entries;
    for (const QImage& source : images) {
        const QImage image = source.convertToFormat(QImage::Format_ARGB32);
        const int w = image.width();
        const int h = image.height();
        const int maskStride = ((w + 31) / 32) * 4;
        QByteArray entry;
        QDataStream e(&entry, QIODevice::WriteOnly);
        e.setByteOrder(QDataStream::LittleEndian);
        e << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(32) << quint32(0)
          << quint32(w * h * 4 + maskStride * h) << qint32(0) << qint32(0) << quint32(0) << quint32(0);
        for (int y = h - 1; y >= 0; --y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < w; ++x)
                e << quint8(qBlue(line[x])) << quint8(qGreen(line[x])) << quint8(qRed(line[x]))
                  << quint8(qAlpha(line[x]));
        }
        for (int y = h - 1; y >= 0; --y) {
            const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            QByteArray mask(maskStride, '\0');
            for (int x = 0; x < w; ++x)
                if (qAlpha(line[x]) == 0)
                    mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
            e.writeRawData(mask.constData(), mask.size());
        }
        entries.append(entry);
    }

    out << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = 6 + 16 * quint32(images.size());
    for (int i = 0; i < images.size(); ++i) {
        const int w = images.at(i).width();
        const int h = images.at(i).height();
        out << quint8(w >= 256 ? 0 : w) << quint8(h >= 256 ? 0 : h) << quint8(0) << quint8(0)
            << quint16(1) << quint16(32) << quint32(entries.at(i).size()) << offset;
        offset += quint32(entries.at(i).size());
    }
    for (const QByteArray& entry : entries)
        out.writeRawData(entry.constData(), entry.size());
    return data;
}

bool write(const QString& path, const QByteArray& data)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool save(const QString& path, const QImage& image)
{
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s RESOURCES_DIR\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("pic")) || !dir.mkpath(QStringLiteral("scripts"))) {
        std::fprintf(stderr, "cannot create folders in %s\n", argv[1]);
        return 1;
    }
    auto at = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };

    const QColor slate(84, 110, 142);
    const QColor red(229, 57, 53);
    const QColor green(67, 160, 71);
    const QColor blue(30, 136, 229);
    const QColor orange(245, 124, 0);
    const QColor teal(0, 137, 123);
    const QColor closeRed(224, 82, 74);

    bool ok = true;
    ok &= save(at("add_24.png"), render(24, [&](QPainter& p) { badge(p, slate); plusSign(p, 10, 5.5); }));
    ok &= save(at("remove_24.png"), render(24, [&](QPainter& p) { badge(p, slate); minusSign(p, 10, 5.5); }));
    ok &= save(at("close_24.png"), render(24, [&](QPainter& p) { badge(p, closeRed); cross(p, 8, 5.5); }));
    ok &= save(at("close_16.png"), render(16, [&](QPainter& p) { badge(p, closeRed); cross(p, 7.5, 5); }));
    ok &= save(at("apply_48.png"), render(48, [&](QPainter& p) { badge(p, green); tick(p); }));
    ok &= save(at("preview_48.png"), render(48, [&](QPainter& p) { badge(p, blue); magnifier(p); }));
    ok &= save(at("style_48.png"), render(48, [&](QPainter& p) { badge(p, red); drop(p); }));
    ok &= save(at("plus_48.png"), render(48, [&](QPainter& p) { roundedTile(p, teal); plusSign(p, 11, 6); }));
    ok &= save(at("down_48.png"), render(48, [&](QPainter& p) { badge(p, orange); downArrow(p); }));
    ok &= save(at("pic/Checked.png"), render(16, checked, 16.0));
    ok &= save(at("pic/Unchecked.png"), render(16, unchecked, 16.0));
    ok &= save(at("scripts/bg.png"), checkeredTile());

    QList<QImage> iconSizes;
    for (int size : { 16, 24, 32, 48, 64, 128 })
        iconSizes.append(render(size, appIcon));
    ok &= write(at("icon.ico"), icoFile(iconSizes));

    return ok ? 0 : 1;
}
