// Not a benchmark: a Qt program that does nothing but run a 10 ms timer, the
// baseline window_idle.py holds the window's idle cost against.

#include <QCoreApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [] {});
    tick.start(10);
    return QCoreApplication::exec();
}
