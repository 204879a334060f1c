#pragma once

#include "un_controls.h"
#include "un_main.h"

#include <QApplication>
#include <QDir>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// A shown main window working in a fresh folder, with pauses, message and error boxes that
// only record.
class FormFixture : public ::testing::Test
{
protected:
    using Control = game::Control;

    QTemporaryDir dir;
    QString oldDir = QDir::currentPath();
    QStringList pauses;
    QStringList errors;
    QStringList messages;
    // Called at each pause, to look at the window in the middle of an effect.
    std::function<void()> atPause;
    std::unique_ptr<TForm1> form;

    void SetUp() override
    {
        QDir::setCurrent(dir.path());
        form = std::make_unique<TForm1>(nullptr, [this](std::chrono::milliseconds ms) {
            pauses << QString::number(ms.count());
            if (atPause)
                atPause();
        });
        form->errorBox = [this](const QString& text) { errors << text; };
        form->messageBox
            = [this](const QString& text, const QString&, game::MessageIcon) { messages << text; };
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void TearDown() override
    {
        form.reset();
        QDir::setCurrent(oldDir);
    }

    QWidget* w(Control c) const { return form->control(c); }
    game::GameState& state() { return form->gameLogic().state(); }
    int page() const { return form->notebook()->currentIndex(); }
    QPoint centre(Control c) const { return w(c)->mapTo(form.get(), w(c)->rect().center()); }

    // A click through the window, so Qt's hit testing picks the control.
    void clickAt(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(form->windowHandle(), button, {}, p);
    }
    void click(Control c) { clickAt(centre(c)); }
    void key(int k, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : form.get(),
            static_cast<Qt::Key>(k), mods);
    }
    void keyText(QChar c, Qt::KeyboardModifiers mods = {})
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form.get();
        QKeyEvent press(QEvent::KeyPress, c.toUpper().unicode(), mods, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, c.toUpper().unicode(), mods, QString(c));
        QApplication::sendEvent(target, &release);
    }

    void startGame()
    {
        form->gameLogic().BitBtn1Click();
        ASSERT_EQ(page(), 1);
    }
    int positionOf(int value, int nth = 0)
    {
        for (int p = 1; p <= 20; ++p) {
            if (state().CardValue[p] == value && nth-- == 0)
                return p;
        }
        return 0;
    }
    Control card(int position) const { return game::CardAtPosition(position); }
};
