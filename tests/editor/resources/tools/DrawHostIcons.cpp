// Draws the icons that the list editor takes from its host application's
// resources: the axis column icons (plain, online, online with fault), the
// bottom-area toggle and the list window icons. Run once; the PNG files are
// committed next to HostResources.qrc.
//
//   kx_draw_host_icons <output directory>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdio>

namespace {

// 3 x 5 pixel digits, one row per string, so the numbers stay crisp at 16 px
// and the tool needs no font.
const char* const Digits[10][5] = {
    {"###", "#.#", "#.#", "#.#", "###"}, {".#.", "##.", ".#.", ".#.", "###"},
    {"###", "..#", "###", "#..", "###"}, {"###", "..#", "###", "..#", "###"},
    {"#.#", "#.#", "###", "..#", "..#"}, {"###", "#..", "###", "..#", "###"},
    {"###", "#..", "###", "#.#", "###"}, {"###", "..#", ".#.", ".#.", ".#."},
    {"###", "#.#", "###", "#.#", "###"}, {"###", "#.#", "###", "..#", "###"},
};

void drawNumber(QImage& image, int number, int centreX, int top, const QColor& color)
{
    const QString text = QString::number(number);
    const int width = text.size() * 4 - 1;
    int x = centreX - width / 2;
    for (const QChar c : text) {
        const int digit = c.digitValue();
        for (int row = 0; row < 5; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (Digits[digit][row][col] == '#')
                    image.setPixelColor(x + col, top + row, color);
            }
        }
        x += 4;
    }
}

QImage blank(int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

enum class AxisState { Plain, Online, OnlineFault, OfflineFault };

QImage axisIcon(int number, AxisState state)
{
    QImage image = blank(16);
    QColor body(0x7d, 0x86, 0x92);
    if (state == AxisState::Online)
        body = QColor(0x2f, 0x9e, 0x4c);
    else if (state == AxisState::OnlineFault)
        body = QColor(0xc9, 0x3a, 0x2e);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        // Motor housing with its shaft to the right.
        painter.fillRect(12, 7, 4, 2, QColor(0x55, 0x5a, 0x62));
        painter.setPen(body.darker(140));
        painter.setBrush(body);
        painter.drawRect(0, 2, 12, 11);
        painter.fillRect(1, 3, 11, 1, body.lighter(130));
        if (state == AxisState::OnlineFault || state == AxisState::OfflineFault) {
            // An exclamation mark above the shaft.
            painter.fillRect(13, 0, 2, 4, QColor(0xff, 0xc8, 0x10));
            painter.fillRect(13, 5, 2, 1, QColor(0xff, 0xc8, 0x10));
        }
    }
    drawNumber(image, number, 6, 6, Qt::white);
    return image;
}

QImage viewBottomIcon()
{
    QImage image = blank(24);
    QPainter painter(&image);
    painter.setPen(QColor(0x45, 0x4c, 0x57));
    painter.setBrush(QColor(0xf4, 0xf6, 0xf8));
    painter.drawRect(2, 3, 19, 17);
    painter.fillRect(3, 4, 18, 3, QColor(0x9a, 0xa5, 0xb3));
    // The bottom area that the button shows or hides.
    painter.fillRect(3, 14, 18, 6, QColor(0x3b, 0x7d, 0xd8));
    return image;
}

QImage listIcon(int size)
{
    QImage image = blank(size);
    const qreal s = size / 32.0;
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(s, s);
    painter.setPen(QPen(QColor(0x3d, 0x44, 0x4f), 1.5));
    painter.setBrush(QColor(0xfb, 0xfb, 0xf7));
    painter.drawRoundedRect(QRectF(4.5, 2.5, 23, 27), 2, 2);
    painter.fillRect(QRectF(6, 4, 20, 5), QColor(0x3b, 0x7d, 0xd8));
    const QColor columns[3] = {QColor(0x2f, 0x9e, 0x4c), QColor(0xe0, 0x8a, 0x1e), QColor(0x8e, 0x4f, 0xc2)};
    for (int row = 0; row < 4; ++row) {
        const qreal y = 12 + row * 4.5;
        painter.fillRect(QRectF(7, y, 7, 2.5), QColor(0x5b, 0x63, 0x6e));
        for (int c = 0; c < 3; ++c)
            painter.fillRect(QRectF(16 + c * 3.5, y, 2.5, 2.5), columns[c]);
    }
    return image;
}

bool save(const QImage& image, const QDir& dir, const QString& name)
{
    const QString path = dir.filePath(name);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    for (int number = 1; number <= 16; ++number) {
        const QString base = QStringLiteral("DriveControllerAxis%1").arg(number);
        ok &= save(axisIcon(number, AxisState::Plain), dir, base + QStringLiteral(".png"));
        ok &= save(axisIcon(number, AxisState::Online), dir, base + QStringLiteral("Online.png"));
        ok &= save(axisIcon(number, AxisState::OnlineFault), dir, base + QStringLiteral("OnlineFault.png"));
        ok &= save(axisIcon(number, AxisState::OfflineFault), dir, base + QStringLiteral("OfflineFault.png"));
    }
    ok &= save(viewBottomIcon(), dir, QStringLiteral("ViewBottom.png"));
    ok &= save(listIcon(32), dir, QStringLiteral("ParameterCustomList.png"));
    ok &= save(listIcon(16), dir, QStringLiteral("ParameterCustomList_16x16.png"));
    return ok ? 0 : 1;
}
