#pragma once

#include <QWidget>

// The one main window of the game.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
};
