#pragma once

#include "base/error_report.h"
#include "window/un_controls.h"
#include "window/un_label.h"
#include "window/un_main.h"

#include <QApplication>
#include <QDir>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
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
        base::SetErrorBox([this](const QString& text) { errors << text; });
        form = std::make_unique<TForm1>(nullptr, [this](std::chrono::milliseconds ms) {
            pauses << QString::number(ms.count());
            if (atPause)
                atPause();
        });
        form->messageBox
            = [this](const QString& text, const QString&, game::MessageIcon) { messages << text; };
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        form->finishLoading();
    }

    void TearDown() override
    {
        form.reset();
        base::SetErrorBox(nullptr);
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
    // Keys through the window, as the keyboard delivers them: the window sees them before the
    // control with the focus.
    void key(int k, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(form->windowHandle(), static_cast<Qt::Key>(k), mods);
    }
    void keyText(QChar c, Qt::KeyboardModifiers mods = {})
    {
        const auto code = static_cast<Qt::Key>(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, form->windowHandle(), code, QString(c), mods);
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
