#include "mainwindow.h"

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Dorvane"));
}

MainWindow::~MainWindow() = default;

void MainWindow::openProtocolFile(const QString &path)
{
    Q_UNUSED(path)
}

void MainWindow::openProtocolSetFile(const QString &path)
{
    Q_UNUSED(path)
}
