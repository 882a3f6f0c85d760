// The far end of the network benchmark, in a process of its own as a player's copy is:
//
//   network_peer quorin <port>   a copy of the program serving on <port>
//   network_peer echo <port>     a bare Qt socket that sends back what it receives
//
// It prints "ready" once it listens and runs until its standard input closes.

#include "app/form1.h"
#include "support/testenvironment.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>

#include <cstdio>
#include <memory>
#include <unistd.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QByteArray mode = argv[1];
    const quint16 port = quint16(QByteArray(argv[2]).toUInt());

    std::unique_ptr<quorin::test::TestEnvironment> env;
    std::unique_ptr<quorin::Form1> copy;
    QTcpServer echo;
    if (mode == "quorin") {
        env = std::make_unique<quorin::test::TestEnvironment>(port);
        copy = std::make_unique<quorin::Form1>(env->environment());
        copy->show();
        copy->mnuServer_Click();
    } else {
        echo.listen(QHostAddress::LocalHost, port);
        QObject::connect(&echo, &QTcpServer::newConnection, [&] {
            QTcpSocket* socket = echo.nextPendingConnection();
            socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            QObject::connect(socket, &QTcpSocket::readyRead, [socket] {
                socket->write(socket->readAll());
                socket->flush();
            });
        });
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char c;
        if (read(STDIN_FILENO, &c, 1) <= 0)
            app.quit();
    });
    std::puts("ready");
    std::fflush(stdout);
    return app.exec();
}
