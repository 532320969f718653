#include "platform/qt/icon_resource.h"

#include <QFile>

namespace pibo::qt {

QIcon LoadIconResource(HINSTANCE hInstance) {
    QIcon icon;
    if (!hInstance || !hInstance->iconFolder)
        return icon;
    const QString folder = QString::fromUtf8(hInstance->iconFolder);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = folder + QString::number(size) + QStringLiteral(".png");
        if (QFile::exists(file))
            icon.addFile(file, QSize(size, size));
    }
    return icon;
}

} // namespace pibo::qt
