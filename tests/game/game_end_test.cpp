#include "game_fixture.h"

#include "results/hits_file.h"
#include "results/io_error.h"

#include <QFile>

using game::Control;

class GameEnd : public GameFixture
{
protected:
    void SetUp() override
    {
        game.setNow([] { return QDateTime(QDate(2026, 12, 7), QTime(10, 46, 47)); });
        startGame();
    }

    std::vector<results::HitRecord> stored()
    {
        results::HitsFile file;
        file.OpenAtStartup(dir.filePath(QStringLiteral("hits.dat")));
        std::vector<results::HitRecord> out;
        results::HitRecord buffer;
        file.ReadAll(buffer, [&](const results::HitRecord& r) { out.push_back(r); });
        return out;
    }

    void winAll()
    {
        for (int v = 1; v <= 10; ++v) {
            const auto [a, b] = pairOf(v);
            click(a);
            click(b);
            if (v < 10)
                game.Timer1Timer();
        }
        view.take();
    }
};

TEST_F(GameEnd, WonEndInOrder)
{
    winAll();
    s.ClockMinutes = 4;
    s.ClockSeconds = 31;
    s.ClockHundredths = 7;
    game.Timer1Timer();
    const QStringList calls = view.take();
    const QString date
        = game::Game::DateText(QDateTime(QDate(2026, 12, 7), QTime(10, 46, 47)), QLocale::system());
    // The celebration end, then the won end.
    QStringList expected { "HideControl(GIFAnimator10)", "SetAnimating(GIFAnimator10,off)",
        "SetTimerEnabled(Timer2,on)", "SetTimerEnabled(Timer1,off)",
        "SetTimerEnabled(Timer2,off)" };
    for (int p = 1; p <= 20; ++p)
        expected << QStringLiteral("SetCardPicture(%1,0)")
                        .arg(game::ControlName(game::CardAtPosition(p)));
    expected << "SetCardPicture(Image22,0)"
             << "RepaintNow(Form1)"
             << "RepaintNow(Form1)"
             << "SetLabelText(Label4,10)"
             << "SetLabelText(Label3,0)"
             << "ClearResultRows()"
             << QStringLiteral("AddResultRow(1:28:92,Новый игрок,%1)").arg(date) << "ShowPage(2)";
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(s.PairsFound, 0);
    EXPECT_EQ(s.PairsLeft, 10);

    const auto records = stored();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].name(), "Новый игрок");
    EXPECT_EQ(records[0].time(), "1:28:92");
    EXPECT_EQ(records[0].date(), date);
}

TEST_F(GameEnd, TimedOutEndShowsTheMessageFirstAndMarksTheName)
{
    struct Case
    {
        QString name, stored;
    };
    const Case cases[] = {
        { "Четырнадцать14", "Четырнадцать14 (истекло время)" }, // 14: the whole suffix
        { "Пятнадцать-букв", "Пятнадцать-букв (истекло время" }, // 15: loses the last character
        { QString(30, u'Ж'), QString(30, u'Ж') }, // 30: no suffix at all
    };
    for (const Case& c : cases) {
        view.editText = c.name;
        game.BitBtn1Click();
        s.ClockMinutes = 0;
        s.ClockSeconds = 0;
        s.ClockHundredths = 1;
        view.take();
        game.Timer2Timer();
        const QStringList calls = view.take();
        ASSERT_GE(calls.size(), 6);
        EXPECT_EQ(calls[3], "SetTimerEnabled(Timer2,off)");
        EXPECT_EQ(calls[4], "ShowMessageBox(Истекло время!,Мнемира,1)");
        EXPECT_EQ(calls.back(), "ShowPage(2)");
        EXPECT_EQ(view.rows.back().name, c.stored);
        EXPECT_EQ(view.rows.back().time, "5:59:99");
    }
    const auto records = stored();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].name().size(), 30);
    EXPECT_EQ(records[2].name(), QString(30, u'Ж'));
}

TEST_F(GameEnd, TimeOutWithAnOpenCardClearsTheSelection)
{
    click(3);
    ASSERT_TRUE(s.CardOpen);
    s.ClockMinutes = 0;
    s.ClockSeconds = 0;
    s.ClockHundredths = 1;
    game.Timer2Timer();
    EXPECT_FALSE(s.CardOpen);
    // The first click of the next game turns a first card.
    game.BitBtn1Click();
    click(5);
    EXPECT_TRUE(s.CardOpen);
    EXPECT_EQ(s.FirstCardName, "Image5");
}

TEST_F(GameEnd, TwoGamesAppendTwoRecordsInFileOrder)
{
    view.editText = "Первый";
    game.BitBtn1Click();
    winAll();
    game.Timer1Timer();
    view.editText = "Второй";
    game.BitBtn1Click();
    winAll();
    game.Timer1Timer();
    ASSERT_EQ(view.rows.size(), 2u);
    EXPECT_EQ(view.rows[0].name, "Первый");
    EXPECT_EQ(view.rows[1].name, "Второй");
}

TEST_F(GameEnd, AFailingAppendStopsTheEndBeforeTheDeal)
{
    winAll();
    game.hitsFile().Close(); // appending to a closed file fails
    const auto board = s.CardValue;
    EXPECT_THROW(game.Timer1Timer(), results::EInOutError);
    const QStringList calls = view.take();
    EXPECT_EQ(calls.last(), "SetTimerEnabled(Timer2,off)");
    EXPECT_EQ(s.CardValue, board);
    EXPECT_NE(view.page, 2);
}

TEST(DateText, ShortDateSpaceLongTimeWithoutZoneCutTo20)
{
    const QDateTime when(QDate(2026, 12, 7), QTime(10, 46, 47));
    EXPECT_EQ(game::Game::DateText(when, QLocale(QLocale::Russian, QLocale::Russia)),
        "07.12.2026 10:46:47");
    const QString c = game::Game::DateText(when, QLocale::c());
    EXPECT_FALSE(c.contains("UTC"));
    EXPECT_TRUE(c.endsWith("10:46:47")) << c.toStdString();
    EXPECT_LE(c.size(), 20);
    const QString us = game::Game::DateText(when, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us, "12/7/26 10:46:47 AM");
}

TEST(LeftChars, CutsByCharactersNotHalves)
{
    EXPECT_EQ(game::LeftChars(QString::fromUtf8("ab😀cd"), 3), QString::fromUtf8("ab😀"));
    EXPECT_EQ(game::LeftChars(QString::fromUtf8("ab😀cd"), 2), "ab");
    EXPECT_EQ(game::LeftChars("abc", 30), "abc");
    EXPECT_EQ(game::LeftChars("", 5), "");
}
