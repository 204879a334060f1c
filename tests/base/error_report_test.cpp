// The one path from a failure to the player: handler or box, the full-stop rule, silent aborts.
#include "base/error_report.h"

#include <QObject>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

struct ErrorTextCase
{
    QString message;
    QString expected;
};

void PrintTo(const ErrorTextCase& c, std::ostream* os)
{
    *os << '"' << c.message.toStdString() << '"';
}

class ErrorBoxTextTest : public ::testing::TestWithParam<ErrorTextCase>
{ };

TEST_P(ErrorBoxTextTest, AppendsAFullStopAfterLettersAndDigits)
{
    EXPECT_EQ(base::ErrorBoxText(GetParam().message), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Messages, ErrorBoxTextTest,
    ::testing::Values(ErrorTextCase { "Disk full", "Disk full." },
        ErrorTextCase { "Error 5", "Error 5." }, ErrorTextCase { "Done.", "Done." },
        ErrorTextCase { QStringLiteral("Истекло время!"), QStringLiteral("Истекло время!") },
        ErrorTextCase { "(1)", "(1)" }, ErrorTextCase { "a-", "a-" }, ErrorTextCase { "", "" },
        ErrorTextCase { "a/", "a/." },
        ErrorTextCase { QStringLiteral("Файл"), QStringLiteral("Файл.") }));

class ErrorReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        base::SetErrorBox([this](const QString& text) { boxes << text; });
    }
    void TearDown() override
    {
        base::SetErrorBox(nullptr);
        base::SetExceptionHandler(nullptr);
    }

    QStringList boxes;
    QObject sender;
};

TEST_F(ErrorReportTest, WithoutAHandlerTheBoxShowsTheMessage)
{
    base::ReportException(&sender, std::runtime_error("Disk full"));
    base::RunReported(&sender, [] { throw 42; });
    EXPECT_EQ(boxes, QStringList({ "Disk full.", "Unknown error." }));
}

TEST_F(ErrorReportTest, TheInstalledHandlerGetsTheSenderAndTheFailureInsteadOfTheBox)
{
    std::vector<std::pair<QObject*, std::string>> seen;
    base::SetExceptionHandler(
        [&](QObject* s, const std::exception& e) { seen.emplace_back(s, e.what()); });
    base::RunReported(&sender, [] { throw std::runtime_error("File access denied"); });
    EXPECT_TRUE(boxes.isEmpty());
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].first, &sender);
    EXPECT_EQ(seen[0].second, "File access denied");
}

TEST_F(ErrorReportTest, AbortsAreDroppedAndAHandlerThatRanFullyReportsNothing)
{
    int handlers = 0;
    base::SetExceptionHandler([&](QObject*, const std::exception&) { ++handlers; });
    base::RunReported(&sender, [] { throw base::EAbort(); });
    base::ReportException(&sender, std::exception_ptr());
    bool ran = false;
    base::RunReported(&sender, [&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_EQ(handlers, 0);
    EXPECT_TRUE(boxes.isEmpty());
}

} // namespace
