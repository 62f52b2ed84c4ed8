#pragma once

#include <QWidget>

class QPushButton;

namespace plenoria {

// What the window shows while no working folder is set: the title, a line on what to do, and the
// "Choose Folder…" button (Ctrl+O), which asks for the folder.
class FirstRunScreen : public QWidget {
    Q_OBJECT
public:
    explicit FirstRunScreen(QWidget* parent = nullptr);

    QPushButton* chooseButton() const { return m_choose; }

signals:
    void chooseFolderRequested();

private:
    QPushButton* m_choose;
};

} // namespace plenoria
