// The yardstick for start-up timings: a Qt program that starts and exits, nothing more.
#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return 0;
}
