#include "cli/cli.h"

#include <QCoreApplication>

#include <exception>
#include <iostream>

int main(int argc, char* argv[])
{
    try {
        const QCoreApplication app(argc, argv);
        QStringList arguments = QCoreApplication::arguments();
        arguments.removeFirst();
        return runCli(arguments, std::cin, std::cout, std::cerr, QLocale::system());
    } catch (const std::exception& e) {
        std::cerr << "sumwright-cli: " << e.what() << '\n';
        return 3;
    }
}
