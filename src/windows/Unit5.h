#pragma once
// 月別売上（３Ｄ）患者数: a per-day chart window (daily aggregate, filtered by year and month).
#include "windows/chart_window.h"

class TForm5 : public uriage::ChartWindow {
    Q_OBJECT
public:
    TForm5(uriage::data::Engine& engine, QWidget* parent = nullptr);

    uriage::data::Query& Query1;
};

extern TForm5* Form5;
