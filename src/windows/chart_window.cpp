#include "windows/chart_window.h"

#include "windows/chart_binding.h"
#include "chart/model/chart_model.h"
#include "chart/chart_widget.h"
#include "windows/fonts.h"
#include "data/query.h"
#include "windows/chart_filter_text.h"
#include "windows/chart_panel.h"
#include "windows/declared_size.h"
#include "windows/handler_dispatch.h"
#include "windows/window_rules.h"

#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace uriage {

ChartWindow::ChartWindow(const ChartWindowDeclaration& declaration, data::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window),
      kind_(declaration.kind),
      model_(std::make_unique<chart::ChartModel>(chartConfigOf(declaration.kind, declaration.chart))),
      query_(std::make_unique<data::Query>(engine, declaration.queryName,
                                           declaration.kind == ChartWindowKind::PerDay ? data::QueryKind::Daily
                                                                                       : data::QueryKind::Monthly))
{
    setObjectName(QString::fromLatin1(declaration.className).mid(1)); // "Form2"
    setWindowTitle(declaration.caption);
    setFont(makeFont(kGothicFamily, 12));
    resize(clientSizeFromOuter(declaration.outerWidth, declaration.outerHeight));

    const ChartPanel panel = buildChartPanel(this, declaration.panel);
    Panel1 = panel.panel;
    Edit1 = panel.edit1;
    Label1 = panel.label1;
    Edit2 = panel.edit2;
    Label2 = panel.label2;
    Button1 = panel.button1;
    Button2 = panel.button2;

    DBChart1 = new chart::ChartWidget(*model_, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(DBChart1, 1);

    query_->setDatabaseName(data::defaultDatabaseName());
    binding_ = std::make_unique<ChartBinding>(*model_, *query_);

    connectClick(Button1, [this] { Button1Click(); });
    connectClick(Button2, [this] { Button2Click(); });
    // The focus goes to the year box when the window is first activated.
    Edit1->setFocus();
}

ChartWindow::~ChartWindow()
{
    // The query closes before the chart and its widget go.
    query_->close();
    binding_.reset();
    delete DBChart1;
}

chart::Series& ChartWindow::Series1() const { return model_->series(0); }
chart::Series& ChartWindow::Series2() const { return model_->series(1); }
chart::Series& ChartWindow::Series3() const { return model_->series(2); }

void ChartWindow::Button1Click()
{
    const auto filterText = chartFilterText(kind_, Edit1->text(), Edit2 ? Edit2->text() : QString());
    if (!filterText)
        return;
    query_->close();
    query_->setFilterText(*filterText);
    query_->setFiltered(true);
    query_->open();
}

void ChartWindow::Button2Click() { close(); }

void ChartWindow::closeEvent(QCloseEvent* event) { hideOnClose(this, event); }

} // namespace uriage
