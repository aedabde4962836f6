// Draws the application's icons into a directory (default: app/resources/icons
// next to this file). Run once after changing a drawing; the PNGs are committed
// so that the build does not depend on this tool.
//
//   cmake --build <build> --target kx-draw-app-icons
//   <build>/bin/kx-draw-app-icons [directory]

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>

#include <functional>

namespace {

const QColor outline(0x33, 0x3d, 0x47);
const QColor offlineGrey(0x9a, 0xa3, 0xab);
const QColor onlineGreen(0x2e, 0xa0, 0x43);
const QColor faultRed(0xd7, 0x30, 0x27);
const QColor accentBlue(0x2a, 0x6f, 0xb8);
const QColor paper(0xfb, 0xfb, 0xf8);

using Drawing = std::function<void(QPainter&, qreal size)>;

bool write(const QDir& dir, const QString& name, int size, const Drawing& draw)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter, size);
    }
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    if (!image.save(path, "PNG")) {
        QTextStream(stderr) << "cannot write " << path << '\n';
        return false;
    }
    return true;
}

// Digits as seven segments: no font needed, and they stay legible at 16 pixels.
void drawDigit(QPainter& painter, int digit, const QRectF& box, const QColor& color)
{
    static const char* const segments[10] = {"abcdef", "bc", "abged", "abgcd", "fgbc",
                                             "afgcd", "afgedc", "abc", "abcdefg", "abcdfg"};
    const qreal w = box.width();
    const qreal h = box.height();
    const qreal t = qMax<qreal>(1.2, w / 4.5);
    const qreal x = box.left();
    const qreal y = box.top();
    const qreal mid = y + (h - t) / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    for (const char* s = segments[digit]; *s; ++s) {
        switch (*s) {
        case 'a': painter.drawRect(QRectF(x, y, w, t)); break;
        case 'b': painter.drawRect(QRectF(x + w - t, y, t, h / 2)); break;
        case 'c': painter.drawRect(QRectF(x + w - t, y + h / 2, t, h / 2)); break;
        case 'd': painter.drawRect(QRectF(x, y + h - t, w, t)); break;
        case 'e': painter.drawRect(QRectF(x, y + h / 2, t, h / 2)); break;
        case 'f': painter.drawRect(QRectF(x, y, t, h / 2)); break;
        case 'g': painter.drawRect(QRectF(x, mid, w, t)); break;
        default: break;
        }
    }
}

void drawNumber(QPainter& painter, int number, const QRectF& area, const QColor& color)
{
    const QString digits = QString::number(number);
    const qreal gap = area.width() * 0.12;
    const qreal digitWidth = digits.size() == 1 ? area.width() * 0.5 : (area.width() - gap) / 2;
    qreal x = area.center().x() - (digits.size() * digitWidth + (digits.size() - 1) * gap) / 2;
    for (const QChar c : digits) {
        drawDigit(painter, c.digitValue(), QRectF(x, area.top(), digitWidth, area.height()), color);
        x += digitWidth + gap;
    }
}

void drawAxis(QPainter& painter, qreal s, int number, const QColor& fill)
{
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(0.5, 0.5, s - 1, s - 1));
    drawNumber(painter, number, QRectF(s * 0.22, s * 0.22, s * 0.56, s * 0.56), Qt::white);
}

// A controller: a housing with a status lamp.
void drawController(QPainter& painter, qreal s, const QColor& lamp)
{
    painter.setPen(QPen(outline, 1));
    QLinearGradient body(0, 0, s, 0);
    body.setColorAt(0, QColor(0xe4, 0xe8, 0xec));
    body.setColorAt(1, QColor(0xb9, 0xc1, 0xc8));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(s * 0.16, 0.5, s * 0.68, s - 1), 1.5, 1.5);
    painter.setBrush(QColor(0x55, 0x60, 0x6b));
    painter.drawRect(QRectF(s * 0.3, s * 0.14, s * 0.4, s * 0.25));
    painter.setBrush(lamp);
    painter.drawEllipse(QRectF(s * 0.36, s * 0.55, s * 0.3, s * 0.3));
}

void drawSheet(QPainter& painter, qreal s)
{
    painter.setPen(QPen(outline, 1));
    painter.setBrush(paper);
    painter.drawRect(QRectF(s * 0.15, 0.5, s * 0.7, s - 1));
}

void drawPlusMinus(QPainter& painter, qreal s, bool plus)
{
    const QRectF badge(s * 0.5, s * 0.5, s * 0.5 - 0.5, s * 0.5 - 0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(plus ? onlineGreen : faultRed);
    painter.drawEllipse(badge);
    painter.setBrush(Qt::white);
    const qreal t = qMax<qreal>(1.5, s / 10);
    painter.drawRect(QRectF(badge.left() + badge.width() * 0.2, badge.center().y() - t / 2, badge.width() * 0.6, t));
    if (plus)
        painter.drawRect(QRectF(badge.center().x() - t / 2, badge.top() + badge.height() * 0.2, t, badge.height() * 0.6));
}

void drawPlug(QPainter& painter, qreal s, bool connected)
{
    painter.setPen(QPen(outline, 1));
    painter.setBrush(connected ? onlineGreen : offlineGrey);
    const qreal gap = connected ? 0 : s * 0.14;
    painter.drawRoundedRect(QRectF(s * 0.08, s * 0.3, s * 0.36 - gap / 2, s * 0.4), 2, 2);
    painter.drawRoundedRect(QRectF(s * 0.56 + gap / 2, s * 0.3, s * 0.36 - gap / 2, s * 0.4), 2, 2);
    painter.setPen(QPen(outline, qMax<qreal>(1.5, s / 12)));
    painter.drawLine(QPointF(0, s / 2), QPointF(s * 0.08, s / 2));
    painter.drawLine(QPointF(s * 0.92, s / 2), QPointF(s, s / 2));
    if (connected)
        painter.drawLine(QPointF(s * 0.44, s / 2), QPointF(s * 0.56, s / 2));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString target = arguments.size() > 1 ? arguments.at(1)
                                                : QStringLiteral(KX_APP_SOURCE_DIR "/resources/icons");
    QDir dir(target);
    if (!dir.mkpath(QStringLiteral("."))) {
        QTextStream(stderr) << "cannot create " << target << '\n';
        return 1;
    }

    bool ok = true;
    for (int number = 1; number <= 16; ++number) {
        const QString base = QStringLiteral("DriveControllerAxis%1").arg(number);
        ok &= write(dir, base, 16, [number](QPainter& p, qreal s) { drawAxis(p, s, number, offlineGrey); });
        ok &= write(dir, base + QStringLiteral("Online"), 16,
                    [number](QPainter& p, qreal s) { drawAxis(p, s, number, onlineGreen); });
        ok &= write(dir, base + QStringLiteral("OnlineFault"), 16,
                    [number](QPainter& p, qreal s) { drawAxis(p, s, number, faultRed); });
        // Offline because of a fault (a lost connection): grey, ringed in red.
        ok &= write(dir, base + QStringLiteral("OfflineFault"), 16, [number](QPainter& p, qreal s) {
            drawAxis(p, s, number, offlineGrey);
            p.setPen(QPen(faultRed, s / 8));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(s / 16, s / 16, s - s / 8, s - s / 8));
        });
    }
    ok &= write(dir, QStringLiteral("ControllerOffline"), 16, [](QPainter& p, qreal s) { drawController(p, s, offlineGrey); });
    ok &= write(dir, QStringLiteral("ControllerConnecting"), 16,
                [](QPainter& p, qreal s) { drawController(p, s, QColor(0xe8, 0xb4, 0x1c)); });
    ok &= write(dir, QStringLiteral("ControllerOnline"), 16, [](QPainter& p, qreal s) { drawController(p, s, onlineGreen); });
    ok &= write(dir, QStringLiteral("ControllerFault"), 16, [](QPainter& p, qreal s) { drawController(p, s, faultRed); });

    ok &= write(dir, QStringLiteral("KxSuite"), 64, [](QPainter& p, qreal s) {
        drawController(p, s, onlineGreen);
        p.setPen(QPen(accentBlue, s / 16, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(s * 0.05, s * 0.05, s * 0.9, s * 0.9), 200 * 16, 140 * 16);
    });
    ok &= write(dir, QStringLiteral("ViewBottom"), 24, [](QPainter& p, qreal s) {
        p.setPen(QPen(outline, 1));
        p.setBrush(paper);
        p.drawRect(QRectF(1.5, 2.5, s - 3, s - 5));
        p.setBrush(accentBlue);
        p.drawRect(QRectF(1.5, s * 0.6, s - 3, s * 0.4 - 2.5));
    });
    const Drawing list = [](QPainter& p, qreal s) {
        drawSheet(p, s);
        p.setPen(QPen(accentBlue, qMax<qreal>(1, s / 16)));
        for (int line = 0; line < 4; ++line) {
            const qreal y = s * (0.25 + 0.17 * line);
            p.drawLine(QPointF(s * 0.28, y), QPointF(s * 0.72, y));
        }
    };
    ok &= write(dir, QStringLiteral("ParameterCustomList"), 32, list);
    ok &= write(dir, QStringLiteral("ParameterCustomList_16x16"), 16, list);

    ok &= write(dir, QStringLiteral("New"), 24, [](QPainter& p, qreal s) { drawSheet(p, s); drawPlusMinus(p, s, true); });
    ok &= write(dir, QStringLiteral("Open"), 24, [](QPainter& p, qreal s) {
        p.setPen(QPen(outline, 1));
        p.setBrush(QColor(0xe8, 0xc0, 0x5a));
        p.drawRect(QRectF(1.5, s * 0.25, s - 3, s * 0.65));
        p.setBrush(QColor(0xf4, 0xd7, 0x8a));
        QPainterPath flap;
        flap.moveTo(1.5, s * 0.9);
        flap.lineTo(s * 0.2, s * 0.45);
        flap.lineTo(s - 0.5, s * 0.45);
        flap.lineTo(s - 1.5, s * 0.9);
        flap.closeSubpath();
        p.drawPath(flap);
    });
    ok &= write(dir, QStringLiteral("Save"), 24, [](QPainter& p, qreal s) {
        p.setPen(QPen(outline, 1));
        p.setBrush(accentBlue);
        p.drawRoundedRect(QRectF(1.5, 1.5, s - 3, s - 3), 2, 2);
        p.setBrush(paper);
        p.drawRect(QRectF(s * 0.25, 1.5, s * 0.5, s * 0.35));
        p.setBrush(QColor(0xd0, 0xd6, 0xdc));
        p.drawRect(QRectF(s * 0.2, s * 0.6, s * 0.6, s * 0.4 - 1.5));
    });
    ok &= write(dir, QStringLiteral("Online"), 24, [](QPainter& p, qreal s) { drawPlug(p, s, true); });
    ok &= write(dir, QStringLiteral("Offline"), 24, [](QPainter& p, qreal s) { drawPlug(p, s, false); });
    ok &= write(dir, QStringLiteral("AddController"), 24, [](QPainter& p, qreal s) {
        drawController(p, s, offlineGrey);
        drawPlusMinus(p, s, true);
    });
    ok &= write(dir, QStringLiteral("RemoveController"), 24, [](QPainter& p, qreal s) {
        drawController(p, s, offlineGrey);
        drawPlusMinus(p, s, false);
    });
    ok &= write(dir, QStringLiteral("AddAxis"), 24, [](QPainter& p, qreal s) {
        drawAxis(p, s * 0.8, 1, offlineGrey);
        drawPlusMinus(p, s, true);
    });
    ok &= write(dir, QStringLiteral("RemoveAxis"), 24, [](QPainter& p, qreal s) {
        drawAxis(p, s * 0.8, 1, offlineGrey);
        drawPlusMinus(p, s, false);
    });
    ok &= write(dir, QStringLiteral("CompareAxes"), 24, [](QPainter& p, qreal s) {
        p.save();
        drawAxis(p, s * 0.6, 1, accentBlue);
        p.translate(s * 0.4, s * 0.4);
        drawAxis(p, s * 0.6, 2, onlineGreen);
        p.restore();
    });
    return ok ? 0 : 1;
}
