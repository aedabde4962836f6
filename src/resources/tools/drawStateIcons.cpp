// Draws the four 16 x 16 state icons of the list cells. Run once, commit the
// PNGs; rebuild with -DKX_BUILD_RESOURCE_TOOLS=ON and run
//   kx_draw_state_icons <src/resources>
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cstdio>

namespace {

const QColor Orange(0xf0, 0x8a, 0x10);
const QColor OrangeEdge(0xa8, 0x58, 0x00);
const QColor LockBody(0x5f, 0x7a, 0x94);
const QColor LockEdge(0x33, 0x48, 0x5c);
const QColor Shackle(0x80, 0x8e, 0x9c);

QImage blankIcon()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// Six spokes around (cx, cy); thick enough to stay readable at 16 px.
void drawAsterisk(QPainter& painter, qreal cx, qreal cy, qreal radius)
{
    QPainterPath spokes;
    for (int i = 0; i < 3; ++i) {
        const qreal angle = qDegreesToRadians(90.0 + i * 60.0);
        const QPointF offset(radius * qCos(angle), -radius * qSin(angle));
        spokes.moveTo(QPointF(cx, cy) + offset);
        spokes.lineTo(QPointF(cx, cy) - offset);
    }
    painter.setPen(QPen(OrangeEdge, 3.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(spokes);
    painter.setPen(QPen(Orange, 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(spokes);
}

void drawPadlock(QPainter& painter, qreal left)
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Shackle, 1.6));
    painter.drawArc(QRectF(left + 2.5, 1.5, 6.0, 8.0), 0, 180 * 16);
    painter.drawLine(QPointF(left + 2.5, 5.5), QPointF(left + 2.5, 7.5));
    painter.drawLine(QPointF(left + 8.5, 5.5), QPointF(left + 8.5, 7.5));

    painter.setPen(QPen(LockEdge, 1.0));
    painter.setBrush(LockBody);
    painter.drawRoundedRect(QRectF(left + 0.5, 7.5, 10.0, 8.0), 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(LockEdge);
    painter.drawEllipse(QPointF(left + 5.5, 11.0), 1.2, 1.2);
    painter.drawRect(QRectF(left + 5.0, 11.0, 1.0, 2.5));
}

bool save(const QImage& image, const QDir& directory, const QString& name)
{
    const QString path = directory.filePath(name);
    if (image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication application(argc, argv);
    const QDir directory(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());

    const QImage standard = blankIcon();

    QImage changed = blankIcon();
    {
        QPainter painter(&changed);
        painter.setRenderHint(QPainter::Antialiasing);
        drawAsterisk(painter, 8.0, 8.0, 5.5);
    }

    QImage locked = blankIcon();
    {
        QPainter painter(&locked);
        painter.setRenderHint(QPainter::Antialiasing);
        drawPadlock(painter, 2.5);
    }

    QImage changedLocked = blankIcon();
    {
        QPainter painter(&changedLocked);
        painter.setRenderHint(QPainter::Antialiasing);
        drawPadlock(painter, 0.0);
        drawAsterisk(painter, 11.5, 5.0, 3.8);
    }

    const bool ok = save(standard, directory, QStringLiteral("standard.png"))
        && save(changed, directory, QStringLiteral("changed.png"))
        && save(locked, directory, QStringLiteral("locked.png"))
        && save(changedLocked, directory, QStringLiteral("changed_locked.png"));
    return ok ? 0 : 1;
}
