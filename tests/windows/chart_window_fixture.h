#pragma once
// Chart windows on a receipt table of our own: a data directory written with
// SQLite, typing into edit boxes (Japanese included), real button clicks and
// a captured error display instead of the message box.
#include "windows/engine_busy_cursor.h"
#include "chart/model/series.h"
#include "data/engine.h"
#include "data/query.h"
#include "common/regional_settings.h"
#include "windows/chart_window.h"
#include "windows/chart_window_catalog.h"
#include "windows/handler_dispatch.h"

#include <QCoreApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <ostream>
#include <vector>

namespace uriage::testing {

// 施術日, 年, 月, 日, 保険料金合計, 一部負担金, 保険外料金, 合計金額 as SQL literals.
using Receipt = QString;

inline void runSql(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << "SQL failed: " << (error ? error : "?");
        sqlite3_free(error);
    }
}

class ReceiptTable {
public:
    // Receipts of March and April 2005 and of March 2006.
    ReceiptTable()
    {
        EXPECT_TRUE(dir_.isValid());
        write({"'2005-03-01',2005,3,1,1000,300,500,1500", "'2005-03-01',2005,3,1,2000,600,0,2000",
               "'2005-03-02',2005,3,2,1500,450,100,1600", "'2005-04-10',2005,4,10,3000,900,0,3000",
               "'2006-03-05',2006,3,5,700,210,0,700"});
    }

    QString path() const { return dir_.path(); }

    void add(const Receipt& receipt) { write({receipt}); }

private:
    void write(const std::vector<Receipt>& receipts)
    {
        const QString file = dir_.filePath(QStringLiteral("領収証記録.db"));
        const bool exists = QFile::exists(file);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
        if (!exists)
            runSql(db, QStringLiteral("CREATE TABLE 領収証記録 (施術日 DATE, 年 SMALLINT, 月 SMALLINT, 日 SMALLINT,"
                                      " 保険料金合計 INTEGER, 一部負担金 INTEGER, 保険外料金 INTEGER, 合計金額 INTEGER)"));
        for (const Receipt& r : receipts)
            runSql(db, QStringLiteral("INSERT INTO 領収証記録 VALUES (%1)").arg(r));
        sqlite3_close(db);
    }

    QTemporaryDir dir_;
};

struct Point {
    double x;
    double y;
    QString label;
    friend bool operator==(const Point&, const Point&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Point& p)
    {
        return os << "{" << p.x << ", " << p.y << ", \"" << p.label.toStdString() << "\"}";
    }
};

inline std::vector<Point> points(const chart::Series& series)
{
    std::vector<Point> result;
    for (std::size_t i = 0; i < series.count(); ++i)
        result.push_back({series.x(i), series.y(i), series.label(i)});
    return result;
}

inline std::size_t pointCount(ChartWindow& window)
{
    return window.Series1().count() + window.Series2().count() + window.Series3().count();
}

// Replaces the box's text as typing does: the old text is selected and erased
// with Backspace, the new one committed through the input method (which takes
// any characters, Japanese included).
inline void typeInto(QLineEdit* edit, const QString& text)
{
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    if (!text.isEmpty()) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(edit, &event);
    }
    EXPECT_EQ(edit->text(), text);
}

inline void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

// Each test gets a fresh engine, Japanese regional settings and the messages
// that would have gone to the error box.
class ChartWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegionalSettings::inject(RegionalSettings::japanese());
        setErrorDisplay([this](const QString& message) { errors.push_back(message); });
    }
    void TearDown() override
    {
        setErrorDisplay({});
        RegionalSettings::reset();
    }

    // The engine's options as the program's start-up sets them.
    static data::EngineOptions programEngineOptions()
    {
        data::EngineOptions options;
        options.busy = engineBusyCursor();
        return options;
    }

    // A window on the test's engine, or on `other`.
    std::unique_ptr<ChartWindow> makeWindow(const QString& className, data::Engine* other = nullptr)
    {
        auto window = createChartWindow(className, other ? *other : engine);
        EXPECT_NE(window, nullptr) << className.toStdString();
        if (window)
            window->query().setDatabaseName(receipts.path());
        return window;
    }

    // Types the texts (the month only where the window has a month box) and presses the filter button.
    void filter(ChartWindow& window, const QString& year, const QString& month = {})
    {
        typeInto(window.Edit1, year);
        if (window.Edit2)
            typeInto(window.Edit2, month);
        click(window.Button1);
    }

    data::Engine engine{programEngineOptions()};
    ReceiptTable receipts;
    std::vector<QString> errors;
};

} // namespace uriage::testing
