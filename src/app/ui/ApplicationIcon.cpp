#include "app/ui/ApplicationIcon.h"

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/k52cfg-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}
