// A PNG file's pixels as a binary PPM on standard output: weston-screenshooter writes PNG, which
// Python's standard library cannot read.
//
//     mnemira_png_pixels FILE
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    const QImage image
        = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB888);
    if (image.isNull())
        return 1;
    std::printf("P6\n%d %d\n255\n", image.width(), image.height());
    for (int y = 0; y < image.height(); ++y)
        std::fwrite(image.constScanLine(y), 3, image.width(), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
}
