// Linkora: the connection manager of a 3G data card.
//
// Start-up: the single-instance lock, the splash, the long-lived windows in
// their order (the main window's creation step starts the library and posts
// the first device state), then the message loop. The main window appears
// when Timer_Start fires or earlier, when the SIM asks for its PIN or PUK.
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <cstdio>
#include <exception>

#include "app/mainform.h"
#include "app/messagebox.h"
#include "app/startform.h"
#include "app/startup.h"
#include "platform/endsession.h"
#include "platform/instance.h"
#include "platform/paths.h"
#include "platform/power.h"

namespace {
// The plain box of a second start. With LINKORA_ANSWER_BOXES set (tests of
// the running program) the text goes to standard output and is answered OK.
void plainBox(const QString& text, const QString& caption) {
    if (!qEnvironmentVariableIsEmpty("LINKORA_ANSWER_BOXES")) {
        std::printf("%s\n", text.toLocal8Bit().constData());
        std::fflush(stdout);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok);
    box.exec();
}
}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);

    // 1. One instance only: the lock is held until the process ends.
    platform::SingleInstance instance(QString::fromLatin1(startup::kMutexName));
    if (instance.AlreadyExists()) {
        plainBox(QString::fromLatin1(startup::kAlreadyOpen), QString::fromLatin1(startup::kTitle));
        return 0;
    }

    QString error;
    if (!paths::InitProgramFolder(app.arguments(), &error)) {
        std::fprintf(stderr, "Linkora: %s\n", qPrintable(error));
        return 1;
    }

    // The end of the session or SIGTERM: the card goes offline, the library
    // stops and the settings are written, without asking. Installed before
    // the windows exist; the signal is handled once the message loop runs.
    TMainform* main = nullptr;
    platform::OnEndSession([&main] {
        if (main) main->PrepareExit();
        QCoreApplication::exit(0);
    });

    // 2. The splash, painted at once.
    auto* splash = new TStartForm();
    QPointer<TStartForm> splashAlive(splash);
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();

    // 3. The main window is shown by its own timer; the tray keeps the
    // program alive while no window is visible.
    app.setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QString::fromLatin1(startup::kTitle));
    QApplication::setApplicationDisplayName(QString::fromLatin1(startup::kTitle));

    // 4. The windows, in order.
    std::vector<QWidget*> windows = startup::CreateWindows();
    main = static_cast<TMainform*>(windows.front());
    main->OnClosed = [] { QCoreApplication::exit(0); };
    platform::PowerWatcher power(main->Handle());

    // 5. The message loop; 6. an error escaping it is shown and ends the run.
    try {
        app.exec();
    } catch (const std::exception& e) {
        ShowMessageBox(nullptr, QString::fromLocal8Bit(e.what()), 2);
    } catch (...) {
        ShowMessageBox(nullptr, QString(), 2);
    }

    // The main window's destruction step: tray icon, library, "allconfig.ran".
    main = nullptr;
    startup::DestroyWindows(windows);
    delete splashAlive.data();
    return 0;
}
