// Linkora: the connection manager of a 3G data card.
#include <QApplication>
#include <QLabel>

#include "core/strings.h"
#include "platform/paths.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString error;
    if (!paths::InitProgramFolder(app.arguments(), &error)) {
        qCritical("Linkora: %s", qPrintable(error));
        return 1;
    }
    QLabel label(GetString(6));
    label.show();
    return app.exec();
}
