#pragma once
// Behaviour shared by the six chart windows: a filter panel on top, the chart
// below it, one aggregate query to which the chart's series are bound. The
// filter button closes, filters and reopens the query; the back button and
// the close box hide the window and keep everything in it.
#include "windows/chart_window_declaration.h"

#include <QWidget>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace uriage::data {
class Engine;
class Query;
} // namespace uriage::data
namespace uriage::chart {
class ChartModel;
class ChartWidget;
class Series;
} // namespace uriage::chart

namespace uriage {

class ChartBinding;

class ChartWindow : public QWidget {
    Q_OBJECT
public:
    // The window's query runs on `engine`, which outlives the window.
    ChartWindow(const ChartWindowDeclaration& declaration, data::Engine& engine, QWidget* parent);
    ~ChartWindow() override;

    ChartWindowKind kind() const { return kind_; }
    data::Query& query() const { return *query_; }
    chart::ChartModel& chart() const { return *model_; }

    QFrame* Panel1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit2 = nullptr;   // per-day windows only
    QLabel* Label2 = nullptr;     // per-day windows only
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    chart::ChartWidget* DBChart1 = nullptr;

    chart::Series& Series1() const;
    chart::Series& Series2() const;
    chart::Series& Series3() const;

    // The filter button: close, set the filter text, filter, open.
    void Button1Click();
    // The back button: closes (that is, hides) the window.
    void Button2Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ChartWindowKind kind_;
    std::unique_ptr<chart::ChartModel> model_;
    std::unique_ptr<data::Query> query_;
    std::unique_ptr<ChartBinding> binding_;
};

} // namespace uriage
