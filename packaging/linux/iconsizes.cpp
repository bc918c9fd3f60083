// lumiko-icon-sizes: writes the program icon as the PNG files of the desktop
// icon theme, OUT/NxN/apps/lumiko.png for each size N given.
//   usage: lumiko-icon-sizes ICON OUT SIZE...
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fputs("usage: lumiko-icon-sizes ICON OUT SIZE...\n", stderr);
        return 2;
    }
    const QImage icon(QString::fromLocal8Bit(argv[1]));
    if (icon.isNull()) {
        std::fprintf(stderr, "lumiko-icon-sizes: cannot read the icon %s\n", argv[1]);
        return 1;
    }
    const QImage source = icon.convertToFormat(QImage::Format_ARGB32);
    for (int i = 3; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt();
        if (size <= 0) {
            std::fprintf(stderr, "lumiko-icon-sizes: not a size: %s\n", argv[i]);
            return 2;
        }
        const QString folder = QString("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        const QString file = folder + "/lumiko.png";
        const QImage scaled =
            size == source.width() ? source : source.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        if (!QDir().mkpath(folder) || !scaled.save(file, "PNG")) {
            std::fprintf(stderr, "lumiko-icon-sizes: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
