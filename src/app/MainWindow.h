#pragma once

#include <QMainWindow>

namespace plenoria {

class ContentView;

// One main window: the collection content in a frame of at least 560 × 480, with the application's
// menus.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int minimumWidth = 560;
    static constexpr int minimumHeight = 480;

    // Takes ownership of the content.
    explicit MainWindow(ContentView* content, QWidget* parent = nullptr);

    ContentView* content() const { return m_content; }

private:
    ContentView* m_content;
};

} // namespace plenoria
