// SPDX-License-Identifier: GPL-3.0-or-later
// Build-time tool: writes the program icon as the files that Linux desktops
// want. The 16 and 32 pixel images are the icon's pixel data (the same that
// the window and the Windows icon file show); the larger ones and the SVG
// come from its scalable design in platform/qt/icon.cpp.
//
//   tessaro_icongen OUTPUT_DIR
//
// OUTPUT_DIR/hicolor/<n>x<n>/apps/<id>.png   n = 16, 32, 48, 64, 128, 256
// OUTPUT_DIR/hicolor/scalable/apps/<id>.svg
#include "icon.h"
#include "tessaro_version.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QString>
#include <QTextStream>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace
{

using tessaro::qt::renderTessaroIcon;

constexpr int pngSizes[] = {16, 32, 48, 64, 128, 256};

QString applicationId()
{
    return QString::fromUtf8(tessaro::app::applicationId.data(),
                             static_cast<qsizetype>(tessaro::app::applicationId.size()));
}

// Writes all or nothing: a half-written icon never replaces a good one.
void writeFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw std::runtime_error("cannot create the folder of " + path.toStdString());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
}

QByteArray png(int size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!renderTessaroIcon(size).save(&buffer, "PNG"))
        throw std::runtime_error("cannot encode the " + std::to_string(size) + " pixel PNG");
    return bytes;
}

// The SVG states the design grid itself; crisp edges keep the pixel look
// when a desktop scales it.
QByteArray svg()
{
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << tessaro::qt::iconDesignGrid
        << "\" height=\"" << tessaro::qt::iconDesignGrid << "\" viewBox=\"0 0 "
        << tessaro::qt::iconDesignGrid << ' ' << tessaro::qt::iconDesignGrid
        << "\" shape-rendering=\"crispEdges\">\n"
        << "  <title>Tessaro</title>\n";
    for (const auto &shape : tessaro::qt::tessaroIconShapes()) {
        out << "  <rect x=\"" << shape.rect.x() << "\" y=\"" << shape.rect.y() << "\" width=\""
            << shape.rect.width() << "\" height=\"" << shape.rect.height() << "\" fill=\""
            << QColor(shape.colour).name() << "\"/>\n";
    }
    out << "</svg>\n";
    out.flush();
    return text.toUtf8();
}

void writeIcons(const QString &outputDir)
{
    const QString id = applicationId();
    for (int size : pngSizes) {
        writeFile(QStringLiteral("%1/hicolor/%2x%2/apps/%3.png").arg(outputDir).arg(size).arg(id),
                  png(size));
    }
    writeFile(QStringLiteral("%1/hicolor/scalable/apps/%2.svg").arg(outputDir, id), svg());
}

} // namespace

int main(int argc, char *argv[])
{
    // Only images are drawn; no display is needed on the build machine.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: tessaro_icongen OUTPUT_DIR\n");
        return 2;
    }
    try {
        writeIcons(args.at(1));
    } catch (const std::exception &error) {
        std::fprintf(stderr, "tessaro_icongen: %s\n", error.what());
        return 1;
    }
    return 0;
}
