#include "app/MainWindow.h"

#include "collection/window/ContentView.h"

namespace plenoria {

MainWindow::MainWindow(ContentView* content, QWidget* parent)
    : QMainWindow(parent)
    , m_content(content)
{
    setWindowTitle(QStringLiteral("Plenoria"));
    setCentralWidget(m_content);
    setMinimumSize(minimumWidth, minimumHeight);
    resize(1080, 720);
}

} // namespace plenoria
