#include "app/BatchMode.h"

#include <QCoreApplication>
#include <QFile>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    return BatchMode::run(QCoreApplication::arguments(), out, err);
}
