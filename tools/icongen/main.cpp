// icongen: draws VELT's icon images with QPainter and writes them as PNGs.
//
//   velt-32.png, velt-48.png, velt-128.png, velt-256.png
//       The application icon: the kanji 文 as blue brush strokes with a
//       black outline on a transparent background. Every size is drawn
//       directly at its own resolution; the small sizes get a relatively
//       thicker outline and pixel-aligned horizontal parts.
//   about-32.png
//       The About box picture: a small window with a purple arch inside and
//       two tilted tiles above it, drawn without anti-aliasing in the
//       16-colour VGA palette.
//
// Usage: icongen OUTPUT_DIR

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Brush strokes

// How the width changes between one key and the next.
enum class Ease {
    Linear,    // straight change
    Smooth,    // S-curve, flat at both keys
    RoundIn,   // quarter circle, steep at the first key: a rounded start
    RoundOut,  // quarter circle, steep at the second key: a rounded end
    Blade,     // flat at the first key, steepening: a wedge-shaped end
};

struct WidthKey {
    double t;  // position along the stroke, 0..1
    double w;  // full width, in design units (the glyph box is 100 units)
    Ease ease = Ease::Smooth;  // easing towards the next key
};

// One brush stroke: a cubic Bézier centre line and a width profile.
struct Stroke {
    QPointF p0, c1, c2, p3;  // design units
    std::vector<WidthKey> keys;
};

double widthAt(const std::vector<WidthKey> &keys, double t)
{
    if (t <= keys.front().t)
        return keys.front().w;
    for (size_t i = 0; i + 1 < keys.size(); ++i) {
        const WidthKey &a = keys[i];
        const WidthKey &b = keys[i + 1];
        if (t > b.t)
            continue;
        const double u = (t - a.t) / (b.t - a.t);
        double e = 0.0;
        switch (a.ease) {
        case Ease::Linear:
            e = u;
            break;
        case Ease::Smooth:
            e = u * u * (3.0 - 2.0 * u);
            break;
        case Ease::RoundIn:
            e = std::sqrt(std::max(0.0, 1.0 - (1.0 - u) * (1.0 - u)));
            break;
        case Ease::RoundOut:
            e = 1.0 - std::sqrt(std::max(0.0, 1.0 - u * u));
            break;
        case Ease::Blade:
            e = u * u;
            break;
        }
        return a.w + (b.w - a.w) * e;
    }
    return keys.back().w;
}

QPointF bezier(const Stroke &s, double t)
{
    const double m = 1.0 - t;
    return m * m * m * s.p0 + 3 * m * m * t * s.c1 + 3 * m * t * t * s.c2 + t * t * t * s.p3;
}

QPointF bezierTangent(const Stroke &s, double t)
{
    const double m = 1.0 - t;
    return 3 * m * m * (s.c1 - s.p0) + 6 * m * t * (s.c2 - s.c1) + 3 * t * t * (s.p3 - s.c2);
}

// Maps design units (0..100) to pixels.
struct Mapping {
    double offsetX = 0, offsetY = 0, scale = 1;
    QPointF operator()(QPointF d) const { return {offsetX + d.x() * scale, offsetY + d.y() * scale}; }
};

// The outline of a stroke as a closed polygon in pixels: the centre line
// pushed out by half the width on each side.
// minWidthPx keeps pointed ends from thinning below that many pixels; the
// ends then get round caps.
QPainterPath strokeOutline(const Stroke &s, const Mapping &map, double widthScale, double minWidthPx)
{
    constexpr int N = 160;
    constexpr int CapSteps = 12;
    std::vector<QPointF> left, right;
    left.reserve(N + 1);
    right.reserve(N + 1);
    QPointF startC, startD, endC, endD;
    double startHalf = 0, endHalf = 0;
    for (int i = 0; i <= N; ++i) {
        const double t = double(i) / N;
        const QPointF c = map(bezier(s, t));
        QPointF d = bezierTangent(s, t);
        const double len = std::hypot(d.x(), d.y());
        d /= (len > 1e-9 ? len : 1.0);
        const QPointF n(-d.y(), d.x());
        const double w = widthAt(s.keys, t) * widthScale * map.scale;
        // Smooth maximum of w and the minimum width.
        const double half = 0.5 * (minWidthPx > 0 ? std::hypot(w, minWidthPx) : w);
        left.push_back(c + n * half);
        right.push_back(c - n * half);
        if (i == 0) {
            startC = c;
            startD = d;
            startHalf = half;
        } else if (i == N) {
            endC = c;
            endD = d;
            endHalf = half;
        }
    }
    QPainterPath path;
    path.moveTo(left.front());
    for (size_t i = 1; i < left.size(); ++i)
        path.lineTo(left[i]);
    const QPointF endN(-endD.y(), endD.x());
    for (int k = 1; k < CapSteps; ++k) {  // round cap at the end: left, ahead, right
        const double a = std::numbers::pi * k / CapSteps;
        path.lineTo(endC + (endN * std::cos(a) + endD * std::sin(a)) * endHalf);
    }
    for (size_t i = right.size(); i-- > 0;)
        path.lineTo(right[i]);
    const QPointF startN(-startD.y(), startD.x());
    for (int k = 1; k < CapSteps; ++k) {  // round cap at the start: right, behind, left
        const double a = std::numbers::pi * k / CapSteps;
        path.lineTo(startC - (startN * std::cos(a) + startD * std::sin(a)) * startHalf);
    }
    path.closeSubpath();
    return path;
}

// Per-size drawing parameters.
struct SizeStyle {
    double margin;      // pixels left free around the glyph box
    double outline;     // outline thickness outside the blue, in pixels
    double widthScale;  // stroke widths are multiplied by this
    double minWidth;    // no part of a stroke is thinner than this, in pixels
    bool snap;          // pixel-align the horizontal parts
};

SizeStyle styleFor(int size)
{
    if (size <= 32)
        return {0.0, 1.0, 1.2, 1.8, true};
    if (size <= 48)
        return {0.5, 1.5, 1.2, 1.2, true};
    if (size <= 128)
        return {2.0, 3.0, 1.05, 0.0, false};
    return {4.0, 5.0, 1.0, 0.0, false};
}

// Moves a centre coordinate so that the outer edges of something with the
// given half extent land on pixel boundaries.
double snapCentre(double centre, double halfExtent)
{
    return std::round(centre - halfExtent) + halfExtent;
}

QImage drawWen(int size)
{
    const SizeStyle st = styleFor(size);

    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);

    Mapping map;
    map.scale = (size - 2 * st.margin - 2 * st.outline) / 100.0;
    map.offsetX = st.margin + st.outline;
    map.offsetY = st.margin + st.outline;

    // 文, in a 100 x 100 design box. Stroke order: dot, horizontal,
    // left-falling, right-falling.
    Stroke dot{{46, 2}, {48, 6}, {52, 11}, {56, 17},
               {{0.0, 0.0, Ease::RoundIn}, {0.2, 4.5, Ease::Linear}, {0.72, 11.5, Ease::RoundOut}, {1.0, 0.0}}};

    double hy = 29.0;             // centre line of the horizontal stroke
    const double hw = 10.5;        // its greatest width
    Stroke horiz{{5, 0}, {35, 0}, {65, 0}, {95, 0},
                 {{0.0, 0.0, Ease::RoundIn}, {0.07, hw * 0.6}, {0.5, hw}, {0.86, hw * 0.85, Ease::Blade}, {1.0, 0.0}}};
    // The two sweeping strokes hang from the horizontal and cross at about
    // about (52, 64), leaving a clear triangle above the crossing.
    Stroke leftFall{{68, 34}, {67, 62}, {46, 86}, {5, 97},
                    {{0.0, 0.0, Ease::RoundIn}, {0.07, 10.0}, {0.25, 11.0}, {0.5, 8.5}, {1.0, 0.0}}};
    Stroke rightFall{{30, 35}, {38, 64}, {60, 88}, {97, 94},
                     {{0.0, 0.0, Ease::RoundIn}, {0.08, 5.0}, {0.5, 9.0}, {0.82, 14.0, Ease::Blade}, {1.0, 0.0}}};

    if (st.snap) {
        // Flat horizontal stroke whose top and bottom edges (outline
        // included) sit on pixel boundaries.
        horiz.keys = {{0.0, 0.0, Ease::RoundIn}, {0.06, hw}, {0.94, hw, Ease::RoundOut}, {1.0, 0.0}};
        const double halfPx = 0.5 * hw * st.widthScale * map.scale + st.outline;
        const double px = snapCentre(map.offsetY + hy * map.scale, halfPx);
        hy = (px - map.offsetY) / map.scale;
    }
    // A slight rise to the right at the large sizes; dead level when snapped.
    const double tilt = st.snap ? 0.0 : 1.0;
    horiz.p0.setY(hy + tilt);
    horiz.c1.setY(hy);
    horiz.c2.setY(hy - 0.5 * tilt);
    horiz.p3.setY(hy);

    QPainterPath glyph;
    glyph.setFillRule(Qt::WindingFill);
    for (const Stroke *s : {&dot, &horiz, &leftFall, &rightFall})
        glyph.addPath(strokeOutline(*s, map, st.widthScale, st.minWidth));

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);

    // The outline: the pen straddles each edge, so half of it lies outside
    // the strokes; the blue fill painted next covers the inner half and
    // any outline where strokes overlap.
    QPen pen(Qt::black, 2.0 * st.outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(glyph);

    const QRectF box = glyph.boundingRect();
    QLinearGradient grad(box.topLeft(), box.bottomRight());
    grad.setColorAt(0.0, QColor(0x2a, 0x6f, 0xdb));
    grad.setColorAt(1.0, QColor(0x0b, 0x3a, 0x9e));
    p.setPen(Qt::NoPen);
    p.fillPath(glyph, grad);
    p.end();

    return img.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------
// About box picture (16-colour VGA palette, no anti-aliasing)

namespace vga {
const QColor black(0x00, 0x00, 0x00), white(0xff, 0xff, 0xff), grey(0x80, 0x80, 0x80),
    silver(0xc0, 0xc0, 0xc0), red(0xff, 0x00, 0x00), maroon(0x80, 0x00, 0x00),
    green(0x00, 0x80, 0x00), olive(0x80, 0x80, 0x00), lime(0x00, 0xff, 0x00),
    yellow(0xff, 0xff, 0x00), blue(0x00, 0x00, 0xff), navy(0x00, 0x00, 0x80),
    purple(0x80, 0x00, 0x80), fuchsia(0xff, 0x00, 0xff), teal(0x00, 0x80, 0x80),
    cyan(0x00, 0xff, 0xff);
const QColor all[] = {black, white, grey, silver, red, maroon, green, olive,
                      lime, yellow, blue, navy, purple, fuchsia, teal, cyan};
}  // namespace vga

// One pixel at a time: p.fillRect of a 1x1 rectangle is exact without
// anti-aliasing.
void plot(QPainter &p, int x, int y, const QColor &c)
{
    p.fillRect(QRect(x, y, 1, 1), c);
}

// A one-pixel line from pixel a to pixel b (Bresenham), both ends included.
void pixelLine(QPainter &p, QPoint a, QPoint b, const QColor &c)
{
    const int dx = std::abs(b.x() - a.x()), sx = a.x() < b.x() ? 1 : -1;
    const int dy = -std::abs(b.y() - a.y()), sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    for (int x = a.x(), y = a.y();;) {
        plot(p, x, y, c);
        if (x == b.x() && y == b.y())
            break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// A square tile of the given side, turned by angle degrees (clockwise)
// about its centre: corners on whole pixels, a one-pixel black border and
// a white glint in the upper left corner.
void drawTile(QPainter &p, QPointF centre, double side, double angle, const QColor &face)
{
    const double h = side / 2.0;
    const double a = angle * std::numbers::pi / 180.0;
    const double ca = std::cos(a), sa = std::sin(a);
    auto corner = [&](double x, double y) {
        return QPoint(int(std::lround(centre.x() + x * ca - y * sa)),
                      int(std::lround(centre.y() + x * sa + y * ca)));
    };
    const QPoint poly[] = {corner(-h, -h), corner(h, -h), corner(h, h), corner(-h, h)};

    // Face: every pixel whose centre lies inside the polygon through the
    // corner pixels' centres. The border drawn next runs through those
    // same centres, so no face colour pokes out past it.
    QPolygonF centres;
    for (const QPoint &c : poly)
        centres << QPointF(c) + QPointF(0.5, 0.5);
    const QRect box = centres.boundingRect().toAlignedRect();
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (centres.containsPoint(QPointF(x + 0.5, y + 0.5), Qt::OddEvenFill))
                plot(p, x, y, face);
    for (int i = 0; i < 4; ++i)
        pixelLine(p, poly[i], poly[(i + 1) % 4], vga::black);

    // Glint: three pixels just inside the upper left corner.
    const QPoint g = corner(-h + 2.0, -h + 2.0);
    plot(p, g.x(), g.y(), vga::white);
    plot(p, g.x() + 1, g.y(), vga::white);
    plot(p, g.x(), g.y() + 1, vga::white);
}

QImage drawAbout()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);

    // Window: x 1..28, y 12..29, with a grey drop shadow one pixel off.
    const QRect win(1, 12, 28, 18);
    p.fillRect(win.translated(2, 2), vga::grey);
    p.fillRect(win, vga::black);
    const QRect title(2, 13, 26, 4);
    p.fillRect(title, vga::cyan);
    p.fillRect(QRect(2, 17, 26, 1), vga::black);  // line under the title bar
    // Close box at the right of the title bar.
    p.fillRect(QRect(23, 14, 3, 2), vga::white);
    const QRect client(2, 18, 26, 11);
    p.fillRect(client, vga::white);

    // A purple arch standing in the client area.
    {
        const double cx = client.left() + client.width() / 2.0;  // between pixels 14 and 15
        const double baseY = client.bottom() + 1.0;                // bottom edge of the client
        const double rOut = 7.0, rIn = 4.0, legTop = baseY - 3.0;
        QPainterPath arch;
        arch.setFillRule(Qt::WindingFill);
        arch.moveTo(cx - rOut, baseY);
        arch.lineTo(cx - rOut, legTop);
        arch.arcTo(QRectF(cx - rOut, legTop - rOut, 2 * rOut, 2 * rOut), 180.0, -180.0);
        arch.lineTo(cx + rOut, baseY);
        arch.lineTo(cx + rIn, baseY);
        arch.lineTo(cx + rIn, legTop);
        arch.arcTo(QRectF(cx - rIn, legTop - rIn, 2 * rIn, 2 * rIn), 0.0, 180.0);
        arch.lineTo(cx - rIn, baseY);
        arch.closeSubpath();
        p.setBrush(vga::purple);
        p.drawPath(arch.intersected([&] {
            QPainterPath c;
            c.addRect(client);
            return c;
        }()));
        p.setBrush(Qt::NoBrush);
    }

    // Two tilted tiles floating above the window, over its top edge.
    drawTile(p, QPointF(8.0, 8.0), 10.0, -15.0, vga::olive);
    drawTile(p, QPointF(22.0, 6.5), 10.0, 12.0, vga::green);
    p.end();

    // Guard: every pixel must be fully transparent or a palette colour.
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = line[x];
            if (qAlpha(c) == 0) {
                line[x] = 0;
                continue;
            }
            bool ok = qAlpha(c) == 255;
            if (ok) {
                ok = false;
                for (const QColor &v : vga::all)
                    ok = ok || v.rgb() == c;
            }
            if (!ok) {
                std::fprintf(stderr, "about-32: pixel %d,%d (#%08x) is outside the palette\n", x, y, c);
                return {};
            }
        }
    }
    return img;
}

bool save(const QImage &img, const QDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    if (img.isNull() || !img.save(path, "PNG")) {
        std::fprintf(stderr, "icongen: could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "icongen: cannot create %s\n", argv[1]);
        return 1;
    }

    bool ok = true;
    for (int size : {32, 48, 128, 256})
        ok = save(drawWen(size), dir, QStringLiteral("velt-%1.png").arg(size)) && ok;
    ok = save(drawAbout(), dir, QStringLiteral("about-32.png")) && ok;
    return ok ? 0 : 1;
}
