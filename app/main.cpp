#include <QApplication>
#include <QMessageBox>

#include <exception>

#include "TDual.h"
#include "errors.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qx284-config"));
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
