// Renders the program icon MAINICON (32 x 32 pixels) for the icon theme:
// render-icons SIZE OUT.png writes it at SIZE x SIZE. Whole multiples keep
// its pixels sharp; other sizes are scaled up by a whole factor first and then
// down smoothly, so edges blend instead of doubling every other pixel.
#include <QCoreApplication>
#include <QImage>
#include <QTextStream>

#include "app/mainicon.xpm"

namespace {

QImage iconAt(int size)
{
    const QImage icon = QImage(MAINICON).convertToFormat(QImage::Format_ARGB32);
    const int design = icon.width();
    const int factor = (size + design - 1) / design;
    const QImage sharp = icon.scaled(design * factor, design * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (sharp.width() == size)
        return sharp;
    return sharp.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    bool ok = false;
    const int size = arguments.value(1).toInt(&ok);
    if (arguments.size() != 3 || !ok || size < 16 || size > 1024) {
        QTextStream(stderr) << "usage: render-icons SIZE OUT.png (SIZE from 16 to 1024)\n";
        return 2;
    }
    if (!iconAt(size).save(arguments[2], "PNG")) {
        QTextStream(stderr) << "render-icons: cannot write " << arguments[2] << '\n';
        return 1;
    }
    return 0;
}
