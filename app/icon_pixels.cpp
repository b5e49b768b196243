// Build-time tool: turns the program's icon pictures (PNG files) into a C++ source of their
// pixels, so that the program makes its window icon without an image decoder at start-up.
//
// icon_pixels OUTPUT.cpp PICTURE.png...   (each picture square)

#include <QFile>
#include <QImage>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: icon_pixels OUTPUT.cpp PICTURE.png...\n");
        return 2;
    }
    QString text;
    QTextStream out(&text);
    out << "// Made by icon_pixels from the icon pictures; not edited by hand.\n"
           "#include \"app/program_icon_pixels.h\"\n\n"
           "namespace quorvella {\n\nnamespace {\n\n";
    QStringList entries;
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QImage picture = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (picture.isNull() || picture.width() != picture.height()) {
            std::fprintf(stderr, "icon_pixels: %s is not a square picture\n", argv[i]);
            return 1;
        }
        const int size = picture.width();
        out << "const std::uint32_t kPixels" << size << "[] = {";
        for (int y = 0; y < size; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            for (int x = 0; x < size; ++x) {
                out << ((x % 8) == 0 ? "\n    " : " ") << "0x"
                    << QString::number(row[x], 16).rightJustified(8, u'0') << "u,";
            }
        }
        out << "\n};\n\n";
        entries << QStringLiteral("{%1, kPixels%1}").arg(size);
    }
    out << "} // namespace\n\nconst std::array<IconPixels, " << entries.size()
        << "> kProgramIconPixels = {{" << entries.join(QStringLiteral(", "))
        << "}};\n\n} // namespace quorvella\n";
    out.flush();

    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.toUtf8()) != text.toUtf8().size()) {
        std::fprintf(stderr, "icon_pixels: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
