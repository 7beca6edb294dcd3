// Renders the application's SVG icon into the PNG sizes of the hicolor icon theme:
//   quillet-render-icon ICON.svg OUTDIR NAME SIZE...
// writes OUTDIR/<SIZE>x<SIZE>/apps/NAME.png for each SIZE.
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "quillet-render-icon: %s\n", qPrintable(message));
    return 1;
}

// A broken or mis-scaled drawing would otherwise still produce PNGs of the right size.
bool hasVisiblePixel(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        return fail("usage: quillet-render-icon ICON.svg OUTDIR NAME SIZE...");
    }
    const QString svgPath = QString::fromLocal8Bit(argv[1]);
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);

    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid()) {
        return fail(svgPath + ": not a valid SVG");
    }
    // Icon themes expect square icons; a stretched drawing is a mistake in the SVG.
    const QRectF viewBox = renderer.viewBoxF();
    if (viewBox.isEmpty() || viewBox.width() != viewBox.height()) {
        return fail(svgPath + ": the viewBox must be square");
    }

    for (int i = 4; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size <= 0 || size > 4096) {
            return fail(QString("bad size: %1").arg(argv[i]));
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        if (!hasVisiblePixel(image)) {
            return fail(QString("%1: nothing drawn at %2 px").arg(svgPath).arg(size));
        }

        const QString dir = QString("%1/%2x%2/apps").arg(outDir).arg(size);
        if (!QDir().mkpath(dir)) {
            return fail("cannot create " + dir);
        }
        // Written whole or not at all, so an interrupted build leaves no truncated PNG behind.
        QSaveFile file(dir + "/" + name + ".png");
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
            return fail("cannot write " + file.fileName());
        }
    }
    return 0;
}
