#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <exception>

#include "TDual.h"
#include "errors.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qx284-config"));
    // Lets the desktop match the window to its menu entry and icon (Wayland uses this name).
    QGuiApplication::setDesktopFileName(QStringLiteral("qx284-config"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("qx284-config"),
        QIcon(QStringLiteral(":/qx284-config.png"))));
    try {
        TDual Dual;  // FormCreate shows it
        return QApplication::exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QString::fromLatin1(AppTitle), QString::fromUtf8(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QString::fromLatin1(AppTitle), QStringLiteral("Erro desconhecido"));
    }
    // A failed start is not a success for whoever started the tool.
    return 1;
}
